#pragma once

#include "gallery/viewerpicture.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::gallery {

// Decodes the viewer's pictures on a thread of its own, one at a time, so that no
// picture, however large or hostile, holds up the window. A new request cancels the one
// before it; only the latest request's picture arrives, and a cancelled one never does.
class ViewerLoader : public QObject {
    Q_OBJECT

public:
    // `fileSystem` and `budget` (null for the process-wide one) outlive the loader.
    explicit ViewerLoader(platform::FileSystem &fileSystem, scan::DecodeBudget *budget = nullptr,
                          QObject *parent = nullptr);
    // Cancels what runs and waits for it: a cancel ends a decode at once.
    ~ViewerLoader() override;

    void load(const QString &path, QSize screen);
    void cancel();
    // A request whose picture has not arrived yet.
    bool isLoading() const { return m_loading; }
    // The decode of a cancelled request may still be ending.
    bool isIdle() const;

Q_SIGNALS:
    void loaded(const QString &path, const pelmaris::gallery::ViewerPicture &picture);

private:
    platform::FileSystem &m_fileSystem;
    scan::DecodeBudget *m_budget;
    QThreadPool m_pool;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    quint64 m_generation = 0;
    bool m_loading = false;
};

} // namespace pelmaris::gallery
