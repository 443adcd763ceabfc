#pragma once

// The commands that hand a listed file to another program or to the desktop, and the
// folder tree's two folder commands. Each gives back what became of it; a failure
// carries the report for the user. Where the user is to answer first (the SendTo entry,
// the trash), the command comes in steps and the caller asks between them.

#include "platform/filequestions.h"
#include "platform/outcome.h"
#include "platform/services.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace pelmaris::shell {

class FileActions {
public:
    // window: the owner of the desktop's own windows these commands open (the chooser
    // of programs, the properties).
    explicit FileActions(const platform::Services &services, QWidget *window = nullptr);

    // Every command does nothing for an empty path. A path too long to hand to other
    // programs, or a file gone since it was listed, fails with its report before anything
    // starts.

    // With the desktop's default application for the file's type.
    platform::Outcome openDefault(const QString &path);
    // Without such a program installed nothing starts, and the failure names the
    // programs looked for (noPaintProgramText, noTextEditorText).
    platform::Outcome openInPaint(const QString &path);
    platform::Outcome openInTextEditor(const QString &path);
    // The chooser of programs for the file's type; cancelling it is no failure.
    platform::Outcome openWith(const QString &path);
    // Starts the sibling program with the path, then puts the path on the clipboard;
    // nothing without a sibling program.
    platform::Outcome sendToSibling(const QString &siblingProgram, const QString &path);

    // SendTo: the check, then the user picks an entry of the SendTo folder
    // (sendToChoice), then the entry is used: a shortcut is followed; a folder gets a
    // copy of the file (never overwriting), a program is started with the path. An
    // empty entry (the chooser cancelled) does nothing.
    platform::Outcome checkSendTo(const QString &path);
    platform::FileChoice sendToChoice() const;
    platform::Outcome sendTo(const QString &path, const QString &entry);

    platform::Outcome showProperties(const QString &path);
    // The file manager with the file selected; the folder alone when the file is gone.
    platform::Outcome showInFolder(const QString &path);

    // The trash: the question to confirm (empty when the file is gone already, and its
    // row may go at once), then the move once the user agreed. A failed move keeps the
    // file and its row.
    platform::Result<QString> trashQuestion(const QString &path);
    platform::Outcome moveToTrash(const QString &path);

    // The tree's folder in the file manager, with the selected file selected when it
    // lies directly in that folder.
    platform::Outcome openTreeFolder(const QString &treeFolder, const QString &selectedPath);
    // A folder path from the clipboard's text goes to navigate(), which gives false
    // when the tree cannot show it (a failure with pastePathText); anything but an
    // existing folder is ignored.
    platform::Outcome pasteFolderPath(const std::function<bool(const QString &)> &navigate);

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
    static platform::Outcome tooLongCheck(const QString &path);
    static platform::Outcome goneCheck(const QString &path);
    platform::Outcome copyInto(const QString &path, const QString &folder);

    platform::Services m_services;
    QWidget *m_window;
};

} // namespace pelmaris::shell
