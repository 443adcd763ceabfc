#pragma once

#include "app/activity.h"
#include "app/formcontrols.h"
#include "app/formstate.h"
#include "app/settings.h"
#include "platform/services.h"
#include "platform/specialfolders.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>

class QAction;

namespace pelmaris::scan {
class ImageListModel;
class ScanController;
} // namespace pelmaris::scan

namespace pelmaris::app {

class ClipboardCommands;
class CountCaptions;
class CurrentOptions;
class FileActionCommands;
class FolderListCommands;
class FolderTree;
class GalleryCommands;
class HelpCommands;
class ListCommands;
class ListFileCommands;
class ListViewState;
class MenuCommands;
class OrderCommands;
class PageButtons;
class ScanCommands;
class SettingsBinding;
class ShortcutCommands;
class ViewerCommands;
class WindowRoutines;

// The main window. It builds its pages, menus and controllers, wires the controls'
// signals to the controllers' handlers, and runs the window's own life: creation, first
// show, clock, resizing, drops and launch parameters, close. The controls and state
// fields keep the names the program is designed around (FormControls, FormState); the
// window owns them and hands each controller only its part. The handlers live in the
// controllers, under their names.
class TPelmarisForm : public QMainWindow {
    Q_OBJECT

public:
    TPelmarisForm(const platform::Services &services, QStringList launchParameters,
                  QWidget *parent = nullptr);
    ~TPelmarisForm() override;

    // The controls under their names, as the pages made them.
    const FormControls &ui() const { return m_ui; }
    // The state fields; the window's tests read them and set a few.
    FormState &state() { return m_state; }
    const FormState &state() const { return m_state; }

    // What the program is doing: the cancel buttons and the menus follow it.
    const Activity &activity() const { return *m_activity; }
    // The options in force: the controls write the user's choices into them.
    const CurrentOptions &options() const { return *m_options; }
    // The list's chosen and shown view and its two check boxes.
    const ListViewState &listState() const { return *m_list; }
    // The popup menus' entries, by command.
    MenuCommands &menus() const { return *m_menus; }

    // The image list: one model behind both views, and the scan that fills it.
    scan::ImageListModel *ListModel = nullptr;
    scan::ScanController *Scanner = nullptr;
    const QStringList &ScanList() const;

    // The controllers, each owning the handlers of one concern.
    ScanCommands *Scan = nullptr;
    ListCommands *List = nullptr;
    GalleryCommands *Gallery = nullptr;
    ViewerCommands *Viewer = nullptr;
    HelpCommands *Help = nullptr;
    FileActionCommands *FileActions = nullptr;
    ShortcutCommands *Shortcuts = nullptr;
    OrderCommands *Order = nullptr;
    ListFileCommands *ListFiles = nullptr;
    ClipboardCommands *Clipboard = nullptr;
    FolderListCommands *FolderList = nullptr;

    // Window-level routines the whole program uses.
    void SetCloseEnabled(bool enabled);
    bool closeEnabled() const;
    static void CenterCancelButton(QWidget *button, QWidget *control);
    QString GetSpecialFolderPath(platform::SpecialFolder id) const;
    void EnableListControls(bool enable);
    // The folder selected in the tree, without a trailing delimiter.
    QString treeSelectedPath() const;
    // Opens the tree at a folder and scrolls it into view.
    void navigateTree(const QString &folder);

    // The image the page buttons show: 0 Edge, 1 Chrome, 2 the chosen program, -1 none.
    int pageButtonImage() const;

    // The settings file this run reads and writes.
    QString settingsFileToRead() const;
    QString settingsFileToWrite() const;

public Q_SLOTS:
    void Timer1Timer();
    void FormResize();
    void ChkBxShowHiddenClick();
    void PageControl1Change(int index);
    void HandleLaunchParameter();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildStatusBar();
    void showActivity(Work work);
    void wireControls();
    void FormCreate();
    void ShowingChanged();
    void RestoreStartFolder();
    bool FormCloseQuery();
    void MakeTempFileNames();
    void removeTempFiles();
    void WMDropFiles(const QString &firstPath);
    void actOnExternalPath(const QString &path, const QString &failureText);
    void writeSettingsFile();
    WindowPlacement currentPlacement() const;
    void applyPlacement(const WindowPlacement &placement);

    platform::Services m_services;
    FormControls m_ui;
    FormState m_state;
    QStringList m_launchParameters;
    bool m_shownOnce = false;
    WindowPlacement m_placement;
    SettingsLoad m_settingsLoad;
    Activity *m_activity = nullptr;
    CurrentOptions *m_options = nullptr;
    ListViewState *m_list = nullptr;
    MenuCommands *m_menus = nullptr;
    FolderTree *m_tree = nullptr;
    std::unique_ptr<CountCaptions> m_captions;
    std::unique_ptr<PageButtons> m_pageButtons;
    std::unique_ptr<WindowRoutines> m_routines;
    std::unique_ptr<SettingsBinding> m_binding;
};

} // namespace pelmaris::app
