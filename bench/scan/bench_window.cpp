// Drives the real main window offscreen over a folder, as the program does when it is
// started with that folder, and measures how promptly it answers meanwhile:
//
//   bench_window [--timeout SECONDS] [--icon-theme NAME] [--cache FOLDER] [--accessibility]
//                FOLDER
//
// Prints when the window was made and first painted, when the list was built, and the
// lateness of a 5 ms timer from the window's show until the list is built (median,
// p99, max): the longest the window left input and painting waiting. Settings and
// caches go to a private folder, so the user's are neither read nor written (--cache
// names the cache folder to use instead, kept between runs for a rescan). As on a
// desktop, an icon theme is in force (Adwaita unless told otherwise; "" for none): the
// offscreen platform has none of its own, which would hide the cost of icon lookups.
//
// With --accessibility the accessibility bridge is on, and a stand-in for a screen reader
// (accessibilityprobe.h) asks the list about itself while it fills; the times of its
// answers are printed as well. The bridge needs the X11 platform and an accessibility
// bus: run_window_a11y.sh runs the benchmark so, under Xvfb and a session bus of its own.
#include "accessibilityprobe.h"
#include "app/pelmarisform.h"
#include "app/programentry.h"
#include "app/viewercommands.h"
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

// The reader's answers while the list filled: from the list's discovery to its end.
void printAnswers(const AccessibilityProbe &reader, qint64 built)
{
    if (!reader.problem().isEmpty()) {
        std::printf("accessibility: %s\n", qPrintable(reader.problem()));
        return;
    }
    std::vector<double> took;
    double worstAt = 0;
    for (const AccessibilityProbe::Answer &a : reader.answers()) {
        if (a.at > double(built))
            break;
        if (took.empty() || a.took > *std::max_element(took.begin(), took.end()))
            worstAt = a.at;
        took.push_back(a.took);
    }
    std::printf("accessibility: list found at %.1f s; %zu requests answered until built "
                "(%d failed): median %.1f ms, p99 %.1f ms, max %.1f ms (sent at %.1f s)\n",
                reader.foundAt() / 1000.0, took.size(), reader.failedRequests(),
                percentile(took, 0.5), percentile(took, 0.99),
                took.empty() ? 0.0 : *std::max_element(took.begin(), took.end()), worstAt / 1000.0);
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QTemporaryDir sandbox;
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        qputenv(name, QFile::encodeName(sandbox.path() + u'/' + QLatin1String(name)));
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--cache") == 0)
            qputenv("XDG_CACHE_HOME", argv[i + 1]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    bool accessibility = false;
    for (int i = 1; i < argc; ++i)
        accessibility = accessibility || qstrcmp(argv[i], "--accessibility") == 0;
    // Read when the application starts: the bridge loads then or never.
    if (accessibility)
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

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
        else if (args[i] == QLatin1String("--cache") && i + 1 < args.size())
            ++i;
        else if (args[i] == QLatin1String("--accessibility"))
            continue;
        else
            folder = args[i];
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr,
                     "usage: bench_window [--timeout SECONDS] [--icon-theme NAME] [--cache FOLDER] "
                     "[--accessibility] FOLDER\n");
        return 2;
    }
    QIcon::setThemeName(iconTheme);
    pelmaris::app::prepareApplication(app);
    const QString title = QApplication::applicationName();

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
    AccessibilityProbe reader(clock);
    // The reader stops while the window still answers it.
    QTimer ending;
    ending.setInterval(kTickMs);
    QObject::connect(&ending, &QTimer::timeout, [&] {
        // exit(), not quit(): the window refuses to close while it lists, and a quit
        // that closes no window is dropped.
        if (!accessibility || reader.isDone())
            QCoreApplication::exit(0);
    });
    const auto finish = [&] {
        reader.requestStop();
        ending.start();
    };
    QObject::connect(form.Scanner, &pelmaris::scan::ScanController::buildFinished, [&] {
        built = clock.elapsed();
        QTimer::singleShot(0, &app, finish);
    });
    QTimer::singleShot(timeoutSeconds * 1000, &app, finish);

    if (accessibility)
        reader.start();

    // The probe runs from the show on: handlers that run inside it count as waiting.
    probe.start();
    tick.start();
    form.show();
    form.Viewer->createViewer(); // as the program does, after the first show
    QApplication::exec();
    probe.stop();
    reader.stop();

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
    if (accessibility)
        printAnswers(reader, built < 0 ? clock.elapsed() : built);
    return 0;
}
