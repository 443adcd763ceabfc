#pragma once

#include "platform/programinfo.h"

#include <QString>

namespace pelmaris::gallery {

// The program's version and the maker's texts, written into every page.
inline const QString &VersionText = program::VersionLabel;
inline const QString &MakerCopyright = program::MakerCopyright;
inline const QString &MakerHomePage = program::MakerHomePage;
inline const QString &MakerDonationPage = program::MakerDonationPage;

} // namespace pelmaris::gallery
