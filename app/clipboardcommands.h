#pragma once

#include "app/formcontext.h"

#include <QObject>

namespace pelmaris::app {

// What the list menu puts on the clipboard: the list as text, and the selected row's
// path, file and picture.
class ClipboardCommands : public QObject {
    Q_OBJECT

public:
    explicit ClipboardCommands(const FormContext &context, QObject *parent = nullptr);

    void pm1CopyListClick();
    void pm1CopyPathClick();
    void pm1CopyFileClick();
    void pm1CopyImageClick();

private:
    // The selected row's path; empty without a selected row.
    QString selectedPath() const;

    FormContext m_c;
};

} // namespace pelmaris::app
