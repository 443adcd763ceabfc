#include "platform/fileio.h"

#include <QFileInfo>
#include <QSaveFile>

#include <csignal>

namespace pelmaris::platform {

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
#ifdef SIGXFSZ
    // Past a file-size limit the system would kill the process, the old file whole but
    // nothing said; ignored, the write fails with EFBIG and is reported like a full disk.
    // Set on every write: whoever changed it meanwhile is overruled.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
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
