#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace pelmaris::platform {

// One file type of a file dialog: its name and the pattern of names it lists.
struct FileFilter {
    QString name;    // "CSV"
    QString pattern; // "*.csv"; "*" lists every file
};

struct FileDialogRequest {
    QString title;     // empty: the dialog's own
    QString directory; // where it opens; empty: the dialog's own choice
    QString fileName;  // the suggested name
    QList<FileFilter> filters;
    int filterIndex = 0; // the type selected when it opens
    // Save dialogs: a name typed without an extension gets that of the selected type
    // (none for a type whose pattern names no single extension) before the overwrite
    // question, so the question is asked about the file that will be written.
    bool typeExtension = true;
    bool confirmOverwrite = true;
    // Open dialogs: a link is itself the choice, even a link to a folder, which the dialog
    // would otherwise open (the entries of a folder of send-to targets).
    bool chooseLinks = false;
};

struct FileDialogAnswer {
    QString path;        // empty when the user cancelled
    int filterIndex = 0; // the type selected when the dialog closed
};
enum class Answer { Yes, No, Cancel };

// Message boxes and file dialogs. Every box is captioned with the application title.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A plain report: one OK button, no icon.
    virtual void message(QWidget *parent, const QString &text) = 0;
    // A plain report centred on the screen rather than on a window.
    virtual void messageCentered(const QString &text) = 0;
    // An error report (error icon, one OK button).
    virtual void error(QWidget *parent, const QString &text) = 0;
    // A Yes/No question with the question icon; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &text) = 0;
    // File choosers; an empty result means the user cancelled.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &start,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &start,
                                 const QString &filter) = 0;
    // File dialogs with a list of types, which report the type chosen as well.
    virtual FileDialogAnswer saveFile(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual FileDialogAnswer openFile(QWidget *parent, const FileDialogRequest &request) = 0;
    // A question with the question icon and the buttons "はい", "いいえ", "キャンセル";
    // closing the box is Cancel.
    virtual Answer askYesNoCancel(QWidget *parent, const QString &text) = 0;
};

} // namespace pelmaris::platform
