// The window's own life: creation, first show, clock, resizing, launch parameters and
// drops, close with the settings file and the temporary files.

#include "app/pelmarisform.h"

#include "app/currentoptions.h"
#include "app/foldertree.h"
#include "app/gallerycommands.h"
#include "app/menucommands.h"
#include "app/pagecontrol.h"
#include "app/scancommands.h"
#include "app/settingsbinding.h"
#include "app/windowroutines.h"
#include "gallery/browserchoice.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"
#include "platform/pathtext.h"
#include "platform/programinfo.h"
#include "platform/specialfolders.h"
#include "platform/systeminfo.h"
#include "platform/tempfiles.h"
#include "scan/imagelistmodel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeView>

namespace pelmaris::app {

QString TPelmarisForm::GetSpecialFolderPath(platform::SpecialFolder id) const
{
    return pathtext::withDelimiter(m_services.folders->path(id));
}

QString TPelmarisForm::settingsFileToRead() const
{
    return iniFileToRead(m_services.folders->path(platform::SpecialFolder::AppData),
                         m_services.system->executablePath());
}

QString TPelmarisForm::settingsFileToWrite() const
{
    return iniFileToWrite(m_services.folders->path(platform::SpecialFolder::AppData),
                          m_services.system->executablePath());
}

void TPelmarisForm::FormCreate()
{
    m_state.IsTaskBarShowing = true;
    setWindowTitle(QApplication::applicationName());

    m_placement = currentPlacement();
    ReadContext context;
    context.workArea = m_services.system->workArea().size();
    context.current = m_placement;
    context.desktopPath = GetSpecialFolderPath(platform::SpecialFolder::Desktop);
    m_settingsLoad = loadSettingsFile(settingsFileToRead(), context);
    applyPlacement(m_settingsLoad.settings.placement);
    m_binding->apply(m_settingsLoad.settings.options, width());

    m_tree->create(m_ui.PnTreeView, m_ui.PopupMenu3, m_options->values().showHidden);
    m_ui.ShellTreeView1 = m_tree->view();
    m_menus->attachShortcuts(Menu::Tree, m_ui.ShellTreeView1);
    m_ui.ShellTreeView1->installEventFilter(this);
    MakeTempFileNames();
    // A browser saved as a launcher's first word (env, flatpak) opens nothing: the
    // desktop's own program for web pages stands in for it.
    if (m_state.BrowserName1.isEmpty() || gallery::isLauncherWrapper(m_state.BrowserName1))
        m_state.BrowserName1 = Gallery->GetDefaultBrowser();

    m_ui.StatusPanel1->setText(treeSelectedPath());
    CenterCancelButton(m_ui.btnCancel1, m_ui.PnListView);
    m_ui.btnCancel1->hide();
    m_ui.PageControl1->setCurrentWidget(m_ui.TabSheetSearch);
    setWindowTitle(program::Title);
    m_ui.BtnShuffle1->setEnabled(false);
    ListModel->ResetColumnCaptions();
    Timer1Timer();
}

WindowPlacement TPelmarisForm::currentPlacement() const
{
    WindowPlacement p = m_placement;
    const QPoint origin = m_services.system->workArea().topLeft();
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    p.left = normal.left() - origin.x();
    p.top = normal.top() - origin.y();
    p.right = p.left + normal.width();
    p.bottom = p.top + normal.height();
    p.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    return p;
}

void TPelmarisForm::applyPlacement(const WindowPlacement &p)
{
    m_placement = p;
    const QRect workArea = m_services.system->workArea();
    QRect normal = normalRect(p, workArea);
    normal.setSize(normal.size().expandedTo(QSize(1, 1)));
    // A placement on a monitor removed since comes back onto the primary screen.
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->geometry();
    setGeometry(fitOntoScreens(normal, screens, workArea));
    setWindowState(p.state == 2   ? Qt::WindowMaximized
                   : p.state == 1 ? Qt::WindowMinimized
                                  : Qt::WindowNoState);
}

void TPelmarisForm::MakeTempFileNames()
{
    platform::TempFileNames names;
    QString error;
    if (!platform::makeTempFileNames(m_services.system->tempPath(), &names, &error)) {
        m_services.dialogs->error(this, error);
        return;
    }
    m_state.TempFileName1 = names.stem;
    m_state.TempHtmlFileName1 = names.html;
    m_state.TempIconFileName1 = names.ico;
    m_state.TempIconFileName4 = names.icon;
}

void TPelmarisForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        ShowingChanged();
    }
}

