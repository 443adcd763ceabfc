#pragma once

#include "platform/specialfolders.h"

namespace pelmaris::platform {

// The shell's known folders of the current user.
class WindowsSpecialFolders final : public SpecialFolders {
public:
    QString path(SpecialFolder id) const override;
};

} // namespace pelmaris::platform
