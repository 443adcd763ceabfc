#pragma once

#include "platform/services.h"

#include <QObject>

class QWidget;

namespace pelmaris::scan {
class ScanController;
}

namespace pelmaris::app {

class ListPage;
class ListViewState;
class MenuCommands;

// What the list menu puts on the clipboard: the list as text, and the selected row's
// path, file and picture.
class ClipboardCommands : public QObject {
    Q_OBJECT

public:
    ClipboardCommands(const platform::Services &services, QWidget *window, MenuCommands &menus,
                      ListPage &list, const ListViewState &view,
                      const scan::ScanController &scanner, QObject *parent = nullptr);

    void pm1CopyListClick();
    void pm1CopyPathClick();
    void pm1CopyFileClick();
    void pm1CopyImageClick();

private:
    // The selected row's path; empty without a selected row.
    QString selectedPath() const;

    platform::Services m_services;
    QWidget *m_window;
    ListPage &m_list;
    const ListViewState &m_view;
    const scan::ScanController &m_scanner;
};

} // namespace pelmaris::app
