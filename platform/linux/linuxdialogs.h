#pragma once

#include "platform/dialogs.h"

namespace pelmaris::platform {

// Qt's message boxes and file dialogs; their buttons speak the loaded translation.
class LinuxDialogs final : public Dialogs {
public:
    explicit LinuxDialogs(QString title) : m_title(std::move(title)) {}

    void message(QWidget *parent, const QString &text) override;
    void messageCentered(const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool askYesNo(QWidget *parent, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &start,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &start,
                         const QString &filter) override;
    FileDialogAnswer saveFile(QWidget *parent, const FileDialogRequest &request) override;
    FileDialogAnswer openFile(QWidget *parent, const FileDialogRequest &request) override;
    Answer askYesNoCancel(QWidget *parent, const QString &text) override;

private:
    QString m_title;
};

} // namespace pelmaris::platform
