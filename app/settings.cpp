#include "app/settings.h"

#include "platform/programinfo.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace pelmaris::app {

namespace {

const QString Program = QStringLiteral("PROGRAM");
const QString Position = QStringLiteral("POSITION");
const QString Option = QStringLiteral("OPTION");

bool isAbsolute(const QString &path)
{
    return QDir::isAbsolutePath(path);
}

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};

QString notReadReason(platform::ReadStatus status, const QString &systemText)
{
    switch (status) {
    case platform::ReadStatus::TooLarge:
        return QStringLiteral("ファイルが大きすぎます");
    case platform::ReadStatus::NotRegular:
        return QStringLiteral("通常のファイルではありません");
    case platform::ReadStatus::Ok:
    case platform::ReadStatus::Missing:
    case platform::ReadStatus::Failed:
        break;
    }
    return systemText;
}

QString notRewrittenText(const QString &reason, const QString &path)
{
    return QStringLiteral("設定ファイルを読み込めなかったため、上書きしませんでした（") + reason +
           QStringLiteral("）\r\n") + path;
}

QString notSavedText(const QString &reason, const QString &path)
{
    return QStringLiteral("設定ファイルを保存できませんでした。元のファイルはそのままです（") +
           reason + QStringLiteral("）\r\n") + path;
}

} // namespace

QString joinPath(const QString &first, const QString &second)
{
    if (first.isEmpty() || isAbsolute(second))
        return second;
    if (first.endsWith(u'/') || first.endsWith(QDir::separator()))
        return first + second;
    return first + u'/' + second;
}

QString GetIniFileName(const QString &appDataPath, const QString &makerFolder,
                       const QString &exePath)
{
    const QString base = QFileInfo(exePath).completeBaseName();
    return joinPath(joinPath(joinPath(appDataPath, makerFolder), base),
                    base + QStringLiteral(".ini"));
}

QString fallbackIniFileName(const QString &exePath)
{
    const QFileInfo info(exePath);
    return joinPath(info.absolutePath(), info.completeBaseName() + QStringLiteral(".ini"));
}

QString iniFileToRead(const QString &appDataPath, const QString &exePath)
{
    const QString perUser = GetIniFileName(appDataPath, program::MakerFolder, exePath);
    return QFileInfo(perUser).isFile() ? perUser : fallbackIniFileName(exePath);
}

