#include "scan/foldertreemodel.h"

#include "platform/filesystem.h"
#include "platform/pathtext.h"
#include "scan/pathorder.h"

#include <QCollatorSortKey>
#include <QDir>

#include <algorithm>
#include <climits>
#include <optional>

namespace pelmaris::scan {

struct FolderTreeModel::Node {
    Node *parent = nullptr;
    QString name;  // a root's is its path, with its delimiter; empty for a shell folder
    QString label; // what a root shows instead of its path
    std::optional<QCollatorSortKey> key;
    bool hidden = false;
    bool isRoot = false;    // its name is a full path, or it has no path at all
    int rootRank = INT_MAX; // a root's place among the roots its parent holds
    enum class State : quint8 { Unlisted, Listing, Listed } state = State::Unlisted;
    int row = -1; // place among the parent's shown children; -1 while not shown
    Nodes all;    // every known sub-folder, in order
    std::vector<Node *> shown;
};

FolderTreeModel::FolderTreeModel(platform::FileSystem &fileSystem, QObject *parent)
    : QAbstractItemModel(parent), m_fileSystem(fileSystem), m_collator(pathCollator(true)),
      m_root(std::make_unique<Node>()), m_stopping(std::make_shared<std::atomic<bool>>(false))
{
    // Two listings at once: one slow folder (a network mount) does not hold up the rest.
    m_pool.setMaxThreadCount(2);
    m_root->state = Node::State::Listed;
    for (const platform::FolderRoot &root : m_fileSystem.roots())
        addRoot(m_root.get(), root);
}

static bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, pathtext::nameCase()) == 0;
}

// Roots stay in the system's order (drive letters), the ones reached later after them,
// and come before the sub-folders of the folder that holds them. A root without a path
// holds only the roots given with it: it is never listed.
FolderTreeModel::Node *FolderTreeModel::addRoot(Node *parent, const platform::FolderRoot &given)
{
    auto made = std::make_unique<Node>();
    made->parent = parent;
    made->isRoot = true;
    if (!given.path.isEmpty())
        made->name = pathtext::withDelimiter(given.path);
    made->label = given.label;
    // Roots are ordered by rank alone; one without a path has no name to sort by.
    if (given.path.isEmpty())
        made->state = Node::State::Listed;
    else
        made->key = m_collator.sortKey(made->name);
    Node *root = made.get();
    for (const platform::FolderRoot &child : given.children)
        addRoot(root, child); // not shown yet: no view hears of them before their parent
    const auto at = std::find_if(parent->all.begin(), parent->all.end(),
                                 [](const std::unique_ptr<Node> &n) { return !n->isRoot; });
    root->rootRank = int(at - parent->all.begin());
    parent->all.insert(at, std::move(made));
    if (!given.path.isEmpty())
        m_paths.push_back(root);
    updateShown(parent, inView(parent));
    return root;
}

bool FolderTreeModel::inView(const Node *node) const
{
    for (; node != m_root.get(); node = node->parent) {
        if (node->row < 0)
            return false;
    }
    return true;
}

FolderTreeModel::~FolderTreeModel()
{
    m_stopping->store(true);
    m_pool.clear();
    m_pool.waitForDone();
}

bool FolderTreeModel::before(const Node *a, const Node *b)
{
    if (a->rootRank != b->rootRank)
        return a->rootRank < b->rootRank;
    const int c = a->key->compare(*b->key);
    return c != 0 ? c < 0 : a->name < b->name;
}

bool FolderTreeModel::shows(const Node *node) const
{
    return m_showHidden || !node->hidden;
}

FolderTreeModel::Node *FolderTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : m_root.get();
}

QModelIndex FolderTreeModel::indexOf(Node *node) const
{
    return node == m_root.get() ? QModelIndex() : createIndex(node->row, 0, node);
}

QString FolderTreeModel::pathOf(const Node *node) const
{
    if (node == m_root.get())
        return QString();
    QStringList names;
    for (; !node->isRoot; node = node->parent)
        names.prepend(node->name);
    if (names.isEmpty())
        return pathtext::withoutDelimiter(node->name); // a drive keeps its own: "C:\"
    return node->name + names.join(pathtext::delimiter());
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0 || parent.column() > 0)
        return QModelIndex();
    const Node *node = nodeOf(parent);
    if (size_t(row) >= node->shown.size())
        return QModelIndex();
    return createIndex(row, 0, node->shown[size_t(row)]);
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return QModelIndex();
    return indexOf(nodeOf(child)->parent);
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(nodeOf(parent)->shown.size());
}

