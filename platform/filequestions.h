#pragma once

// What a file dialog is to ask and what it answered: plain values, so that the code
// that knows the question needs no dialog to make it.

#include <QList>
#include <QString>

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
// A chooser of one existing file: its title, where it opens and the types it lists in
// the filter form "Name (*.ext)"; empty fields leave the dialog's own.
struct FileChoice {
    QString title;
    QString start;
    QString filter;
};

} // namespace pelmaris::platform
