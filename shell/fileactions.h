#pragma once

// The commands that hand the selected file to another program or to the desktop, and
// the folder tree's two commands. Each is one call from the window's handler, with the
// selected row's path (empty when no row is selected, which does nothing):
//
//   void TPelmarisForm::pm1OpenClick()     { m_fileActions.openDefault(selectedPath()); }
//   void TPelmarisForm::pm1DeleteFileClick() {
//       if (m_fileActions.moveToTrash(selectedPath())) removeSelectedRow();
//   }
//   void TPelmarisForm::pm3PasteFolderPathClick() {
//       m_fileActions.pasteFolderPath([this](const QString &f) { return navigateTree(f); });
//   }
//
// Failures are reported here or by the shell routines; the window reports nothing.

#include "platform/services.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace pelmaris::shell {

class FileActions {
public:
    // window: the owner of the boxes and dialogs shown.
    explicit FileActions(const platform::Services &services, QWidget *window = nullptr);

    // With the desktop's default application for the file's type.
    void openDefault(const QString &path);
    // False when no such program is installed: nothing was started, and the caller
    // tells the user (noProgramText) with the names the shell looked for.
    bool openInPaint(const QString &path);
    bool openInTextEditor(const QString &path);
    // The chooser of programs for the file's type; cancelling it is no failure.
    void openWith(const QString &path);
    // Starts the sibling program with the path, then puts the path on the clipboard;
    // nothing without a sibling program.
    void sendToSibling(const QString &siblingProgram, const QString &path);
    // Lets the user pick an entry of the SendTo folder: a shortcut is followed; a folder
    // gets a copy of the file (never overwriting), a program is started with the path.
    void sendTo(const QString &path);
    void showProperties(const QString &path);
    // The file manager with the file selected; the folder alone when the file is gone.
    void showInFolder(const QString &path);
    // Moves the file to the trash after the user confirms. True when the file is gone
    // and its row goes too; false when it stays (refused, failed, or no trash there).
    bool moveToTrash(const QString &path);

    // The tree's folder in the file manager, with the selected file selected when it
    // lies directly in that folder.
    void openTreeFolder(const QString &treeFolder, const QString &selectedPath);
    // A folder path from the clipboard's text goes to navigate(), which gives false
    // when the tree cannot show it; anything but an existing folder is ignored.
    void pasteFolderPath(const std::function<bool(const QString &)> &navigate);

    // The messages of these commands.
    static QString goneText(const QString &path);
    static QString openWithFailedText(const QString &path);
    static QString copyExistsText(const QString &destination);
    static QString copyFailedText(const QString &reason, const QString &destination);
    static QString pastePathText(const QString &path);
    // A path longer than other programs and the system's calls accept.
    static QString tooLongText(const QString &path);
    static QString noPaintProgramText(const QStringList &lookedFor);
    static QString noTextEditorText(const QStringList &lookedFor);

private:
    bool reportIfTooLong(const QString &path);
    bool reportIfGone(const QString &path);
    void copyInto(const QString &path, const QString &folder);

    platform::Services m_services;
    QWidget *m_window;
};

} // namespace pelmaris::shell
