#pragma once

#include "platform/services.h"
#include "scan/pathorder.h"

#include <QObject>

namespace pelmaris::scan {
class ImageListModel;
class ScanController;
} // namespace pelmaris::scan

namespace pelmaris::app {

class Activity;
class CountCaptions;
class CurrentOptions;
class FolderTree;
class ListPage;
class ListViewState;
class MenuCommands;
class ScanView;
struct FormState;

// The folder scan and the list building: the tree's double-click and click, the scan
// entries of the tree menu, both cancel buttons, the rebuild, the tree menu's enabling.
class ScanCommands : public QObject {
    Q_OBJECT

public:
    // `shown` turns true once the window has been shown: start-up is over.
    ScanCommands(const platform::Services &services, MenuCommands &menus, Activity &activity,
                 const CurrentOptions &options, ListViewState &list, FormState &state,
                 scan::ImageListModel &model, scan::ScanController &scanner, FolderTree &tree,
                 CountCaptions &captions, ListPage &page, ScanView &view, const bool &shown,
                 QObject *parent = nullptr);

    // A new scan of the tree's selected folder.
    void ShellTreeView1DblClick();
    // An additive scan of the tree's selected folder.
    void pm3AddDetectClick();
    // Scans a folder: what the tree's double-click, a launch parameter and a drop start.
    void startScanOf(const QString &folder, bool additive);
    void ShellTreeView1Click();
    void btnCancel3Click();
    void btnCancel1Click();
    void RunImageListBuild();
    void pm1RebuildListviewClick();
    void PopupMenu3Popup();
    void pm3NumSortAClick();
    void pm3NumSortDClick();
    void pm3DicSortAClick();
    void pm3DicSortDClick();
    void pm3RandomOutClick();

private:
    void onScanProgress(qint64 found);
    void onScanFinished(bool cancelled);
    void onBuildProgress(qint64 tried, qint64 total);
    void onBuildFinished(bool cancelled);
    QColor thumbnailBackground() const;
    // Adds what the scan could not list, and why, to the status text.
    void showLeftOut();

    platform::Services m_services;
    MenuCommands &m_menus;
    Activity &m_activity;
    const CurrentOptions &m_options;
    ListViewState &m_list;
    FormState &m_state;
    scan::ImageListModel &m_model;
    scan::ScanController &m_scanner;
    FolderTree &m_tree;
    CountCaptions &m_captions;
    ListPage &m_page;
    ScanView &m_view;
    const bool &m_shown;
};

} // namespace pelmaris::app