void TPelmarisForm::ShowingChanged()
{
    setEnabled(true);
    // The saved scroll position is applied once, at start; later folder loads leave the
    // tree where the user put it.
    m_tree->setScrollPosition(m_state.ScrollPos);
    if (!m_launchParameters.isEmpty()) {
        repaint();
        HandleLaunchParameter();
        return;
    }
    QApplication::setOverrideCursor(Qt::BusyCursor);
    RestoreStartFolder();
    QApplication::restoreOverrideCursor();
}

void TPelmarisForm::RestoreStartFolder()
{
    QString folder;
    if (!m_options->values().spreadTree)
        folder = GetSpecialFolderPath(platform::SpecialFolder::Desktop);
    else if (!m_state.CurrentDir1.isEmpty() && QFileInfo(m_state.CurrentDir1).isDir())
        folder = pathtext::withDelimiter(m_state.CurrentDir1);
    else
        folder = GetSpecialFolderPath(platform::SpecialFolder::Desktop);
    // At the top of the tree, so that its sub-folders, where a scan begins, are in view.
    m_tree->navigate(folder, true);
    EnableListControls(false);
    m_ui.ListView1->setEnabled(true);
    m_ui.StatusPanel1->setText(m_state.CurrentDir1);
}

void TPelmarisForm::Timer1Timer()
{
    m_ui.StatusPanel0->setText(
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd  HH:mm:ss")) +
        QString::asprintf("  %d%%", m_services.system->memoryLoad()));
}

void TPelmarisForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TPelmarisForm::FormResize()
{
    m_ui.PageControl1->pageTabBar()->setTabWidth(m_ui.PageControl1->width() /
                                                 (m_ui.PageControl1->count() + 1));
    CenterCancelButton(m_ui.btnCancel1, m_ui.PnListView);
}

void TPelmarisForm::closeEvent(QCloseEvent *event)
{
    if (!closeEnabled() || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool TPelmarisForm::FormCloseQuery()
{
    if (m_options->values().closeQuery &&
        !m_services.dialogs->askYesNo(this, QStringLiteral("終了してもよいですか？")))
        return false;
    writeSettingsFile();
    removeTempFiles();
    return true;
}

void TPelmarisForm::writeSettingsFile()
{
    if (!m_options->values().spreadTree)
        m_state.CurrentDir1.clear();
    Settings settings;
    settings.placement = currentPlacement();
    settings.options = m_binding->collect();
    const QString error = saveSettingsFile(
        settingsFileToWrite(), settings,
        programInfo(m_services.system->executablePath(), QDateTime::currentDateTime()),
        m_settingsLoad);
    // A file that cannot be saved is reported; it must not keep the window from closing.
    if (!error.isEmpty())
        m_services.dialogs->error(this, error);
}

void TPelmarisForm::removeTempFiles()
{
    if (!m_state.TempHtmlFileName1.isEmpty() && QFileInfo::exists(m_state.TempHtmlFileName1))
        platform::scrubAndRemove(m_state.TempHtmlFileName1);
    for (const QString &name : {m_state.TempIconFileName1, m_state.TempIconFileName4})
        if (!name.isEmpty())
            QFile::remove(name);
}

void TPelmarisForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TPelmarisForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    event->acceptProposedAction();
    WMDropFiles(urls.first().isLocalFile() ? urls.first().toLocalFile() : urls.first().toString());
}

void TPelmarisForm::HandleLaunchParameter()
{
    m_state.TargetFileName1 = m_launchParameters.value(0);
    actOnExternalPath(m_state.TargetFileName1,
                      QStringLiteral("「送る」の起動パラメータが不正です"));
    m_state.IsTaskBarShowing = true;
}

void TPelmarisForm::WMDropFiles(const QString &firstPath)
{
    m_state.TargetFileName1 = firstPath;
    actOnExternalPath(firstPath, QStringLiteral("ドラッグ＆ドロップに異状があります"));
}

void TPelmarisForm::actOnExternalPath(const QString &path, const QString &failureText)
{
    const QFileInfo info(path);
    QString folder;
    if (!path.isEmpty() && info.isDir()) {
        // A typed path may end in a delimiter; the folder is kept as the tree names it,
        // with the system's own delimiters.
        folder = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
    } else if (!path.isEmpty() && info.exists()) {
        // A file counts by its own folder, a link or shortcut file included.
        folder = QDir::toNativeSeparators(info.absolutePath());
    } else {
        m_services.dialogs->messageCentered(failureText + QStringLiteral("\r\n") + path);
        return;
    }
    navigateTree(folder);
    // The folder itself is scanned, also when the tree does not show it (a hidden one).
    Scan->startScanOf(folder, false);
}

} // namespace pelmaris::app
