// Drives the real main window offscreen over a folder, as the program does when it is
// started with that folder, and measures how promptly it answers meanwhile:
//
//   bench_window [--timeout SECONDS] [--icon-theme NAME] FOLDER
//
// Prints when the window was made and first painted, when the list was built, and the
// lateness of a 5 ms timer from the window's show until the list is built (median,
// p99, max): the longest the window left input and painting waiting. Settings and
// caches go to a private folder, so the user's are neither read nor written. As on a
// desktop, an icon theme is in force (Adwaita unless told otherwise; "" for none): the
// offscreen platform has none of its own, which would hide the cost of icon lookups.
#include "app/apptitle.h"
#include "app/pelmarisform.h"
#include "platform/linux/linuxservices.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QIcon>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTickMs = 5;

// Notes the first paint of the window.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer &clock) : m_clock(clock) {}
    qint64 at = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (at < 0 && event->type() == QEvent::Paint)
            at = m_clock.elapsed();
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer &m_clock;
};

double percentile(std::vector<double> sorted, double p)
{
    if (sorted.empty())
        return 0;
    std::sort(sorted.begin(), sorted.end());
    const size_t i = std::min(sorted.size() - 1, size_t(p * double(sorted.size() - 1) + 0.5));
    return sorted[i];
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QTemporaryDir sandbox;
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qputenv(name, QFile::encodeName(sandbox.path() + u'/' + QLatin1String(name)));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    int timeoutSeconds = 300;
    QString iconTheme = QStringLiteral("Adwaita");
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--timeout") && i + 1 < args.size())
            timeoutSeconds = args[++i].toInt();
        else if (args[i] == QLatin1String("--icon-theme") && i + 1 < args.size())
            iconTheme = args[++i];
        else
            folder = args[i];
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr,
                     "usage: bench_window [--timeout SECONDS] [--icon-theme NAME] FOLDER\n");
        return 2;
    }
    QIcon::setThemeName(iconTheme);
    const QString title = pelmaris::app::applicationTitle(QApplication::applicationFilePath());
    QApplication::setApplicationName(title);

    const qint64 appReady = clock.elapsed();
    pelmaris::platform::LinuxServices platform(title);
    pelmaris::app::TPelmarisForm form(platform.services(), {folder});
    const qint64 made = clock.elapsed();
    FirstPaint firstPaint(clock);
    form.installEventFilter(&firstPaint);

    std::vector<double> lateness;
    qint64 firstTick = -1;
    qint64 worstEnded = -1;
    QElapsedTimer tick;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(kTickMs);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double late = std::max(0.0, tick.nsecsElapsed() / 1e6 - kTickMs);
        tick.restart();
        if (firstTick < 0)
            firstTick = clock.elapsed();
        if (lateness.empty() || late > *std::max_element(lateness.begin(), lateness.end()))
            worstEnded = clock.elapsed();
        lateness.push_back(late);
    });

    qint64 built = -1;
    QObject::connect(form.Scanner, &pelmaris::scan::ScanController::buildFinished, [&] {
        built = clock.elapsed();
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    QTimer::singleShot(timeoutSeconds * 1000, &app, &QCoreApplication::quit);

    // The probe runs from the show on: handlers that run inside it count as waiting.
    probe.start();
    tick.start();
    form.show();
    QApplication::exec();
    probe.stop();

    std::printf("folder: %s (icon theme \"%s\")\n", qPrintable(folder), qPrintable(iconTheme));
    std::printf("application ready %6lld ms; window made %6lld ms; first painted %6lld ms; "
                "first answered %6lld ms\n",
                appReady, made, firstPaint.at, firstTick);
    if (built < 0)
        std::printf("list not built within %d s (%lld rows so far)\n", timeoutSeconds,
                    static_cast<long long>(form.ListModel->rowCount()));
    else
        std::printf("list built at %.1f s: %lld rows\n", built / 1000.0,
                    static_cast<long long>(form.ListModel->rowCount()));
    std::printf("event loop lateness over %zu ticks: median %.1f ms, p99 %.1f ms, max %.1f ms\n",
                lateness.size(), percentile(lateness, 0.5), percentile(lateness, 0.99),
                lateness.empty() ? 0.0 : *std::max_element(lateness.begin(), lateness.end()));
    std::printf("the longest wait ended at %.1f s\n", worstEnded / 1000.0);
    return 0;
}
