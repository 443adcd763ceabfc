#pragma once

#include "app/formcontext.h"

#include <QObject>

namespace pelmaris::app {

// What the folder tree's menu hands out: the scan list and the tree's folder as text,
// and the folder given to an entry of the SendTo folder. (The save of the scan list is
// the list files' own; the order entries are check marks the next scan reads.)
class FolderListCommands : public QObject {
    Q_OBJECT

public:
    explicit FolderListCommands(const FormContext &context, QObject *parent = nullptr);

    void pm3CopyFileListClick();
    void pm3CopyPathClick();
    void pm3SendToClick();

private:
    FormContext m_c;
};

} // namespace pelmaris::app
