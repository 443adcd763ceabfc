#pragma once

#include <QString>

namespace pelmaris::app {

// The main window's state fields, under the names the program is designed around.
struct FormState {
    QString BrowserName1;     // the program that shows the gallery page
    QString BrowserName2;     // the program chosen for "任意のブラウザ"
    bool CancelFlag1 = false; // cancel request of list building and loading
    bool CancelFlag3 = false; // cancel request of the folder scan
    QString CurrentDir1;      // the current folder, saved at close
    QString DblClickPath1;    // source of the list: the gallery page's title
    bool IsTaskBarShowing = false;
    int ListViewSortCol1 = 0; // 0 none, +k column k-1 ascending, -k descending
    int PrevCount1 = 0;       // rows before an additive scan
    QString CorvindaleExeName1;
    int ScanCount1 = 0;
    int ScrollPos = 0; // the tree's horizontal scroll position, kept in the settings
    QString TargetFileName1;
    QString TempFileName1;
    QString TempHtmlFileName1;
    QString TempIconFileName1;
    QString TempIconFileName4;
    int TotalListUp1 = 0;
};

} // namespace pelmaris::app
