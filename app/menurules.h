#pragma once

#include "app/activity.h"
#include "app/menucommands.h"

namespace pelmaris::app {

// What the list menu's enabling depends on, read once when the menu opens.
struct ListMenuState {
    Work work = Work::Idle;
    int rows = 0;
    int selectedRow = -1; // -1 without a selection
    bool scanListEmpty = true;
    bool siblingFound = false; // the sibling program was found
};

// What the tree menu's enabling depends on.
struct TreeMenuState {
    Work work = Work::Idle;
    int rows = 0;
    bool scanListEmpty = true;
    bool clipboardHasText = false;
};

// Whether `work` alone keeps an entry off, whatever else the menu's state is.
bool refusedWhile(Command command, Work work);
// Whether an entry of the list menu (PopupMenu1) is on in that state.
bool listMenuEnables(Command command, const ListMenuState &state);
// Whether an entry of the tree menu (PopupMenu3) is on in that state.
bool treeMenuEnables(Command command, const TreeMenuState &state);

} // namespace pelmaris::app