int FolderTreeModel::columnCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : 1;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole: {
        const Node *node = nodeOf(index);
        return node->label.isEmpty() ? node->name : node->label;
    }
    case Qt::DecorationRole:
        if (m_folderIcon.isNull())
            m_folderIcon = QIcon::fromTheme(QStringLiteral("folder"));
        return m_folderIcon;
    case FilePathRole:
        return filePath(index);
    default:
        return QVariant();
    }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return false;
    const Node *node = nodeOf(parent);
    // Until it is listed, a folder may hold sub-folders: the view offers to expand it.
    return node->state != Node::State::Listed || !node->shown.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const
{
    return parent.isValid() && nodeOf(parent)->state == Node::State::Unlisted;
}

void FolderTreeModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        startListing(nodeOf(parent));
}

bool FolderTreeModel::isLoaded(const QModelIndex &index) const
{
    return index.isValid() && nodeOf(index)->state == Node::State::Listed;
}

QString FolderTreeModel::filePath(const QModelIndex &index) const
{
    return index.isValid() ? pathOf(nodeOf(index)) : QString();
}

void FolderTreeModel::setFolderIcon(const QIcon &icon)
{
    m_folderIcon = icon;
    if (!m_root->shown.empty())
        Q_EMIT dataChanged(indexOf(m_root->shown.front()), indexOf(m_root->shown.back()),
                           {Qt::DecorationRole});
}

void FolderTreeModel::startListing(Node *node)
{
    node->state = Node::State::Listing;
    const QString path = pathOf(node);
    // The task reaches back only through a queued call, which Qt drops once the model
    // is gone; the model waits for running tasks when it goes.
    m_pool.start([this, node, path, stopping = m_stopping, fs = &m_fileSystem, locale = m_locale] {
        auto children = std::make_shared<Nodes>();
        const platform::FolderHandle folder = fs->openFolder(path);
        if (folder != platform::kNoFolder) {
            platform::FolderListing listing;
            fs->readFolder(folder, listing, true);
            fs->closeFolder(folder);
            const QCollator collator = pathCollator(true, locale);
            for (const platform::FolderEntry &e : listing.entries) {
                // A name with no faithful text form could not be opened by its path.
                if (!e.faithful || e.kind == platform::EntryKind::File)
                    continue;
                auto child = std::make_unique<Node>();
                child->name = listing.name(e).toString();
                child->key = collator.sortKey(child->name);
                child->hidden = e.hidden;
                children->push_back(std::move(child));
            }
            std::sort(children->begin(), children->end(),
                      [](const auto &a, const auto &b) { return before(a.get(), b.get()); });
        }
        if (stopping->load())
            return;
        QMetaObject::invokeMethod(
            this, [this, node, children] { applyListing(node, std::move(*children)); },
            Qt::QueuedConnection);
    });
}

void FolderTreeModel::applyListing(Node *node, Nodes children)
{
    // Nodes made by index(path) before the listing came stay as they are; the listing
    // adds their siblings around them. Where the system ignores case, such a node takes
    // the spelling the system gives ("users" typed becomes "Users"). The roots the folder
    // holds stay first, and no listed name matches theirs (a path, or none).
    Nodes merged;
    merged.reserve(node->all.size() + children.size());
    std::vector<Node *> respelled;
    auto known = node->all.begin();
    for (auto &child : children) {
        while (known != node->all.end() && before(known->get(), child.get()) &&
               !sameName((*known)->name, child->name))
            merged.push_back(std::move(*known++));
        if (known != node->all.end() && sameName((*known)->name, child->name)) {
            if ((*known)->name != child->name) {
                (*known)->name = child->name;
                (*known)->key = std::move(child->key);
                respelled.push_back(known->get());
            }
            continue;
        }
        child->parent = node;
        merged.push_back(std::move(child));
    }
    std::move(known, node->all.end(), std::back_inserter(merged));
    node->all = std::move(merged);
    node->state = Node::State::Listed;
    // The folder may have been hidden from view while it was being listed.
    const bool shown = inView(node);
    updateShown(node, shown);
    for (Node *child : respelled) {
        if (shown && child->row >= 0) {
            const QModelIndex at = indexOf(child);
            Q_EMIT dataChanged(at, at, {Qt::DisplayRole, FilePathRole});
        }
    }
    Q_EMIT folderLoaded(pathOf(node));
}

