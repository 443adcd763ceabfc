#pragma once

#include "platform/desktop.h"

struct ITaskbarList3;

namespace pelmaris::platform {

// The taskbar button's flashing and progress of the program's main window.
class WindowsDesktop final : public Desktop {
public:
    WindowsDesktop() = default;
    ~WindowsDesktop() override;
    WindowsDesktop(const WindowsDesktop &) = delete;
    WindowsDesktop &operator=(const WindowsDesktop &) = delete;

    void alert(QWidget *window) override;
    void setTaskbarProgress(int percent, bool visible) override;

private:
    ITaskbarList3 *m_taskbar = nullptr;
    bool m_taskbarTried = false;
};

} // namespace pelmaris::platform
