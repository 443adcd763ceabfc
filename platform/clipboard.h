#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace pelmaris::platform {

// What a read of the clipboard's text found.
struct ClipboardText {
    enum class Status {
        Text,      // `utf8` holds it
        NoText,    // the clipboard is empty or holds no text
        TooLarge,  // more than the reader's limit: nothing kept
        NoAnswer,  // its owner did not answer in time, or the read failed
        Cancelled, // cancelTextRead() came first
    };
    Status status = Status::NoText;
    QByteArray utf8;
};

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

    // Reads the text without waiting on the calling thread (the clipboard's owner may
    // take long or never answer): `done` runs once, later, on `context`'s thread, unless
    // `context` is gone by then. Text of more than maxBytes in UTF-8 is not kept. One
    // read at a time: a second request while one runs is answered NoAnswer at once.
    virtual void readText(QObject *context, qint64 maxBytes,
                          std::function<void(ClipboardText)> done) = 0;
    // Ends the running read, which reports Cancelled; nothing without one.
    virtual void cancelTextRead() = 0;
};

} // namespace pelmaris::platform
