#pragma once

#include "app/formcontrols.h"
#include "app/formstate.h"
#include "app/listpage.h"
#include "app/scanview.h"
#include "platform/services.h"

#include <QtGlobal>

class QMainWindow;

namespace pelmaris::scan {
class ImageListModel;
}

namespace pelmaris::app {

class CountCaptions;
class ListViewState;
class PageButtons;

// The window-level routines every command uses: the greyed Close command while busy, the
// busy cursor, taskbar progress, the list's controls, the selected row. It plays the
// list as the row commands see it, and the folder page as the work on the list shows
// itself there.
class WindowRoutines : public ListPage, public ScanView {
public:
    WindowRoutines(const platform::Services &services, QMainWindow *window, FormControls &ui,
                   FormState &state, ListViewState &list, scan::ImageListModel &model,
                   PageButtons &pageButtons, CountCaptions &captions);

    void SetCloseEnabled(bool enabled) override;
    bool closeEnabled() const { return m_closeEnabled; }
    // Makes `button` a child of `control`, sized and centred over it.
    static void CenterCancelButton(QWidget *button, QWidget *control);

    void setBusyCursor(bool busy) override;
    void setTaskbarProgress(qint64 value, qint64 maximum) override;

    void EnableListControls(bool enable) override;
    // The list's controls as an empty or a filled list leaves them.
    void showListState();

    void checkAllRows(bool all) override;

    int rowCount() const;
    const scan::ImageListModel &rows() const override { return m_model; }
    int selectedRow() const override;
    void selectRow(int row) override;
    void removeRow(int row) override;
    QItemSelectionModel *selection() const override;
    QString status() const override;
    void setStatus(const QString &text) override;
    void scrollToTop() override;

    void showScanRunning() override;
    void showScanDone(qint64 found) override;
    void showBuildDone(int rows) override;
    void showLoadDone(int rows) override;
    void setListEnabled(bool enabled) override;
    void showLeftOut(const QString &leftOut) override;
    void showFolder(const QString &path) override;
    void flashWhenInBackground() override;

private:
    platform::Services m_services;
    QMainWindow *m_window;
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
