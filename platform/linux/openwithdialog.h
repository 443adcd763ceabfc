#pragma once

#include "platform/linux/gioshell.h"

#include <QDialog>

class QListWidget;

namespace pelmaris::platform {

// Lists the applications registered for a file's type, plus any program file the user
// picks; the window's caller starts what was chosen.
class OpenWithDialog final : public QDialog {
    Q_OBJECT
public:
    OpenWithDialog(const QString &path, const QList<gio::Application> &applications,
                   QWidget *parent = nullptr);

    // After accept: the chosen launcher, or the program file picked through
    // "その他のプログラム..."; exactly one of them is set.
    QString chosenEntry() const { return m_entry; }
    QString chosenProgram() const { return m_program; }

    // Accepts with the application in the given row (what a double-click does).
    void chooseRow(int row);

private:
    void pickOtherProgram();

    QList<gio::Application> m_applications;
    QListWidget *m_list = nullptr;
    QString m_entry;
    QString m_program;
};

} // namespace pelmaris::platform
