#pragma once

#include "platform/services.h"
#include "scan/pathorder.h"

#include <QObject>

class QLabel;
class QListView;
class QModelIndex;
class QTreeView;

namespace pelmaris::scan {
class ImageListModel;
class ScanController;
} // namespace pelmaris::scan

namespace pelmaris::app {

class Activity;
class CountCaptions;
class FolderTree;
class ListPage;
class ListViewState;
class MenuCommands;
class ScanView;
struct FormState;

// The list's own controls, which its commands shape: the two views (the empty preview
// shows where to begin; the details fit their columns), the option row above them and
// the shuffle button in it.
struct ListControls {
    QListView *preview = nullptr;
    QTreeView *details = nullptr;
    QWidget *optionRow = nullptr;
    QWidget *shuffle = nullptr;
};

// The image list's own commands: check marks, views, shuffle, the list click, showing the
// first and last row, clearing, and the list menu's enabling.
class ListCommands : public QObject {
    Q_OBJECT

public:
    ListCommands(const platform::Services &services, MenuCommands &menus, const Activity &activity,
                 ListViewState &list, FormState &state, scan::ImageListModel &model,
                 const scan::ScanController &scanner, scan::RandomEngine &random, FolderTree &tree,
                 CountCaptions &captions, ListPage &page, ScanView &view,
                 const ListControls &controls, QObject *parent = nullptr);

    void CheckBoxAll1Click();
    void CheckBoxTop10Click();
    void BtnShuffle1Click();
    void pm1vsIconClick();
    void pm1vsReportClick();
    void RbPreViewClick();
    void RbReportClick();
    void ListView1Click(const QModelIndex &index);
    void pm1ShowTopClick();
    void pm1ShowBottomClick();
    void pm1ClearClick();
    void PopupMenu1Popup();
    // The list menu's entries on or off as they would be if it opened now (its keys
    // work by these); returns the selected row, or -1.
    int updateMenuEnabling();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitPathColumn();
    void updateHint();

    platform::Services m_services;
    MenuCommands &m_menus;
    const Activity &m_activity;
    ListViewState &m_list;
    FormState &m_state;
    scan::ImageListModel &m_model;
    const scan::ScanController &m_scanner;
    scan::RandomEngine &m_random;
    FolderTree &m_tree;
    CountCaptions &m_captions;
    ListPage &m_page;
    ScanView &m_view;
    ListControls m_controls;
    QLabel *m_hint = nullptr;
    // Compared only: while the views are destroyed their viewports still send events.
    const QObject *m_detailsViewport = nullptr;
    const QObject *m_previewViewport = nullptr;
};

} // namespace pelmaris::app
