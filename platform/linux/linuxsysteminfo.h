#pragma once

#include "platform/systeminfo.h"

namespace pelmaris::platform {

class LinuxSystemInfo final : public SystemInfo {
public:
    int memoryLoad() const override;
    QRect workArea() const override;
    QString executablePath() const override;
    QString tempPath() const override;

    // (MemTotal - MemAvailable) / MemTotal of a /proc/meminfo text, in percent.
    static int memoryLoadFromMeminfo(const QByteArray &meminfo);
};

} // namespace pelmaris::platform
