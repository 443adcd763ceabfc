#pragma once

#include "platform/services.h"

#include <QObject>

class QWidget;

namespace pelmaris::scan {
class ScanController;
}

namespace pelmaris::app {

class FolderTree;
class MenuCommands;

// What the folder tree's menu hands out: the scan list and the tree's folder as text,
// and the folder given to an entry of the SendTo folder. (The save of the scan list is
// the list files' own; the order entries are check marks the next scan reads.)
class FolderListCommands : public QObject {
    Q_OBJECT

public:
    FolderListCommands(const platform::Services &services, QWidget *window, MenuCommands &menus,
                       const FolderTree &tree, const scan::ScanController &scanner,
                       QObject *parent = nullptr);

    void pm3CopyFileListClick();
    void pm3CopyPathClick();
    void pm3SendToClick();

private:
    platform::Services m_services;
    QWidget *m_window;
    const FolderTree &m_tree;
    const scan::ScanController &m_scanner;
};

} // namespace pelmaris::app
