#pragma once

#include "app/formcontrols.h"
#include "app/formstate.h"
#include "platform/services.h"
#include "scan/pathorder.h"

class QMainWindow;

namespace pelmaris::scan {
class ImageListModel;
class ScanController;
} // namespace pelmaris::scan

namespace pelmaris::app {

class Activity;
class CountCaptions;
class CurrentOptions;
class FolderTree;
class ListViewState;
class MenuCommands;
class PageButtons;
class WindowRoutines;

// What every command of the main window works with: the platform services, the
// controls, the state fields, the list and its scan, and the shared window routines.
// The window owns all of it and hands this to each of its controllers.
struct FormContext {
    platform::Services services;
    QMainWindow *window;
    FormControls &ui;
    FormState &state;
    Activity &activity;      // what the program is doing
    CurrentOptions &options; // the options in force
    ListViewState &list;     // the list's views and its two check boxes
    MenuCommands &menus;
    scan::ImageListModel &model;
    scan::ScanController &scanner;
    scan::RandomEngine &random;
    FolderTree &tree;
    CountCaptions &captions;
    PageButtons &pageButtons;
    WindowRoutines &routines;
    const bool &shown; // the window has been shown: start-up is over
};

} // namespace pelmaris::app
