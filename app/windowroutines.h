#pragma once

#include "app/formcontrols.h"
#include "app/formstate.h"
#include "app/listpage.h"
#include "platform/services.h"

#include <QtGlobal>

namespace pelmaris::scan {
class ImageListModel;
}

namespace pelmaris::app {

class CountCaptions;
class ListViewState;
class PageButtons;

// The window-level routines every command uses: the greyed Close command while busy, the
// busy cursor, taskbar progress, the list's controls, the selected row. It is also the
// list as the row commands see it.
class WindowRoutines : public ListPage {
public:
    WindowRoutines(const platform::Services &services, FormControls &ui, FormState &state,
                   ListViewState &list, scan::ImageListModel &model, PageButtons &pageButtons,
                   CountCaptions &captions);

    void SetCloseEnabled(bool enabled);
    bool closeEnabled() const { return m_closeEnabled; }
    // Makes `button` a child of `control`, sized and centred over it.
    static void CenterCancelButton(QWidget *button, QWidget *control);

    void setBusyCursor(bool busy) override;
    // Taskbar progress while the window shows it; a maximum of 0 hides it.
    void setTaskbarProgress(qint64 value, qint64 maximum);

    // Switches the list's controls on or off; on, an empty list keeps them off.
    void EnableListControls(bool enable);
    // The list's controls as an empty or a filled list leaves them.
    void showListState();

    // What "全選択" does: every row checked ("選択表示(n)") or unchecked ("選択表示"),
    // and "10%" unchecked without its own action.
    void checkAllRows(bool all);

    int rowCount() const;
    const scan::ImageListModel &rows() const override { return m_model; }
    int selectedRow() const override;
    void selectRow(int row) override;
    void removeRow(int row) override;
    QItemSelectionModel *selection() const override;
    void setStatus(const QString &text) override;
    void scrollToTop();

private:
    platform::Services m_services;
    FormControls &m_ui;
    FormState &m_state;
    ListViewState &m_list;
    scan::ImageListModel &m_model;
    PageButtons &m_pageButtons;
    CountCaptions &m_captions;
    bool m_closeEnabled = true;
    bool m_busyCursor = false;
};

} // namespace pelmaris::app
