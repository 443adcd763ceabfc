#pragma once

#include "shell/fileactions.h"

#include <QObject>

class QModelIndex;

namespace pelmaris::app {

class Activity;
class FolderTree;
class ListPage;
class MenuCommands;

// The list menu's commands that hand the selected row's file to another program or to
// the desktop (and delete it to the trash), the list's double-click, and the folder
// tree menu's two folder commands. Every handler is a call into shell::FileActions and
// tells what it gives back; the SendTo chooser and the trash's question are asked here
// between its steps.
class FileActionCommands : public QObject {
    Q_OBJECT

public:
    // `siblingExe` is where the list menu's last opening found the sibling program.
    FileActionCommands(const platform::Services &services, QWidget *window, MenuCommands &menus,
                       ListPage &list, const Activity &activity, FolderTree &tree,
                       const QString &siblingExe, QObject *parent = nullptr);
    ~FileActionCommands() override;

    void pm1OpenClick();
    void pm1PaintClick();
    void pm1NotepadClick();
    void pm1OpenByClick();
    void pm1SendToCorvindaleClick();
    void pm1SendToClick();
    void pm1PropertiesClick();
    void pm1OpenFolderClick();
    void pm1DeleteFileClick();
    void pm3OpenFolderClick();
    void pm3PasteFolderPathClick();
    // A double-click on a row opens it as "既定のアプリケーションで開く" does.
    void ListView1DblClick(const QModelIndex &index);
    // A right click selects the row under the pointer before the list menu opens, so the
    // row commands are there for the row the menu was opened on.
    void ListView1ContextPopup(const QModelIndex &index);

private:
    // The selected row's file, or empty without a selected row.
    QString selectedPath() const;
    // Shows a failure; true on success.
    bool tell(const platform::Outcome &outcome) const;
    // Takes the row of a file that went to the trash out of the list (the scan's list of
    // files keeps it).
    void removeRowOf(const QString &path, int row);

    platform::Services m_services;
    QWidget *m_window;
    ListPage &m_list;
    const Activity &m_activity;
    FolderTree &m_tree;
    const QString &m_siblingExe;
    shell::FileActions m_fileActions;
};

} // namespace pelmaris::app
