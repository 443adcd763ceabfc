#pragma once

#include "platform/clipboard.h"

namespace pelmaris::platform {

// The clipboard in the formats Explorer reads and writes.
class WindowsClipboard final : public Clipboard {
public:
    QString text() const override;
    bool hasText() const override;
    void setText(const QString &text) override;
    // CF_HDROP (made by Qt from the file addresses) with "Preferred DropEffect" set to
    // copy, so that pasting in Explorer copies rather than moves.
    void setFiles(const QStringList &paths) override;
    void setImage(const QImage &image) override;
    // The system's clipboard answers on the window's thread; the read is queued there so
    // that the caller's turn ends first, as with a slow owner elsewhere.
    void readText(QObject *context, qint64 maxBytes,
                  std::function<void(ClipboardText)> done) override;
    void cancelTextRead() override;

private:
    bool m_reading = false;
    bool m_cancelled = false;
};

} // namespace pelmaris::platform
