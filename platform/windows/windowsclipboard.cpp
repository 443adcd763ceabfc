#include "platform/windows/windowsclipboard.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace pelmaris::platform {

QString WindowsClipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}

bool WindowsClipboard::hasText() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void WindowsClipboard::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void WindowsClipboard::setFiles(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    QStringList native;
    for (const QString &path : paths) {
        urls << QUrl::fromLocalFile(path);
        native << QDir::toNativeSeparators(path);
    }
    data->setUrls(urls);
    constexpr char DropEffectCopy[4] = {1, 0, 0, 0}; // DROPEFFECT_COPY as a DWORD
    data->setData(QStringLiteral("application/x-qt-windows-mime;value=\"Preferred DropEffect\""),
                  QByteArray(DropEffectCopy, 4));
    data->setText(native.join(QStringLiteral("\r\n")));
    QGuiApplication::clipboard()->setMimeData(data);
}

void WindowsClipboard::setImage(const QImage &image)
{
    QGuiApplication::clipboard()->setImage(image);
}

void WindowsClipboard::readText(QObject *context, qint64 maxBytes,
                                std::function<void(ClipboardText)> done)
{
    using Status = ClipboardText::Status;
    const QPointer<QObject> receiver(context);
    if (m_reading) {
        QTimer::singleShot(0, context, [receiver, done] {
            if (receiver)
                done({Status::NoAnswer, {}});
        });
        return;
    }
    m_reading = true;
    m_cancelled = false;
    QTimer::singleShot(0, context, [this, receiver, maxBytes, done] {
        m_reading = false;
        if (!receiver)
            return;
        if (m_cancelled) {
            done({Status::Cancelled, {}});
            return;
        }
        ClipboardText read;
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        if (data && data->hasText()) {
            read.utf8 = data->text().toUtf8();
            read.status = read.utf8.size() > maxBytes ? Status::TooLarge : Status::Text;
            if (read.status == Status::TooLarge)
                read.utf8.clear();
        }
        done(std::move(read));
    });
}

void WindowsClipboard::cancelTextRead()
{
    if (m_reading)
        m_cancelled = true;
}

} // namespace pelmaris::platform
