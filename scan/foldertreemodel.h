#pragma once

#include <QAbstractItemModel>
#include <QCollator>
#include <QIcon>
#include <QLocale>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <vector>

namespace pelmaris::platform {
class FileSystem;
struct FolderRoot;
} // namespace pelmaris::platform

namespace pelmaris::scan {

// The folder tree of the file system, folders only, one column. Its top level is the
// file system's roots ("/" on Linux; on Windows the desktop, which holds the computer
// with the drives before its own sub-folders); paths are the system's own. A folder of
// the shell that has no path (the computer) gives an empty path and is never listed.
//
// A folder's sub-folders are listed when a view expands it (fetchMore), on a thread of
// the model's own, through the file-system service; files cost nothing but being passed
// over by the listing, and every node shows one fixed folder icon. Sub-folders are
// ordered as names are elsewhere in the tree (numbers by value, case ignored). Links
// to folders appear as folders. Nothing is watched: a folder is listed once.
//
// For the window: index(path) gives the node of any existing folder at once, making
// the nodes on the way when their folders are not listed yet; the siblings follow when
// a view expands the ancestors (QTreeView::scrollTo does), and folderLoaded() says when
// each listing has arrived, so a view can scroll to its current node again.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Roles { FilePathRole = Qt::UserRole + 1 };

    explicit FolderTreeModel(platform::FileSystem &fileSystem, QObject *parent = nullptr);
    ~FolderTreeModel() override;

    // The node of the folder at `path` (absolute; cleaned first), or an invalid index
    // when no folder is there, or when the path passes through a hidden folder while
    // hidden folders are not shown.
    QModelIndex index(const QString &path, int column = 0);
    // The folder's full path, without a trailing delimiter except for a root ("/", "C:\");
    // empty for a folder of the shell that has none.
    QString filePath(const QModelIndex &index) const;

    void setShowHidden(bool show);
    bool showHidden() const { return m_showHidden; }
    // Replaces the folder icon (by default the icon theme's "folder").
    void setFolderIcon(const QIcon &icon);
    // Whether the folder's sub-folders have been listed.
    bool isLoaded(const QModelIndex &index) const;

    using QObject::parent;
    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

Q_SIGNALS:
    // The sub-folders of `path` have been listed (none when it could not be read).
    void folderLoaded(const QString &path);

private:
    struct Node;
    using Nodes = std::vector<std::unique_ptr<Node>>;

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    QString pathOf(const Node *node) const;
    bool shows(const Node *node) const;
    static bool before(const Node *a, const Node *b);
    void startListing(Node *node);
    void applyListing(Node *node, Nodes children);
    void updateShown(Node *node, bool reachable);
    void applyFilter(Node *node, bool reachable);
    bool inView(const Node *node) const;
    Node *addChild(Node *node, const QString &name, bool hidden);
    Node *addRoot(Node *parent, const platform::FolderRoot &given);

    platform::FileSystem &m_fileSystem;
    QLocale m_locale;
    QCollator m_collator;         // for nodes made on this thread; listings make their own
    std::unique_ptr<Node> m_root; // invisible; its children are the roots
    std::vector<Node *> m_paths;  // the roots that have a path, wherever they are
    bool m_showHidden = false;
    mutable QIcon m_folderIcon;
    std::shared_ptr<std::atomic<bool>> m_stopping;
    QThreadPool m_pool; // last: it waits for running listings before the rest goes
};

} // namespace pelmaris::scan
