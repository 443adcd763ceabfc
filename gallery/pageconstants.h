#pragma once

#include <QString>

namespace pelmaris::gallery {

// The program's version and the maker's texts, written into every page.
inline const QString VersionText = QStringLiteral("V1.6");
inline const QString MakerCopyright = QStringLiteral("Copyright (C) 2025 Wendelmoor");
inline const QString MakerHomePage = QStringLiteral("https://www.wendelmoor.example/");
inline const QString MakerDonationPage =
    QStringLiteral("https://www.wendelmoor.example/donation.html");

} // namespace pelmaris::gallery
