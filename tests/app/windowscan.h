#pragma once

#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "scan/scancontroller.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

namespace pelmaris::testwindow {

// Scans the folder as the user does (chosen in the tree, double-clicked) and waits until
// the scan and the list's building are over. False when the tree cannot show the folder.
inline bool scanFolder(app::TPelmarisForm &form, const QString &folder)
{
    form.navigateTree(folder);
    // The tree gives the path in the system's own form.
    if (form.treeSelectedPath() != QDir::toNativeSeparators(folder))
        return false;
    form.Scan->ShellTreeView1DblClick();
    return QTest::qWaitFor([&] { return !form.Scanner->isBusy() && form.btnCancel1->isHidden(); },
                           20000);
}

} // namespace pelmaris::testwindow
