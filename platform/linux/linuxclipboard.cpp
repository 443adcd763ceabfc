#include "platform/linux/linuxclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace pelmaris::platform {

QString LinuxClipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}

bool LinuxClipboard::hasText() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void LinuxClipboard::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void LinuxClipboard::setFiles(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    QByteArray copied("copy");
    for (const QString &path : paths) {
        const QUrl url = QUrl::fromLocalFile(path);
        urls << url;
        copied += '\n' + url.toEncoded();
    }
    data->setUrls(urls); // text/uri-list
    data->setData(QStringLiteral("x-special/gnome-copied-files"), copied);
    data->setText(paths.join(u'\n'));
    QGuiApplication::clipboard()->setMimeData(data);
}

void LinuxClipboard::setImage(const QImage &image)
{
    QGuiApplication::clipboard()->setImage(image);
}

} // namespace pelmaris::platform
