#include "gallery/pagewriter.h"

#include "gallery/htmlpage.h"
#include "platform/commandline.h"
#include "platform/fileio.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/styles.h"
#include "platform/systeminfo.h"
#include "shell/shellroutines.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

namespace pelmaris::gallery {

platform::Outcome writePageFile(const QString &path, const QStringList &lines)
{
    qsizetype size = 3;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    text += QChar(0xfeff);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    QString error;
    if (!platform::writeWholeFile(path, text.toUtf8(), &error))
        return platform::Outcome::failure(error);
    return {};
}

bool writeIconFileOnce(const QString &path, const QIcon &icon, int size)
{
    if (path.isEmpty())
        return false;
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    if (image.isNull())
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "ico").write(image))
        return false;
    // Under a free name only, whole or not at all: a full disk leaves no half icon behind.
    platform::WriteOptions options;
    options.exclusive = true;
    return platform::writeWholeFile(path, bytes, options);
}

platform::Outcome openPage(const platform::Services &services, const QString &browserName1,
                           const QString &pagePath)
{
    if (browserName1.isEmpty())
        return shell::ShellOpen(services, pagePath);
    return shell::ShellOpenWith(services, browserName1, platform::quoteArgument(pagePath));
}

platform::Outcome writeHtmlFile(const platform::Services &services, const PageRequest &request)
{
    if (request.paths.isEmpty())
        return {};
    writeIconFileOnce(request.files.ico, request.programIcon, 32);
    if (!QFileInfo::exists(request.files.icon))
        writeIconFileOnce(request.files.icon, services.shell->driveIcon(request.paths.first()), 16);

    PageInput in;
    in.paths = request.paths;
    in.layout = request.layout;
    in.workArea = services.system->workArea().size();
    in.colors = pageColors(*services.styles, request.light);
    in.pageIconPath = request.files.ico;
    in.driveIconPath = request.files.icon;
    in.title = request.title;
    in.folderPath = request.folderPath;
    in.generated = QDateTime::currentDateTime();
    in.programFileName = QFileInfo(services.system->executablePath()).fileName();
    in.thumbnails = request.thumbnails;

    if (!writePageFile(request.files.html, buildPageLines(in)))
        return platform::Outcome::failure(WriteFailedText + QStringLiteral("\r\n") +
                                          request.files.html);
    return {};
}

} // namespace pelmaris::gallery
