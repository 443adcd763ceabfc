#pragma once

class QWidget;

namespace pelmaris::platform {

// Desktop integration of the main window: attention requests and taskbar progress.
class Desktop {
public:
    virtual ~Desktop() = default;
    // Asks for the user's attention when the window is in the background.
    virtual void alert(QWidget *window) = 0;
    // Progress on the taskbar button, 0..100; hidden when visible is false.
    virtual void setTaskbarProgress(int percent, bool visible) = 0;
};

} // namespace pelmaris::platform
