#pragma once

#include "platform/filequestions.h"

#include <QString>

class QWidget;

namespace pelmaris::platform {

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
