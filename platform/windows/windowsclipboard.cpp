#include "platform/windows/windowsclipboard.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
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

} // namespace pelmaris::platform
