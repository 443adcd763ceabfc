#include "app/listfilecommands.h"

#include "app/activity.h"
#include "app/countcaptions.h"
#include "app/foldertree.h"
#include "app/listfiledialogs.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "app/windowroutines.h"
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
#include "shell/shellroutines.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>

namespace pelmaris::app {

ListFileCommands::ListFileCommands(const FormContext &context, QObject *parent)
    : QObject(parent), m_c(context)
{
    // Rows as deep as the scan lists them: the file system service opens any length.
    Loader = new listio::ListLoader(m_c.model, *m_c.services.fileSystem, this);
    Saver = new listio::ListSaver(this);
    connect(Loader, &listio::ListLoader::loadProgress, this, &ListFileCommands::onLoadProgress);
    connect(Loader, &listio::ListLoader::loadFinished, this, &ListFileCommands::onLoadFinished);
    connect(Saver, &listio::ListSaver::saveFinished, this, &ListFileCommands::onSaveFinished);

    MenuCommands &menus = m_c.menus;
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
    return !m_c.activity.isIdle();
}

void ListFileCommands::flashWhenInBackground()
{
    if (!m_c.window->isActiveWindow())
        shell::FlashTaskbarButton(m_c.services, m_c.window, 10, 500);
}

void ListFileCommands::pm1SaveListAsClick(const QObject *sender)
{
    if (listWorkRunning())
        return;
    SaveContext question;
    question.detailView = sender && m_c.list.detailChosen();
    question.rows = m_c.model.rowCount();
    question.scanEntries = m_c.scanner.scanList().size();
    question.programPath = m_c.services.system->executablePath();
    question.now = QDateTime::currentDateTime();
    question.directory = startFolder(m_saveFolder);
    const std::optional<listio::SaveTarget> target =
        askSaveTarget(*m_c.services.dialogs, m_c.window, question);
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
    return m_c.services.folders->path(platform::SpecialFolder::Documents);
}

void ListFileCommands::saveListTo(const listio::SaveTarget &target)
{
    if (listWorkRunning())
        return;
    m_c.routines.setTaskbarProgress(0, m_c.model.rowCount());
    m_c.routines.setBusyCursor(true);
    m_c.ui.ListView1->setEnabled(false);
    m_c.activity.set(Work::SavingList);
    Saver->start(target, m_c.model.items(), m_c.scanner.scanList());
}

void ListFileCommands::onSaveFinished(const listio::SaveResult &result)
{
    m_c.activity.set(Work::Idle);
    if (result.outcome) {
        QString text = listio::savedText(result.lines, result.path);
        // A name with a line break in it has no line of its own; the user is told.
        if (result.skipped > 0)
            text += QStringLiteral("  (改行を含む %1 件は除外)").arg(result.skipped);
        m_c.ui.StatusPanel1->setText(text);
    }
    m_c.ui.ListView1->setEnabled(true);
    m_c.routines.setTaskbarProgress(0, 0);
    m_c.routines.setBusyCursor(false);
    if (!result.outcome)
        m_c.services.dialogs->message(m_c.window, result.outcome.text());
    else
        flashWhenInBackground();
}

void ListFileCommands::pm3SaveFileListClick()
{
    if (listWorkRunning())
        return;
    m_c.list.setChosenForm(ListForm::Preview);
    Q_EMIT previewChosen();
    pm1SaveListAsClick(nullptr);
}

void ListFileCommands::pm1OpenListClick()
{
    if (listWorkRunning())
        return;
    const std::optional<OpenedList> opened =
        askListFile(*m_c.services.dialogs, m_c.window, startFolder(m_openFolder));
    if (!opened)
        return;
    m_openFolder = QFileInfo(opened->path).absolutePath();
    if (!opened->file) {
        m_c.services.dialogs->message(m_c.window, opened->file.outcome().text());
        return;
    }
    loadList(*opened->file);
    m_flashAfterLoad = true;
    m_c.state.DblClickPath1 = opened->title;
}

void ListFileCommands::pm1PasteListClick()
{
    if (listWorkRunning())
        return;
    // The clipboard's owner may answer late or never: the text is read off the window's
    // thread, with the cancel button shown meanwhile, and the list is replaced only by
    // what was read.
    m_c.activity.set(Work::ReadingClipboard);
    m_c.routines.setBusyCursor(true);
    m_c.services.clipboard->readText(
        this, listio::kMaxListFileBytes,
        [this](platform::ClipboardText read) { onPasteRead(std::move(read)); });
}

void ListFileCommands::onPasteRead(platform::ClipboardText read)
{
    m_c.activity.set(Work::Idle);
    m_c.routines.setBusyCursor(false);
    using Status = platform::ClipboardText::Status;
    switch (read.status) {
    case Status::Text:
    case Status::NoText: {
        // No text at all is an empty list, as pasting nothing has always given.
        listio::ListSource source;
        source.bytes = std::move(read.utf8);
        loadList(std::move(source));
        m_c.state.DblClickPath1 = listio::pasteTimeText(QDateTime::currentDateTime());
        break;
    }
    case Status::TooLarge:
        m_c.services.dialogs->message(m_c.window, listio::tooLargeText());
        break;
    case Status::NoAnswer:
        m_c.services.dialogs->message(m_c.window, listio::clipboardNoAnswerText());
        break;
    case Status::Cancelled:
        break;
    }
}

void ListFileCommands::pm1RebuildListviewFileNameOnlyClick()
{
    const QStringList &scanList = m_c.scanner.scanList();
    if (m_c.tree.selectedPath().isEmpty() || scanList.isEmpty())
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
    FormControls &ui = m_c.ui;
    m_flashAfterLoad = false;
    m_c.routines.setBusyCursor(true);
    m_c.routines.EnableListControls(false);
    ui.StatusPanel1->clear();
    m_c.routines.setTaskbarProgress(0, 0);
    m_c.captions.plainCounts();
    m_c.captions.noneChecked();
    ui.BtnShuffle1->setEnabled(false);

    m_c.state.CancelFlag1 = false;
    m_c.activity.set(Work::LoadingList);
    m_c.routines.SetCloseEnabled(false);
    // The loader empties the rows and their pictures before the first new row.
    Loader->loadList(std::move(source));
}

void ListFileCommands::onLoadProgress(qint64 line, qint64 lines, qint64 rows, bool counted)
{
    // Until a line other than a comment is read, the status stays empty.
    if (counted)
        m_c.ui.StatusPanel1->setText(listio::loadProgressText(rows, lines));
    m_c.routines.setTaskbarProgress(line, lines);
}

void ListFileCommands::onLoadFinished()
{
    FormControls &ui = m_c.ui;
    m_c.activity.set(Work::Idle);
    m_c.routines.SetCloseEnabled(true);
    m_c.state.CancelFlag1 = false;
    ui.btnBrowse1->setEnabled(true);
    ui.ListView1->setEnabled(true);
    m_c.routines.setTaskbarProgress(0, 0);
    if (Loader->unreadLines() > 0)
        ui.StatusPanel1->setText(ui.StatusPanel1->text() +
                                 listio::unreadLinesText(Loader->unreadLines()));

    const int rows = m_c.model.rowCount();
    m_c.captions.rowCounts(rows);
    // Every row comes checked ("選択表示(n)"), and the two check boxes say so, as after a
    // list build; a tree click during the load unchecked none for good.
    m_c.list.setAllChecked(true);
    m_c.routines.checkAllRows(true);
    m_c.routines.EnableListControls(true);
    // The tree shows where the pictures are, as it does after a list build.
    if (rows > 0) {
        const QString folder = pathtext::folderOf(m_c.model.item(0).caption);
        m_c.state.CurrentDir1 = folder;
        m_c.tree.navigate(folder);
    }
    m_c.routines.setBusyCursor(false);
    if (m_flashAfterLoad)
        flashWhenInBackground();
    m_flashAfterLoad = false;
}

void ListFileCommands::btnCancel1Click()
{
    if (m_c.activity.work() == Work::ReadingClipboard)
        m_c.services.clipboard->cancelTextRead();
    if (Loader->isLoading())
        Loader->cancel();
}

} // namespace pelmaris::app
