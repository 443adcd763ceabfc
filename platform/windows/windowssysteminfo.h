#pragma once

#include "platform/systeminfo.h"

namespace pelmaris::platform {

class WindowsSystemInfo final : public SystemInfo {
public:
    int memoryLoad() const override;
    QRect workArea() const override;
    QString executablePath() const override;
    QString tempPath() const override;
};

} // namespace pelmaris::platform
