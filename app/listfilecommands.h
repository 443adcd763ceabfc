#pragma once

#include "listio/listfile.h"
#include "platform/clipboard.h"
#include "platform/services.h"

#include <QObject>
#include <QString>

namespace pelmaris::listio {
class ListLoader;
class ListSaver;
struct SaveResult;
} // namespace pelmaris::listio

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

// The list as text in files and from the clipboard: save, open, paste, the rows made
// from list text, the file-name rebuild, and the folder list's save. Loading and saving
// run off the window's thread; the window stays live and the cancel button is heard.
class ListFileCommands : public QObject {
    Q_OBJECT

public:
    // `window` parents the dialogs.
    ListFileCommands(const platform::Services &services, QWidget *window, MenuCommands &menus,
                     Activity &activity, ListViewState &list, FormState &state,
                     scan::ImageListModel &model, const scan::ScanController &scanner,
                     FolderTree &tree, CountCaptions &captions, ListPage &page, ScanView &view,
                     QObject *parent = nullptr);

    // `sender` is the menu entry, or none for the folder list's save: without one, the
    // path form of the scan list is suggested whatever the view.
    void pm1SaveListAsClick(const QObject *sender);
    void pm3SaveFileListClick();
    void pm1OpenListClick();
    void pm1PasteListClick();
    void pm1RebuildListviewFileNameOnlyClick();
    // Replaces every row with the rows the text makes.
    void LoadListFromText(const QString &text);
    void loadList(listio::ListSource source);
    // Writes the list once the save dialog has answered.
    void saveListTo(const listio::SaveTarget &target);
    // The cancel button over the list stops a load.
    void btnCancel1Click();

    listio::ListLoader *Loader = nullptr;
    listio::ListSaver *Saver = nullptr;

Q_SIGNALS:
    // The folder list's save shows the preview view first, as a click on it does.
    void previewChosen();

private:
    // A scan, list build, load, save or paste runs: the list is not to be replaced or
    // written.
    bool listWorkRunning() const;
    void onLoadProgress(qint64 line, qint64 lines, qint64 rows, bool counted);
    void onLoadFinished();
    void onSaveFinished(const listio::SaveResult &result);
    void onPasteRead(platform::ClipboardText read);
    QString startFolder(const QString &last) const;

    platform::Services m_services;
    QWidget *m_window;
    Activity &m_activity;
    ListViewState &m_list;
    FormState &m_state;
    scan::ImageListModel &m_model;
    const scan::ScanController &m_scanner;
    FolderTree &m_tree;
    CountCaptions &m_captions;
    ListPage &m_page;
    ScanView &m_view;
    bool m_flashAfterLoad = false;
    // Where each of the two list dialogs was last used; kept for this run only.
    QString m_saveFolder;
    QString m_openFolder;
};

} // namespace pelmaris::app