QString iniFileToWrite(const QString &appDataPath, const QString &exePath)
{
    const QString perUser = GetIniFileName(appDataPath, program::MakerFolder, exePath);
    const QString folder = QFileInfo(perUser).absolutePath();
    if (!appDataPath.isEmpty() && QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return perUser;
    return fallbackIniFileName(exePath);
}

Settings readSettings(const platform::IniFile &ini, const ReadContext &context)
{
    Settings s;
    WindowPlacement &p = s.placement;
    p = context.current;
    // Three quarters of the work area, centred unless the file says otherwise; a missing
    // Right or Bottom keeps that size from the Left or Top just read.
    const int width = 3 * context.workArea.width() / 4;
    const int height = 3 * context.workArea.height() / 4;
    const auto placementDefault = [&](int WindowPlacement::*member) {
        if (member == &WindowPlacement::left)
            return (context.workArea.width() - width) / 2;
        if (member == &WindowPlacement::top)
            return (context.workArea.height() - height) / 2;
        if (member == &WindowPlacement::right)
            return p.left + width;
        if (member == &WindowPlacement::bottom)
            return p.top + height;
        return context.current.*member;
    };
    for (const PlacementKey &key : PlacementKeys)
        p.*key.member =
            ini.readInteger(Position, QLatin1String(key.name), placementDefault(key.member));

    Options defaults;
    defaults.currentDir = context.desktopPath;
    defaults.treeViewWidth = std::max(0, (p.right - p.left) / 4);
    Options &o = s.options;
    for (const OptionKey &key : OptionKeys) {
        const QString name = QLatin1String(key.name);
        std::visit(
            Overloaded{
                [&](bool Options::*m) { o.*m = ini.readBool(Option, name, defaults.*m); },
                [&](int Options::*m) { o.*m = ini.readInteger(Option, name, defaults.*m); },
                [&](QString Options::*m) { o.*m = ini.readString(Option, name, defaults.*m); },
            },
            key.member);
    }
    if (o.currentDir.isEmpty() || !QFileInfo(o.currentDir).isDir())
        o.currentDir = context.desktopPath;
    return s;
}

void writeSettings(platform::IniFile &ini, const Settings &settings, const ProgramInfo &program)
{
    ini.writeString(Program, QStringLiteral("Name"), program.name);
    ini.writeString(Program, QStringLiteral("Path"), program.path);
    ini.writeString(Program, QStringLiteral("Version"), program.version);
    ini.writeString(Program, QStringLiteral("IniFile"), program.iniFile);
    ini.writeString(Program, QStringLiteral("LastClose"), program.lastClose);

    ini.eraseSection(Position);
    Options o = settings.options;
    if (!o.saveStatus) {
        ini.eraseSection(Option);
        return;
    }
    for (const PlacementKey &key : PlacementKeys)
        ini.writeInteger(Position, QLatin1String(key.name), settings.placement.*key.member);

    ini.eraseSection(Option);
    // Without "restore the last folder" the next start opens at the desktop.
    if (!o.spreadTree)
        o.currentDir.clear();
    for (const OptionKey &key : OptionKeys) {
        const QString name = QLatin1String(key.name);
        std::visit(Overloaded{
                       [&](bool Options::*m) { ini.writeBool(Option, name, o.*m); },
                       [&](int Options::*m) { ini.writeInteger(Option, name, o.*m); },
                       [&](QString Options::*m) { ini.writeString(Option, name, o.*m); },
                   },
                   key.member);
    }
}

QString lastCloseText(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

ProgramInfo programInfo(const QString &exePath, const QDateTime &closedAt)
{
    const QFileInfo exe(exePath);
    ProgramInfo info;
    info.name = exe.fileName();
    info.path = exe.absolutePath();
    if (!info.path.endsWith(u'/'))
        info.path += u'/';
    info.version = program::VersionLabel;
    info.lastClose = lastCloseText(closedAt);
    return info;
}

SettingsLoad loadSettingsFile(const QString &path, const ReadContext &context)
{
    SettingsLoad load;
    load.path = path;
    QString error;
    const platform::IniFile ini = platform::IniFile::load(path, &load.status, &error);
    if (!load.mayRewrite())
        load.reason = notReadReason(load.status, error);
    load.settings = readSettings(ini, context);
    return load;
}

QString saveSettingsFile(const QString &path, const Settings &settings, ProgramInfo program,
                         const SettingsLoad &loaded)
{
    // Settings that came from defaults because this very file could not be read must
    // not replace it: its sections would be lost.
    if (!loaded.mayRewrite() && QFileInfo(loaded.path) == QFileInfo(path))
        return notRewrittenText(loaded.reason, path);
    platform::ReadStatus status = platform::ReadStatus::Failed;
    QString error;
    platform::IniFile ini = platform::IniFile::load(path, &status, &error);
    if (status != platform::ReadStatus::Ok && status != platform::ReadStatus::Missing)
        return notRewrittenText(notReadReason(status, error), path);

    program.iniFile = path;
    writeSettings(ini, settings, program);
    // The file is read only up to its size limit: it must never be written larger.
    const int dropped =
        ini.dropSectionsToFit(platform::IniFile::MaxFileSize, {Program, Position, Option});
    if (dropped < 0)
        return notSavedText(QStringLiteral("ファイルが大きすぎます"), path);
    if (!ini.save(path, &error))
        return notSavedText(error, path);
    if (dropped > 0)
        return QStringLiteral("設定ファイルが読込みの上限 (%1 バイト) を超えるため、"
                              "ほかのプログラムの %2 個のセクションを除いて保存しました\r\n")
                   .arg(platform::IniFile::MaxFileSize)
                   .arg(dropped) +
               path;
    return {};
}

QRect normalRect(const WindowPlacement &placement, const QRect &workArea)
{
    return QRect(workArea.topLeft() + QPoint(placement.left, placement.top),
                 QSize(placement.right - placement.left, placement.bottom - placement.top));
}

QRect fitOntoScreens(const QRect &rect, const QList<QRect> &screens, const QRect &primaryWorkArea)
{
    for (const QRect &screen : screens)
        if (screen.intersects(rect))
            return rect;
    const QRect &area = primaryWorkArea;
    const int width = std::min(rect.width(), area.width());
    const int height = std::min(rect.height(), area.height());
    const int left = std::clamp(rect.left(), area.left(), area.left() + area.width() - width);
    const int top = std::clamp(rect.top(), area.top(), area.top() + area.height() - height);
    return QRect(left, top, width, height);
}

QString FindCorvindaleExe(const QString &appDataPath)
{
    // The sibling's path is built from the maker folder itself: replacing this program's
    // name inside the whole path would also rewrite a user or folder name containing it.
    const QString &sibling = program::SiblingName;
    QString iniPath;
    // The sibling names its maker folder in lower case; on a file system that tells case
    // apart the folder may be spelled either way.
    for (const QString &maker : {program::MakerFolder.toLower(), program::MakerFolder}) {
        const QString candidate = joinPath(joinPath(joinPath(appDataPath, maker), sibling),
                                           sibling + QStringLiteral(".ini"));
        if (QFileInfo(candidate).isFile()) {
            iniPath = candidate;
            break;
        }
    }
    if (iniPath.isEmpty())
        return {};
    const platform::IniFile ini = platform::IniFile::load(iniPath);
    const QString name = ini.readString(Program, QStringLiteral("Name"), QString());
    const QString folder = ini.readString(Program, QStringLiteral("Path"), QString());
    if (name.isEmpty() || name.contains(QChar(0)) || folder.contains(QChar(0)))
        return {};
    const QString exe = joinPath(folder, name);
    return QFileInfo(exe).isFile() ? exe : QString();
}

} // namespace pelmaris::app
