#pragma once

#include "platform/specialfolders.h"

namespace pelmaris::platform {

// The freedesktop locations that stand in for the shell's special folders.
class LinuxSpecialFolders final : public SpecialFolders {
public:
    QString path(SpecialFolder id) const override;
    QString pathToCreateIn(SpecialFolder id) const override;
};

} // namespace pelmaris::platform
