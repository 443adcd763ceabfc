#pragma once

#include "platform/clipboard.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>

namespace pelmaris::platform {

class LinuxClipboard final : public Clipboard {
public:
    LinuxClipboard();
    ~LinuxClipboard() override;

    QString text() const override;
    bool hasText() const override;
    void setText(const QString &text) override;
    void setFiles(const QStringList &paths) override;
    void setImage(const QImage &image) override;
    void readText(QObject *context, qint64 maxBytes,
                  std::function<void(ClipboardText)> done) override;
    void cancelTextRead() override;

private:
    // The read's result comes back through this object, on the window's thread.
    std::unique_ptr<QObject> m_anchor;
    std::thread m_reader;
    std::atomic<bool> m_cancel{false};
    bool m_reading = false;
};

} // namespace pelmaris::platform
