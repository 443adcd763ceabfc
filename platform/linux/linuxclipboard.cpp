#include "platform/linux/linuxclipboard.h"

#include "platform/linux/x11clipboardreader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace pelmaris::platform {

namespace {

// How long the owner may take for each step before the read gives up. The window stays
// live meanwhile and the read can be cancelled.
constexpr int kOwnerTimeoutMs = 10000;

} // namespace

LinuxClipboard::LinuxClipboard() : m_anchor(std::make_unique<QObject>()) {}

LinuxClipboard::~LinuxClipboard()
{
    m_cancel.store(true);
    if (m_reader.joinable())
        m_reader.join();
}

void LinuxClipboard::readText(QObject *context, qint64 maxBytes,
                              std::function<void(ClipboardText)> done)
{
    const QPointer<QObject> receiver(context);
    const auto answer = [receiver, done](ClipboardText read) {
        if (receiver)
            done(std::move(read));
    };
    if (m_reading) {
        QTimer::singleShot(0, m_anchor.get(), [answer] {
            answer(ClipboardText{ClipboardText::Status::NoAnswer, {}});
        });
        return;
    }
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        // Elsewhere Qt's own read is all there is; it gives up after a few seconds.
        ClipboardText read;
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        if (data && data->hasText()) {
            read.utf8 = data->text().toUtf8();
            read.status = read.utf8.size() > maxBytes ? ClipboardText::Status::TooLarge
                                                      : ClipboardText::Status::Text;
            if (read.status == ClipboardText::Status::TooLarge)
                read.utf8.clear();
        }
        QTimer::singleShot(0, m_anchor.get(), [answer, read] { answer(read); });
        return;
    }
    m_reading = true;
    m_cancel.store(false);
    if (m_reader.joinable())
        m_reader.join();
    m_reader = std::thread([this, maxBytes, answer] {
        ClipboardText read = readX11ClipboardText(maxBytes, kOwnerTimeoutMs, m_cancel);
        QMetaObject::invokeMethod(
            m_anchor.get(),
            [this, answer, read = std::move(read)] {
                m_reading = false;
                answer(read);
            },
            Qt::QueuedConnection);
    });
}

void LinuxClipboard::cancelTextRead()
{
    m_cancel.store(true);
}

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
