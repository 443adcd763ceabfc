#include "platform/fileio.h"

#include <QFileInfo>
#include <QSaveFile>

namespace pelmaris::platform {

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("Not a regular file"));
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile can lose a failed write (a full disk) and still
    // commit, renaming a short file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            const QString text = file.errorString();
            file.cancelWriting();
            return fail(text);
        }
        written += n;
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace pelmaris::platform
