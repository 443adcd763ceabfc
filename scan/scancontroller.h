#pragma once

// The folder scan and the image list building, for the main window.
//
// The window owns one ImageListModel (shown by both the preview and the detail view)
// and one ScanController over it. A scan is two steps, each off the UI thread:
//
//   controller.startScan(folder, order);      // scanProgress(found) ~20 times a second
//   -> scanFinished(cancelled)                 // scanList() is now ScanList, in order
//   controller.startBuild(settings);           // buildProgress(tried, total), rows
//   -> buildFinished(cancelled)                //   arrive in the model in list order
//
// Cancel buttons call cancelScan() / cancelBuild(); both end their work at once and
// keep what was found or listed so far. While isBusy() the window refuses a second
// scan. The texts of the status bar and captions come from listtexts.h; the window
// only adds the row count of an additive scan to them. After scanFinished, leftOut()
// says what the walk could not list; leftOutText() (leftout.h) makes the line to show
// when that is anything. The rebuild command calls SortScanList(order) and
// startBuild() again.

#include "scan/folderwalk.h"
#include "scan/imagelistbuilder.h"
#include "scan/pathorder.h"

#include <QFuture>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::scan {

class ImageListModel;

class ScanController : public QObject {
    Q_OBJECT

public:
    // The walk reads folders, and the build opens files, through `fileSystem`, which
    // outlives the controller.
    ScanController(ImageListModel &model, platform::FileSystem &fileSystem,
                   QObject *parent = nullptr);
    // Tests pass a generator with a known seed; the program's is seeded once per run.
    ScanController(ImageListModel &model, platform::FileSystem &fileSystem, RandomEngine engine,
                   QObject *parent = nullptr);
    ~ScanController() override;

    // The program's one random generator: the random orders and the shuffle draw from it.
    RandomEngine &randomEngine() { return m_engine; }

    // ScanList: every file of the last scan, in the chosen order.
    const QStringList &scanList() const { return m_scanList; }
    void setScanList(QStringList paths);

    bool isScanning() const { return m_walk != nullptr; }
    bool isBuilding() const { return m_building; }
    bool isBusy() const { return isScanning() || isBuilding(); }

    // Empties ScanList and walks `folder`; false (and nothing happens) while busy.
    bool startScan(const QString &folder, ScanOrder order, const WalkOptions &options = {});
    void cancelScan();
    // Files collected so far by the running or last scan; exact after scanFinished.
    qint64 foundCount() const;
    // What the last scan could not list, and why; exact after scanFinished.
    const LeftOut &leftOut() const { return m_leftOut; }

    // Orders ScanList now (the rebuild does this); refused while busy.
    bool SortScanList(ScanOrder order);

    // Appends one checked row per decodable path of ScanList; false while busy.
    bool startBuild(const BuildSettings &settings = {});
    void cancelBuild();
    // Paths of ScanList settled so far (listed or skipped), in list order.
    qint64 triedCount() const { return m_tried; }

Q_SIGNALS:
    void scanProgress(qint64 found);
    void scanFinished(bool cancelled);
    void buildProgress(qint64 tried, qint64 total);
    void buildFinished(bool cancelled);

private:
    struct Walk;
    void poll();
    void pollWalk();
    void pollBuild();

    ImageListModel &m_model;
    platform::FileSystem &m_fileSystem;
    RandomEngine m_engine;
    QStringList m_scanList;
    QTimer m_timer;
    std::unique_ptr<Walk> m_walk;
    qint64 m_lastFound = 0;
    LeftOut m_leftOut;
    ImageListBuilder m_builder;
    bool m_building = false;
    qint64 m_tried = 0;
};

} // namespace pelmaris::scan
