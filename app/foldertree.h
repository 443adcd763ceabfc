#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QTreeView;
class QWidget;

namespace pelmaris::platform {
class FileSystem;
}
namespace pelmaris::scan {
class FolderTreeModel;
}

namespace pelmaris::app {

// The folder tree `ShellTreeView1`: folders only, from the file system's roots (the desktop
// on Windows), read-only, hidden folders shown or not. Made at start-up inside the tree
// panel. Folders are listed off the window's thread and files cost the tree nothing, so a
// folder of many pictures never holds up the window.
class FolderTree : public QObject {
    Q_OBJECT

public:
    explicit FolderTree(platform::FileSystem &fileSystem, QObject *parent = nullptr);

    // Builds the tree into the panel, above what the panel already holds.
    QTreeView *create(QWidget *panel, QMenu *popup, bool showHidden);
    QTreeView *view() const { return m_view; }

    // The selected folder, without a trailing delimiter; empty without a tree, and for a
    // folder of the shell that has no path (the computer).
    QString selectedPath() const;
    // Opens the tree at a folder and scrolls it into view; at the top, with room for its
    // sub-folders below it, when asked. False when the tree does not show that folder.
    bool navigate(const QString &folder, bool atTop = false);
    // Scrolls the selected folder into view.
    void showSelected();
    void setShowHidden(bool show);
    int scrollPosition() const;
    void setScrollPosition(int position);

Q_SIGNALS:
    void clicked();
    void doubleClicked();

private:
    void keepSelectionInView(const QString &loadedFolder);

    platform::FileSystem &m_fileSystem;
    scan::FolderTreeModel *m_model = nullptr;
    QTreeView *m_view = nullptr;
    bool m_atTop = false;
};

} // namespace pelmaris::app
