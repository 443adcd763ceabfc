#pragma once

#include <QString>
#include <QtGlobal>

namespace pelmaris::app {

// What the folder page shows of the work that fills or writes the list: a scan, a list
// build, a load or a save. The scan and list-file commands tell it what happened; it
// decides which controls that concerns.
class ScanView {
public:
    virtual ~ScanView() = default;

    // A scan walks the folders: the list takes no input, both page buttons wait and
    // "一括表示" loses its count.
    virtual void showScanRunning() = 0;
    // The walk ended with `found` files: "一括表示(n)" and the layout row are on, and the
    // page buttons show the browser.
    virtual void showScanDone(qint64 found) = 0;
    // A list build ended with `rows` rows: the list's controls, its counts and both page
    // buttons are on.
    virtual void showBuildDone(int rows) = 0;
    // A list load ended with `rows` rows: "選択表示", the counts and the list's controls.
    virtual void showLoadDone(int rows) = 0;
    // Whether the list takes input: not while its rows are built, loaded or saved.
    virtual void setListEnabled(bool enabled) = 0;
    // Switches the list's controls on or off; on, an empty list keeps them off.
    virtual void EnableListControls(bool enable) = 0;
    // Adds what the scan could not list to the status line, all of it in its tooltip;
    // empty, the tooltip goes.
    virtual void showLeftOut(const QString &leftOut) = 0;
    // The folder a tree click chose, in the status line, elided at its start to fit.
    virtual void showFolder(const QString &path) = 0;
    // Taskbar progress while the window shows it; a maximum of 0 hides it.
    virtual void setTaskbarProgress(qint64 value, qint64 maximum) = 0;
    // The window's Close command, off while work that must end first runs.
    virtual void SetCloseEnabled(bool enabled) = 0;
    // Work that ended while the user looked elsewhere makes the taskbar button flash.
    virtual void flashWhenInBackground() = 0;
};

} // namespace pelmaris::app
