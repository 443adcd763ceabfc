#pragma once

#include "app/formcontext.h"
#include "scan/pathorder.h"

#include <QObject>

namespace pelmaris::app {

// The folder scan and the list building: the tree's double-click and click, the scan
// entries of the tree menu, both cancel buttons, the rebuild, the tree menu's enabling.
class ScanCommands : public QObject {
    Q_OBJECT

public:
    explicit ScanCommands(const FormContext &context, QObject *parent = nullptr);

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

    FormContext m_c;
};

} // namespace pelmaris::app
