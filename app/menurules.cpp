#include "app/menurules.h"

namespace pelmaris::app {

namespace {

bool isMove(Command c)
{
    return c == Command::pm1ToTop || c == Command::pm1MoveUp || c == Command::pm1MoveDown ||
           c == Command::pm1ToBottom;
}

bool isScanOrOrder(Command c)
{
    switch (c) {
    case Command::Pm3StartDetect:
    case Command::pm3AddDetect:
    case Command::pm3NumSortA:
    case Command::pm3NumSortD:
    case Command::pm3DicSortA:
    case Command::pm3DicSortD:
    case Command::pm3RandomOut:
        return true;
    default:
        return false;
    }
}

bool replacesOrWritesList(Command c)
{
    return c == Command::pm1RebuildListview || c == Command::pm1RebuildListviewFileNameOnly ||
           c == Command::pm1OpenList || c == Command::pm1PasteList || c == Command::pm1SaveListAs;
}

} // namespace

bool refusedWhile(Command c, Work work)
{
    switch (menuOf(c)) {
    case Menu::List:
        // While rows come in or the list is written, it is not to be changed or acted on.
        if (Activity::fillsList(work) || work == Work::SavingList)
            return true;
        // A scan adds to the list: what would replace or write it waits for the scan's end.
        return work == Work::Scanning && replacesOrWritesList(c);
    case Menu::Tree:
        if (work == Work::Scanning)
            return true;
        // The save writes the list and switches its view: neither may happen while the
        // rows are still coming, nor while another save runs.
        if (c == Command::pm3SaveFileList)
            return !Activity::isIdle(work);
        return Activity::fillsList(work) && isScanOrOrder(c);
    case Menu::Browser:
        break;
    }
    return false;
}

bool listMenuEnables(Command c, const ListMenuState &s)
{
    if (refusedWhile(c, s.work))
        return false;
    if (c == Command::pm1OpenList || c == Command::pm1PasteList)
        return true;
    if (s.rows == 0) {
        // An empty list can still be rebuilt from, or saved as, the last scan.
        return !s.scanListEmpty &&
               (c == Command::pm1RebuildListview || c == Command::pm1RebuildListviewFileNameOnly ||
                c == Command::pm1SaveListAs);
    }
    if (s.selectedRow < 0)
        return groupOf(c) == 1 && !isMove(c);
    const bool first = s.selectedRow == 0;
    const bool last = s.selectedRow == s.rows - 1;
    switch (c) {
    case Command::pm1ToTop:
    case Command::pm1MoveUp:
        return !first;
    case Command::pm1ToBottom:
    case Command::pm1MoveDown:
        return !last;
    case Command::pm1SendToCorvindale:
        return s.siblingFound;
    default:
        return true;
    }
}

bool treeMenuEnables(Command c, const TreeMenuState &s)
{
    if (refusedWhile(c, s.work))
        return false;
    switch (c) {
    case Command::pm3AddDetect:
        return s.rows > 0;
    case Command::pm3CopyFileList:
    case Command::pm3SaveFileList:
        return !s.scanListEmpty;
    case Command::pm3PasteFolderPath:
        return s.clipboardHasText;
    default:
        return true;
    }
}

} // namespace pelmaris::app
