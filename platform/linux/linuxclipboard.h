#pragma once

#include "platform/clipboard.h"

namespace pelmaris::platform {

class LinuxClipboard final : public Clipboard {
public:
    QString text() const override;
    bool hasText() const override;
    void setText(const QString &text) override;
    void setFiles(const QStringList &paths) override;
    void setImage(const QImage &image) override;
};

} // namespace pelmaris::platform
