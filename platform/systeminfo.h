#pragma once

#include <QRect>
#include <QString>

namespace pelmaris::platform {

// Facts about the running process and the machine it runs on.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // Percentage of physical memory in use, 0..100.
    virtual int memoryLoad() const = 0;
    // The primary screen's work area (without panels and docks).
    virtual QRect workArea() const = 0;
    // Full path of the running executable.
    virtual QString executablePath() const = 0;
    // The folder for temporary files.
    virtual QString tempPath() const = 0;
};

} // namespace pelmaris::platform
