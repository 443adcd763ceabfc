// Drives the real main window offscreen through the list commands and prints how long
// each takes and how late a 5 ms timer ran meanwhile (the longest the window left input
// and painting waiting):
//
//   bench_listwindow [rows]     (default 100000; files are made in a temporary folder)
//
// A load of a detail-form text whose paths all exist, the column sorts by size and by
// name, a move to the top, a drop, and saves of both forms.
#include "app/apptitle.h"
#include "app/listfilecommands.h"
#include "app/ordercommands.h"
#include "app/pelmarisform.h"
#include "listio/listfile.h"
#include "listio/listloader.h"
#include "listio/listsaver.h"
#include "platform/linux/linuxservices.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace pelmaris;

namespace {

constexpr int kTickMs = 5;

// The lateness of a 5 ms timer while something runs, in the event loop or not.
class Lateness {
public:
    Lateness()
    {
        m_probe.setTimerType(Qt::PreciseTimer);
        m_probe.setInterval(kTickMs);
        QObject::connect(&m_probe, &QTimer::timeout, [this] {
            m_max = std::max(m_max, m_tick.nsecsElapsed() / 1e6 - kTickMs);
            m_tick.restart();
        });
    }
    void start()
    {
        m_max = 0;
        m_tick.start();
        m_probe.start();
    }
    double stop()
    {
        m_probe.stop();
        return std::max(m_max, m_tick.nsecsElapsed() / 1e6 - kTickMs);
    }

private:
    QTimer m_probe;
    QElapsedTimer m_tick;
    double m_max = 0;
};

void waitUntil(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void report(const char *what, qint64 ms, double late)
{
    std::printf("%-34s %7lld ms   window waited at most %6.1f ms\n", what, ms, late);
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir sandbox;
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qputenv(name, QFile::encodeName(sandbox.path() + u'/' + QLatin1String(name)));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(2, QByteArray(argv[1]).toInt()) : 100000;
    const QString title = app::applicationTitle(QApplication::applicationFilePath());
    QApplication::setApplicationName(title);

    // The files: empty, a thousand to a folder, with details that differ.
    QString text;
    for (int i = 0; i < rows; ++i) {
        const QString folder = sandbox.filePath(QStringLiteral("pics/folder %1").arg(i / 1000));
        if (i % 1000 == 0)
            QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/picture %1.jpg").arg(i);
        QFile(path).open(QIODevice::WriteOnly);
        text +=
            QStringLiteral("\"%1\",\"jpeg\",\"%2\",\"1,920\",\"1,080\",\"2024/05/06 07:08:09\"\r\n")
                .arg(path, QLocale(QLocale::English).toString((i * 7919) % 5000000));
    }

    platform::LinuxServices platform(title);
    app::TPelmarisForm form(platform.services(), {});
    form.show();
    waitUntil([&] { return form.isVisible(); });
    Lateness lateness;
    QElapsedTimer clock;

    lateness.start();
    clock.start();
    form.ListFiles->LoadListFromText(text);
    waitUntil(
        [&] { return !form.ListFiles->Loader->isLoading() && form.ui().btnCancel1->isHidden(); });
    report(qPrintable(QStringLiteral("load of %1 lines").arg(rows)), clock.elapsed(),
           lateness.stop());
    std::printf("  rows: %d\n", form.ListModel->rowCount());

    for (const auto &[column, what] : {std::pair{2, "column sort by size"},
                                       {2, "the same, reversed"},
                                       {0, "column sort by name"}}) {
        lateness.start();
        clock.start();
        form.Order->ListView1ColumnClick(column);
        report(what, clock.elapsed(), lateness.stop());
    }

    auto select = [&](int row) {
        form.ui().ListView1Icons->selectionModel()->setCurrentIndex(
            form.ListModel->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    select(rows - 1);
    lateness.start();
    clock.start();
    form.Order->pm1ToTopClick();
    report("last row to the top", clock.elapsed(), lateness.stop());

    select(rows - 1);
    const QPoint first = form.ui().ListView1Icons->visualRect(form.ListModel->index(0, 0)).center();
    lateness.start();
    clock.start();
    form.Order->ListView1DragDrop(first);
    report("last row dropped on the first", clock.elapsed(), lateness.stop());

    for (const auto &[form_, name] :
         {std::pair{listio::ListForm::Detail, "list.csv"}, {listio::ListForm::Path, "list.txt"}}) {
        form.Scanner->setScanList([&] {
            QStringList paths;
            for (const auto &item : form.ListModel->items())
                paths << item.caption;
            return paths;
        }());
        lateness.start();
        clock.start();
        form.ListFiles->saveListTo({sandbox.filePath(QLatin1String(name)), form_});
        waitUntil(
            [&] { return !form.ListFiles->Saver->isSaving() && form.ui().ListView1->isEnabled(); });
        report(form_ == listio::ListForm::Detail ? "save, detail form" : "save, path form",
               clock.elapsed(), lateness.stop());
        std::printf("  %lld bytes\n", QFileInfo(sandbox.filePath(QLatin1String(name))).size());
    }
    return 0;
}
