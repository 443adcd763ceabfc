#include "app/listfilecommands.h"

#include "app/activity.h"
#include "app/countcaptions.h"
#include "app/foldertree.h"
#include "app/formstate.h"
#include "app/listfiledialogs.h"
#include "app/listpage.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "app/scanview.h"
#include "listio/listformat.h"
#include "listio/listiotexts.h"
#include "listio/listloader.h"
#include "listio/listsaver.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/pathtext.h"
#include "platform/specialfolders.h"
#include "platform/systeminfo.h"
#include "scan/imagelistmodel.h"
#include "scan/listtexts.h"
#include "scan/scancontroller.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>

namespace pelmaris::app {

ListFileCommands::ListFileCommands(const platform::Services &services, QWidget *window,
                                   MenuCommands &menus, Activity &activity, ListViewState &list,
                                   FormState &state, scan::ImageListModel &model,
                                   const scan::ScanController &scanner, FolderTree &tree,
                                   CountCaptions &captions, ListPage &page, ScanView &view,
                                   QObject *parent)
    : QObject(parent), m_services(services), m_window(window), m_activity(activity), m_list(list),
      m_state(state), m_model(model), m_scanner(scanner), m_tree(tree), m_captions(captions),
      m_page(page), m_view(view)
{
    // Rows as deep as the scan lists them: the file system service opens any length.
    Loader = new listio::ListLoader(model, *services.fileSystem, this);
    Saver = new listio::ListSaver(this);
    connect(Loader, &listio::ListLoader::loadProgress, this, &ListFileCommands::onLoadProgress);
    connect(Loader, &listio::ListLoader::loadFinished, this, &ListFileCommands::onLoadFinished);
    connect(Saver, &listio::ListSaver::saveFinished, this, &ListFileCommands::onSaveFinished);

    QAction *saveEntry = menus.action(Command::pm1SaveListAs);
    menus.claim(Command::pm1SaveListAs, [this, saveEntry] { pm1SaveListAsClick(saveEntry); });
    menus.claim(Command::pm1OpenList, [this] { pm1OpenListClick(); });
    menus.claim(Command::pm1PasteList, [this] { pm1PasteListClick(); });
    menus.claim(Command::pm1RebuildListviewFileNameOnly,
                [this] { pm1RebuildListviewFileNameOnlyClick(); });
    menus.claim(Command::pm3SaveFileList, [this] { pm3SaveFileListClick(); });
}

bool ListFileCommands::listWorkRunning() const
{
    return !m_activity.isIdle();
}

void ListFileCommands::pm1SaveListAsClick(const QObject *sender)
{
    if (listWorkRunning())
        return;
    SaveContext question;
    question.detailView = sender && m_list.detailChosen();
    question.rows = m_model.rowCount();
    question.scanEntries = m_scanner.scanList().size();
    question.programPath = m_services.system->executablePath();
    question.now = QDateTime::currentDateTime();
    question.directory = startFolder(m_saveFolder);
    const std::optional<listio::SaveTarget> target =
        askSaveTarget(*m_services.dialogs, m_window, question);
    if (!target)
        return;
    m_saveFolder = QFileInfo(target->path).absolutePath();
    saveListTo(*target);
}

QString ListFileCommands::startFolder(const QString &last) const
{
    // The folder the dialog was last used in, else the user's documents: never the
    // program's own folder, where nobody keeps lists.
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return m_services.folders->path(platform::SpecialFolder::Documents);
}

void ListFileCommands::saveListTo(const listio::SaveTarget &target)
{
    if (listWorkRunning())
        return;
    m_view.setTaskbarProgress(0, m_model.rowCount());
    m_page.setBusyCursor(true);
    m_view.setListEnabled(false);
    m_activity.set(Work::SavingList);
    Saver->start(target, m_model.items(), m_scanner.scanList());
}

void ListFileCommands::onSaveFinished(const listio::SaveResult &result)
{
    m_activity.set(Work::Idle);
    if (result.outcome) {
        QString text = listio::savedText(result.lines, result.path);
        // A name with a line break in it has no line of its own; the user is told.
        if (result.skipped > 0)
            text += QStringLiteral("  (改行を含む %1 件は除外)").arg(result.skipped);
        m_page.setStatus(text);
    }
    m_view.setListEnabled(true);
    m_view.setTaskbarProgress(0, 0);
    m_page.setBusyCursor(false);
    if (!result.outcome)
        m_services.dialogs->message(m_window, result.outcome.text());
    else
        m_view.flashWhenInBackground();
}

void ListFileCommands::pm3SaveFileListClick()
{
    if (listWorkRunning())
        return;
    m_list.setChosenForm(ListForm::Preview);
    Q_EMIT previewChosen();
    pm1SaveListAsClick(nullptr);
}

void ListFileCommands::pm1OpenListClick()
{
    if (listWorkRunning())
        return;
    const std::optional<OpenedList> opened =
        askListFile(*m_services.dialogs, m_window, startFolder(m_openFolder));
    if (!opened)
        return;
    m_openFolder = QFileInfo(opened->path).absolutePath();
    if (!opened->file) {
        m_services.dialogs->message(m_window, opened->file.outcome().text());
        return;
    }
    loadList(*opened->file);
    m_flashAfterLoad = true;
    m_state.DblClickPath1 = opened->title;
}

void ListFileCommands::pm1PasteListClick()
{
    if (listWorkRunning())
        return;
    // The clipboard's owner may answer late or never: the text is read off the window's
    // thread, with the cancel button shown meanwhile, and the list is replaced only by
    // what was read.
    m_activity.set(Work::ReadingClipboard);
    m_page.setBusyCursor(true);
    m_services.clipboard->readText(
        this, listio::kMaxListFileBytes,
        [this](platform::ClipboardText read) { onPasteRead(std::move(read)); });
}

void ListFileCommands::onPasteRead(platform::ClipboardText read)
{
    m_activity.set(Work::Idle);
    m_page.setBusyCursor(false);
    using Status = platform::ClipboardText::Status;
    switch (read.status) {
    case Status::Text:
    case Status::NoText: {
        // No text at all is an empty list, as pasting nothing has always given.
        listio::ListSource source;
        source.bytes = std::move(read.utf8);
        loadList(std::move(source));
        m_state.DblClickPath1 = listio::pasteTimeText(QDateTime::currentDateTime());
        break;
    }
    case Status::TooLarge:
        m_services.dialogs->message(m_window, listio::tooLargeText());
        break;
    case Status::NoAnswer:
        m_services.dialogs->message(m_window, listio::clipboardNoAnswerText());
        break;
    case Status::Cancelled:
        break;
    }
}

void ListFileCommands::pm1RebuildListviewFileNameOnlyClick()
{
    const QStringList &scanList = m_scanner.scanList();
    if (m_tree.selectedPath().isEmpty() || scanList.isEmpty())
        return;
    LoadListFromText(listio::pathText(scanList).text);
}

void ListFileCommands::LoadListFromText(const QString &text)
{
    loadList(listio::ListSource::fromText(text));
}

void ListFileCommands::loadList(listio::ListSource source)
{
    if (listWorkRunning())
        return;
    m_flashAfterLoad = false;
    m_page.setBusyCursor(true);
    m_view.EnableListControls(false);
    m_page.setStatus({});
    m_view.setTaskbarProgress(0, 0);
    m_captions.plainCounts();
    m_captions.noneChecked();

    m_state.CancelFlag1 = false;
    m_activity.set(Work::LoadingList);
    m_view.SetCloseEnabled(false);
    // The loader empties the rows and their pictures before the first new row.
    Loader->loadList(std::move(source));
}

void ListFileCommands::onLoadProgress(qint64 line, qint64 lines, qint64 rows, bool counted)
{
    // Until a line other than a comment is read, the status stays empty.
    if (counted)
        m_page.setStatus(listio::loadProgressText(rows, lines));
    m_view.setTaskbarProgress(line, lines);
}

void ListFileCommands::onLoadFinished()
{
    m_activity.set(Work::Idle);
    m_view.SetCloseEnabled(true);
    m_state.CancelFlag1 = false;
    m_view.setListEnabled(true);
    m_view.setTaskbarProgress(0, 0);
    if (Loader->unreadLines() > 0)
        m_page.setStatus(m_page.status() + listio::unreadLinesText(Loader->unreadLines()));

    const int rows = m_model.rowCount();
    // Every row comes checked ("選択表示(n)"), and the two check boxes say so, as after a
    // list build; a tree click during the load unchecked none for good.
    m_list.setAllChecked(true);
    m_page.checkAllRows(true);
    m_view.showLoadDone(rows);
    // The tree shows where the pictures are, as it does after a list build.
    if (rows > 0) {
        const QString folder = pathtext::folderOf(m_model.item(0).caption);
        m_state.CurrentDir1 = folder;
        m_tree.navigate(folder);
    }
    m_page.setBusyCursor(false);
    if (m_flashAfterLoad)
        m_view.flashWhenInBackground();
    m_flashAfterLoad = false;
}

void ListFileCommands::btnCancel1Click()
{
    if (m_activity.work() == Work::ReadingClipboard)
        m_services.clipboard->cancelTextRead();
    if (Loader->isLoading())
        Loader->cancel();
}

} // namespace pelmaris::app