// Brings the shown children of `node` in line with the filter, telling views when the
// node can be reached from the root.
void FolderTreeModel::updateShown(Node *node, bool reachable)
{
    const QModelIndex parentIndex = reachable ? indexOf(node) : QModelIndex();
    const auto renumber = [node](size_t from) {
        for (size_t i = from; i < node->shown.size(); ++i)
            node->shown[i]->row = int(i);
    };
    // Runs of children to hide, last first, so earlier rows keep their numbers.
    for (size_t end = node->shown.size(); end > 0;) {
        if (shows(node->shown[end - 1])) {
            --end;
            continue;
        }
        size_t begin = end - 1;
        while (begin > 0 && !shows(node->shown[begin - 1]))
            --begin;
        if (reachable)
            beginRemoveRows(parentIndex, int(begin), int(end - 1));
        for (size_t i = begin; i < end; ++i)
            node->shown[i]->row = -1;
        node->shown.erase(node->shown.begin() + qsizetype(begin),
                          node->shown.begin() + qsizetype(end));
        renumber(begin);
        if (reachable)
            endRemoveRows();
        end = begin;
    }
    // Runs of children to show, at their places between the ones shown already.
    size_t pos = 0;
    for (size_t i = 0; i < node->all.size();) {
        Node *child = node->all[i].get();
        if (child->row >= 0) {
            ++pos;
            ++i;
            continue;
        }
        if (!shows(child)) {
            ++i;
            continue;
        }
        std::vector<Node *> run;
        for (; i < node->all.size() && node->all[i]->row < 0; ++i) {
            if (shows(node->all[i].get()))
                run.push_back(node->all[i].get());
        }
        if (reachable)
            beginInsertRows(parentIndex, int(pos), int(pos + run.size() - 1));
        node->shown.insert(node->shown.begin() + qsizetype(pos), run.begin(), run.end());
        renumber(pos);
        if (reachable)
            endInsertRows();
        pos += run.size();
    }
}

void FolderTreeModel::applyFilter(Node *node, bool reachable)
{
    // Children first: a folder about to appear is complete when it does, and one about
    // to go still tells the views about its own children while they can see them.
    for (const auto &child : node->all)
        applyFilter(child.get(), reachable && child->row >= 0);
    updateShown(node, reachable);
}

void FolderTreeModel::setShowHidden(bool show)
{
    if (show == m_showHidden)
        return;
    m_showHidden = show;
    applyFilter(m_root.get(), true);
}

FolderTreeModel::Node *FolderTreeModel::addChild(Node *node, const QString &name, bool hidden)
{
    auto made = std::make_unique<Node>();
    made->parent = node;
    made->name = name;
    made->hidden = hidden;
    made->key = m_collator.sortKey(name);
    Node *child = made.get();
    const auto at = std::upper_bound(
        node->all.begin(), node->all.end(), child,
        [](const Node *a, const std::unique_ptr<Node> &b) { return before(a, b.get()); });
    node->all.insert(at, std::move(made));
    if (shows(child))
        updateShown(node, true);
    return child;
}

QModelIndex FolderTreeModel::index(const QString &path, int column)
{
    const QString clean = QDir::toNativeSeparators(QDir::cleanPath(path));
    const QString rootPath = pathtext::rootOf(clean);
    if (column != 0 || rootPath.isEmpty() || !m_fileSystem.pathInfo(clean).isFolder)
        return QModelIndex();
    // The deepest root the path lies in (the desktop before the drive that holds it); a
    // root the system does not list (a network share given by its path) joins the top
    // level when it is reached.
    const QString cleanWithDelimiter = pathtext::withDelimiter(clean);
    Node *node = nullptr;
    for (Node *root : m_paths) {
        if (cleanWithDelimiter.startsWith(root->name, pathtext::nameCase()) &&
            (!node || root->name.size() > node->name.size()))
            node = root;
    }
    if (!node)
        node = addRoot(m_root.get(), {rootPath, pathtext::withoutDelimiter(rootPath)});
    QString prefix = node->name;
    const QStringList names =
        clean.mid(node->name.size()).split(pathtext::delimiter(), Qt::SkipEmptyParts);
    const auto byName = [](const QString &name) {
        return [&name](const std::unique_ptr<Node> &n) { return sameName(n->name, name); };
    };
    for (const QString &name : names) {
        prefix = pathtext::withDelimiter(prefix) + name;
        const auto found = std::find_if(node->all.begin(), node->all.end(), byName(name));
        Node *child = nullptr;
        if (found != node->all.end()) {
            child = found->get();
        } else {
            const platform::PathInfo info = m_fileSystem.pathInfo(prefix);
            if (!info.isFolder)
                return QModelIndex();
            child = addChild(node, name, info.hidden);
        }
        if (child->row < 0)
            return QModelIndex(); // hidden, and hidden folders are not shown
        node = child;
    }
    return indexOf(node);
}

} // namespace pelmaris::scan
