#include "platform/tempfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace pelmaris::platform {

bool createFileExclusively(const QString &path, QString *error)
{
    QFile file(path);
    // NewOnly is O_CREAT|O_EXCL: it refuses an existing name, a dangling link included.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool makeTempFileNames(const QString &dir, TempFileNames *names, QString *error)
{
    QString lastError;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString stem = QDir(dir).filePath(
            QStringLiteral("tmp") +
            QStringLiteral("%1")
                .arg(QRandomGenerator::system()->bounded(0x10000u), 4, 16, QLatin1Char('0'))
                .toUpper() +
            QStringLiteral(".tmp"));
        if (!createFileExclusively(stem, &lastError))
            continue;
        const QString base = stem.left(stem.size() - 4);
        const QString html = base + QStringLiteral(".html");
        const bool ok = createFileExclusively(html, &lastError);
        QFile::remove(stem);
        if (!ok)
            continue;
        names->stem = stem;
        names->html = html;
        names->ico = base + QStringLiteral(".ico");
        names->icon = base + QStringLiteral(".icon");
        return true;
    }
    if (error)
        *error = lastError;
    return false;
}

bool scrubAndRemove(const QString &path, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    // Only the regular file this run made is opened: a FIFO put in its place would block,
    // a device stream for ever, and a link would have its target overwritten. The name
    // alone is removed then.
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile())) {
        QFile::remove(path);
        return fail(QStringLiteral("Not a regular file"));
    }
    QFile file(path);
    // ExistingOnly: a page that is already gone must not be created just to be removed.
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return fail(file.errorString());
    // Byte for byte, so that no tail of a longer multi-byte line survives.
    QByteArray bytes = file.readAll();
    for (char &c : bytes)
        if (c != '\n' && c != '\r')
            c = '\0';
    const bool scrubbed = file.seek(0) && file.write(bytes) == bytes.size() && file.flush();
    const QString scrubError = scrubbed ? QString() : file.errorString();
    if (!file.remove())
        return fail(file.errorString());
    return scrubbed || fail(scrubError);
}

} // namespace pelmaris::platform
