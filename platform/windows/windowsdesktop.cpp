#include "platform/windows/windowsdesktop.h"

#include <QApplication>
#include <QWidget>

#include <windows.h>

#include <shobjidl.h>

namespace pelmaris::platform {

namespace {

// Only the windows platform plugin gives a widget a window handle of the system.
HWND handleOf(QWidget *window)
{
    if (!window || QGuiApplication::platformName() != QLatin1String("windows"))
        return nullptr;
    return reinterpret_cast<HWND>(window->window()->winId());
}

QWidget *mainWindow()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        if (w->isVisible() && w->windowType() == Qt::Window)
            return w;
    return nullptr;
}

} // namespace

WindowsDesktop::~WindowsDesktop()
{
    if (m_taskbar)
        m_taskbar->Release();
}

void WindowsDesktop::alert(QWidget *window)
{
    const HWND hwnd = handleOf(window);
    if (!hwnd)
        return;
    FLASHWINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = hwnd;
    info.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
    FlashWindowEx(&info);
}

void WindowsDesktop::setTaskbarProgress(int percent, bool visible)
{
    const HWND hwnd = handleOf(mainWindow());
    if (!hwnd)
        return;
    if (!m_taskbarTried) {
        m_taskbarTried = true;
        // The window's thread has COM from the platform plugin.
        if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_ITaskbarList3, reinterpret_cast<void **>(&m_taskbar))) &&
            FAILED(m_taskbar->HrInit())) {
            m_taskbar->Release();
            m_taskbar = nullptr;
        }
    }
    if (!m_taskbar)
        return;
    if (!visible) {
        m_taskbar->SetProgressState(hwnd, TBPF_NOPROGRESS);
        return;
    }
    m_taskbar->SetProgressState(hwnd, TBPF_NORMAL);
    m_taskbar->SetProgressValue(hwnd, ULONGLONG(qBound(0, percent, 100)), 100);
}

} // namespace pelmaris::platform
