#include "app/foldertree.h"

#include "platform/pathtext.h"
#include "scan/foldertreemodel.h"

#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace pelmaris::app {

FolderTree::FolderTree(platform::FileSystem &fileSystem, QObject *parent)
    : QObject(parent), m_fileSystem(fileSystem)
{
}

QTreeView *FolderTree::create(QWidget *panel, QMenu *popup, bool showHidden)
{
    m_model = new scan::FolderTreeModel(m_fileSystem, this);
    m_model->setObjectName(QStringLiteral("ShellTreeModel"));
    setShowHidden(showHidden);
    connect(m_model, &scan::FolderTreeModel::folderLoaded, this, &FolderTree::keepSelectionInView);

    m_view = new QTreeView(panel);
    m_view->setObjectName(QStringLiteral("ShellTreeView1"));
    m_view->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_view->hideColumn(c);
    m_view->header()->hide();
    m_view->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_view->header()->setStretchLastSection(false);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setFrameShape(QFrame::StyledPanel);
    m_view->setRootIsDecorated(true);
    m_view->setTabKeyNavigation(false);
    m_view->setFocusPolicy(Qt::ClickFocus);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setExpandsOnDoubleClick(false);
    auto *layout = static_cast<QVBoxLayout *>(panel->layout());
    layout->insertWidget(0, m_view, 1);
    delete layout->takeAt(1); // the stretch that held the tree's place

    connect(m_view, &QTreeView::clicked, this, &FolderTree::clicked);
    connect(m_view, &QTreeView::doubleClicked, this, &FolderTree::doubleClicked);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint &pos) {
        // A right click selects the node under the pointer before the menu opens.
        const QModelIndex index = m_view->indexAt(pos);
        if (index.isValid())
            m_view->setCurrentIndex(index);
        popup->popup(m_view->viewport()->mapToGlobal(pos));
    });
    return m_view;
}

QString FolderTree::selectedPath() const
{
    if (!m_view)
        return {};
    const QModelIndex index = m_view->currentIndex();
    return index.isValid() ? m_model->filePath(index) : QString();
}

bool FolderTree::navigate(const QString &folder, bool atTop)
{
    if (!m_view)
        return false;
    const QModelIndex index = m_model->index(folder);
    if (!index.isValid())
        return false;
    m_atTop = atTop;
    m_view->setCurrentIndex(index);
    m_view->expand(index);
    showSelected();
    return true;
}

void FolderTree::showSelected()
{
    if (m_view)
        m_view->scrollTo(m_view->currentIndex(), m_atTop ? QAbstractItemView::PositionAtTop
                                                         : QAbstractItemView::EnsureVisible);
}

void FolderTree::setShowHidden(bool show)
{
    if (!m_model)
        return;
    m_model->setShowHidden(show);
}

void FolderTree::keepSelectionInView(const QString &loadedFolder)
{
    // The folders beside the path the tree was opened at arrive later and push the
    // selected node down; it stays in view while its own ancestors are being listed.
    if (pathtext::isInsideFolder(selectedPath(), loadedFolder))
        showSelected();
}

int FolderTree::scrollPosition() const
{
    return m_view ? m_view->horizontalScrollBar()->value() : 0;
}

void FolderTree::setScrollPosition(int position)
{
    if (m_view)
        m_view->horizontalScrollBar()->setValue(position);
}

} // namespace pelmaris::app
