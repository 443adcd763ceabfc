#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace pelmaris::platform {

// The desktop's clipboard. Each set call replaces whatever the clipboard held.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text; empty when it holds none.
    virtual QString text() const = 0;
    virtual bool hasText() const = 0;
    virtual void setText(const QString &text) = 0;
    // Files as file managers copy them (a URI list, and the copy marker GNOME-style
    // file managers read), with the paths as plain text beside them.
    virtual void setFiles(const QStringList &paths) = 0;
    virtual void setImage(const QImage &image) = 0;
};

} // namespace pelmaris::platform
