#include "app/windowroutines.h"

#include "app/countcaptions.h"
#include "app/listviewstate.h"
#include "app/pagebuttons.h"
#include "platform/desktop.h"
#include "scan/imagelistmodel.h"
#include "shell/shellroutines.h"

#include <QApplication>
#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeView>

#include <algorithm>

namespace pelmaris::app {

WindowRoutines::WindowRoutines(const platform::Services &services, QMainWindow *window,
                               FormControls &ui, FormState &state, ListViewState &list,
                               scan::ImageListModel &model, PageButtons &pageButtons,
                               CountCaptions &captions)
    : m_services(services), m_window(window), m_ui(ui), m_state(state), m_list(list),
      m_model(model), m_pageButtons(pageButtons), m_captions(captions)
{
}

void WindowRoutines::SetCloseEnabled(bool enabled)
{
    m_closeEnabled = enabled;
}

void WindowRoutines::CenterCancelButton(QWidget *button, QWidget *control)
{
    if (button->parentWidget() != control) {
        const bool visible = button->isVisible();
        button->setParent(control);
        button->setVisible(visible);
    }
    const int w = control->width();
    const int h = control->height();
    const int bw = w > h ? w / 4 : w / 2;
    const int bh = h / 4;
    button->setGeometry((w - bw) / 2, (h - bh) / 2, bw, bh);
    button->raise();
}

void WindowRoutines::setBusyCursor(bool busy)
{
    if (busy == m_busyCursor)
        return;
    m_busyCursor = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void WindowRoutines::setTaskbarProgress(qint64 value, qint64 maximum)
{
    if (!m_state.IsTaskBarShowing)
        return;
    const int percent = maximum > 0 ? int(value * 100 / maximum) : 0;
    m_services.desktop->setTaskbarProgress(percent, maximum > 0);
}

void WindowRoutines::EnableListControls(bool enable)
{
    const QList<QWidget *> rowControls = {m_ui.GridPanel2, m_ui.CheckBoxAll1, m_ui.CheckBoxTop10,
                                          m_ui.RbPreView,  m_ui.RbReport,     m_ui.BtnShuffle1,
                                          m_ui.ListView1,  m_ui.GridPanel1};
    for (QWidget *w : rowControls)
        w->setEnabled(enable);
    for (QWidget *w : m_ui.GridPanel1->findChildren<QWidget *>())
        w->setEnabled(enable);
    if (!enable) {
        m_ui.BtnShuffle1->setIcon(QIcon());
        m_pageButtons.setImage(-1);
    } else {
        showListState();
    }
}

void WindowRoutines::showListState()
{
    if (rowCount() == 0) {
        m_ui.GridPanel2->setEnabled(false);
        m_ui.BtnShuffle1->setIcon(QIcon());
        m_ui.BtnShuffle1->setEnabled(false);
        m_ui.GridPanel1->setEnabled(false);
        m_pageButtons.setImage(-1);
        m_ui.btnBrowse1->setEnabled(false);
        m_ui.btnBrowse3->setEnabled(false);
    } else {
        m_pageButtons.showBrowser(m_state.BrowserName1);
        m_ui.BtnShuffle1->setIcon(QIcon::fromTheme(QStringLiteral("media-playlist-shuffle")));
    }
}

void WindowRoutines::checkAllRows(bool all)
{
    m_model.setAllChecked(all);
    if (all)
        m_captions.checkedCount(m_model.rowCount());
    else
        m_captions.noneChecked();
    m_list.setTopTenthChecked(false);
}

int WindowRoutines::rowCount() const
{
    return m_model.rowCount();
}

int WindowRoutines::selectedRow() const
{
    const QItemSelectionModel *selection = m_ui.ListView1Icons->selectionModel();
    const QModelIndex current = selection->currentIndex();
    return current.isValid() && selection->isRowSelected(current.row(), {}) ? current.row() : -1;
}

QItemSelectionModel *WindowRoutines::selection() const
{
    return m_ui.ListView1Icons->selectionModel();
}

QString WindowRoutines::status() const
{
    return m_ui.StatusPanel1->text();
}

void WindowRoutines::setStatus(const QString &text)
{
    m_ui.StatusPanel1->setText(text);
}

void WindowRoutines::selectRow(int row)
{
    const QModelIndex index = m_model.index(row, 0);
    m_ui.ListView1Icons->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_ui.ListView1Icons->scrollTo(index);
    m_ui.ListView1Details->scrollTo(index);
}

void WindowRoutines::removeRow(int row)
{
    m_model.removeRows(row, 1);
    const int rows = m_model.rowCount();
    m_captions.rowCounts(rows);
    if (rows == 0) {
        showListState();
        return;
    }
    selectRow(std::min(row, rows - 1));
}

void WindowRoutines::scrollToTop()
{
    m_ui.ListView1Icons->scrollToTop();
    m_ui.ListView1Details->scrollToTop();
}

void WindowRoutines::showScanRunning()
{
    m_ui.ListView1->setEnabled(false);
    m_ui.btnBrowse1->setEnabled(false);
    m_captions.scanRunning();
    m_ui.btnBrowse3->setEnabled(false);
}

void WindowRoutines::showScanDone(qint64 found)
{
    m_ui.btnBrowse3->setEnabled(true);
    m_ui.GridPanel1->setEnabled(true);
    for (QWidget *w : m_ui.GridPanel1->findChildren<QWidget *>())
        w->setEnabled(true);
    m_captions.filesFound(found);
    m_pageButtons.showBrowser(m_state.BrowserName1);
}

void WindowRoutines::showBuildDone(int rows)
{
    EnableListControls(true);
    m_captions.rowCounts(rows);
    m_captions.checkedCount(rows);
    m_ui.btnBrowse1->setEnabled(true);
    m_ui.btnBrowse3->setEnabled(true);
}

void WindowRoutines::showLoadDone(int rows)
{
    m_ui.btnBrowse1->setEnabled(true);
    m_captions.rowCounts(rows);
    EnableListControls(true);
}

void WindowRoutines::setListEnabled(bool enabled)
{
    m_ui.ListView1->setEnabled(enabled);
}

void WindowRoutines::showLeftOut(const QString &leftOut)
{
    QLabel *status = m_ui.StatusPanel1;
    status->setToolTip({});
    if (leftOut.isEmpty())
        return;
    // The names make the text longer than the panel: the panel shows its beginning, the
    // tooltip all of it.
    status->setText(status->text() + QStringLiteral("  ") + leftOut);
    status->setToolTip(status->text());
}

void WindowRoutines::showFolder(const QString &path)
{
    const QStatusBar *bar = m_window->statusBar();
    const int width = bar->width() - m_ui.StatusPanel0->width() - 80;
    m_ui.StatusPanel1->setText(
        QFontMetrics(bar->font()).elidedText(path, Qt::ElideLeft, qMax(0, width)));
}

void WindowRoutines::flashWhenInBackground()
{
    if (!m_window->isActiveWindow())
        shell::FlashTaskbarButton(m_services, m_window, 10, 500);
}

} // namespace pelmaris::app
