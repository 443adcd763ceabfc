#include "app/settings.h"

#include <QDir>
#include <QFileInfo>

namespace pelmaris::app {

namespace {

const QString Program = QStringLiteral("PROGRAM");
const QString Position = QStringLiteral("POSITION");
const QString Option = QStringLiteral("OPTION");

bool isAbsolute(const QString &path)
{
    return QDir::isAbsolutePath(path);
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
    const QString perUser = GetIniFileName(appDataPath, QStringLiteral("Wendelmoor"), exePath);
    return QFileInfo(perUser).isFile() ? perUser : fallbackIniFileName(exePath);
}

QString iniFileToWrite(const QString &appDataPath, const QString &exePath)
{
    const QString perUser = GetIniFileName(appDataPath, QStringLiteral("Wendelmoor"), exePath);
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
    p.flags = ini.readInteger(Position, QStringLiteral("Flags"), context.current.flags);
    p.showCmd = ini.readInteger(Position, QStringLiteral("ShowCmd"), context.current.showCmd);
    p.maxX = ini.readInteger(Position, QStringLiteral("MaxX"), context.current.maxX);
    p.maxY = ini.readInteger(Position, QStringLiteral("MaxY"), context.current.maxY);

    // Three quarters of the work area, centred unless the file says otherwise.
    const int width = 3 * context.workArea.width() / 4;
    const int height = 3 * context.workArea.height() / 4;
    p.left =
        ini.readInteger(Position, QStringLiteral("Left"), (context.workArea.width() - width) / 2);
    p.top =
        ini.readInteger(Position, QStringLiteral("Top"), (context.workArea.height() - height) / 2);
    p.right = ini.readInteger(Position, QStringLiteral("Right"), p.left + width);
    p.bottom = ini.readInteger(Position, QStringLiteral("Bottom"), p.top + height);
    p.state = ini.readInteger(Position, QStringLiteral("state"), context.current.state);

    Options &o = s.options;
    o.spreadTree = ini.readBool(Option, QStringLiteral("SpreadTree"), true);
    o.showHidden = ini.readBool(Option, QStringLiteral("ShowHidden"), true);
    o.closeQuery = ini.readBool(Option, QStringLiteral("CloseQuery"), false);
    o.saveStatus = ini.readBool(Option, QStringLiteral("SaveStatus"), true);
    o.currentDir = ini.readString(Option, QStringLiteral("CurrentDir"), context.desktopPath);
    if (o.currentDir.isEmpty() || !QFileInfo(o.currentDir).isDir())
        o.currentDir = context.desktopPath;
    o.treeViewWidth = ini.readInteger(Option, QStringLiteral("TreeViewWidth"), width / 4);
    o.treeViewScanDetail = ini.readBool(Option, QStringLiteral("TreeViewScanDetail"), true);
    o.treeViewScanNameOnly = ini.readBool(Option, QStringLiteral("TreeViewScanNameOnly"), false);
    o.scrollPos = ini.readInteger(Option, QStringLiteral("ScrollPos"), 0);
    o.numSortA = ini.readBool(Option, QStringLiteral("TreeViewNumSortA"), true);
    o.numSortD = ini.readBool(Option, QStringLiteral("TreeViewNumSortD"), false);
    o.dicSortA = ini.readBool(Option, QStringLiteral("TreeViewDicSortA"), false);
    o.dicSortD = ini.readBool(Option, QStringLiteral("TreeViewDicSortD"), false);
    o.randomOut = ini.readBool(Option, QStringLiteral("TreeViewRandomOut"), false);
    o.autoSized = ini.readBool(Option, QStringLiteral("AutoSized"), false);
    o.rangeView = ini.readBool(Option, QStringLiteral("RangeView"), true);
    o.rangeVal = ini.readInteger(Option, QStringLiteral("RangeVal"), 20);
    o.fixedWidth = ini.readBool(Option, QStringLiteral("FixedWidth"), false);
    o.horizVal = ini.readInteger(Option, QStringLiteral("HorizVal"), 10);
    o.fixedHeight = ini.readBool(Option, QStringLiteral("FixedHeight"), false);
    o.vertVal = ini.readInteger(Option, QStringLiteral("VertVal"), 5);
    o.setWidth = ini.readBool(Option, QStringLiteral("SetWidth"), false);
    o.widthVal = ini.readInteger(Option, QStringLiteral("WidthVal"), 100);
    o.asIs = ini.readBool(Option, QStringLiteral("AsIs"), false);
    o.browserDefault = ini.readBool(Option, QStringLiteral("BrowserDefault"), true);
    o.browserEdge = ini.readBool(Option, QStringLiteral("BrowserEdge"), false);
    o.browserChrome = ini.readBool(Option, QStringLiteral("BrowserChrome"), false);
    o.browserElse = ini.readBool(Option, QStringLiteral("BrowserElse"), false);
    o.browserName = ini.readString(Option, QStringLiteral("BrowserName"), QString());
    o.browserName2 = ini.readString(Option, QStringLiteral("BrowserName2"), QString());
    o.browserLight = ini.readBool(Option, QStringLiteral("BrowserLight"), true);
    o.browserDark = ini.readBool(Option, QStringLiteral("BrowserDark"), false);
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
    const Options &o = settings.options;
    if (!o.saveStatus) {
        ini.eraseSection(Option);
        return;
    }
    const WindowPlacement &p = settings.placement;
    ini.writeInteger(Position, QStringLiteral("Flags"), p.flags);
    ini.writeInteger(Position, QStringLiteral("ShowCmd"), p.showCmd);
    ini.writeInteger(Position, QStringLiteral("MaxX"), p.maxX);
    ini.writeInteger(Position, QStringLiteral("MaxY"), p.maxY);
    ini.writeInteger(Position, QStringLiteral("Left"), p.left);
    ini.writeInteger(Position, QStringLiteral("Top"), p.top);
    ini.writeInteger(Position, QStringLiteral("Right"), p.right);
    ini.writeInteger(Position, QStringLiteral("Bottom"), p.bottom);
    ini.writeInteger(Position, QStringLiteral("State"), p.state);

    ini.eraseSection(Option);
    ini.writeBool(Option, QStringLiteral("SpreadTree"), o.spreadTree);
    ini.writeBool(Option, QStringLiteral("ShowHidden"), o.showHidden);
    ini.writeBool(Option, QStringLiteral("CloseQuery"), o.closeQuery);
    ini.writeBool(Option, QStringLiteral("SaveStatus"), o.saveStatus);
    ini.writeString(Option, QStringLiteral("CurrentDir"), o.spreadTree ? o.currentDir : QString());
    ini.writeInteger(Option, QStringLiteral("TreeViewWidth"), o.treeViewWidth);
    ini.writeBool(Option, QStringLiteral("TreeViewScanDetail"), o.treeViewScanDetail);
    ini.writeBool(Option, QStringLiteral("TreeViewScanNameOnly"), o.treeViewScanNameOnly);
    ini.writeBool(Option, QStringLiteral("TreeViewNumSortA"), o.numSortA);
    ini.writeBool(Option, QStringLiteral("TreeViewNumSortD"), o.numSortD);
    ini.writeBool(Option, QStringLiteral("TreeViewDicSortA"), o.dicSortA);
    ini.writeBool(Option, QStringLiteral("TreeViewDicSortD"), o.dicSortD);
    ini.writeBool(Option, QStringLiteral("TreeViewRandomOut"), o.randomOut);
    ini.writeInteger(Option, QStringLiteral("ScrollPos"), o.scrollPos);
    ini.writeBool(Option, QStringLiteral("AutoSized"), o.autoSized);
    ini.writeBool(Option, QStringLiteral("RangeView"), o.rangeView);
    ini.writeInteger(Option, QStringLiteral("RangeVal"), o.rangeVal);
    ini.writeBool(Option, QStringLiteral("FixedWidth"), o.fixedWidth);
    ini.writeInteger(Option, QStringLiteral("HorizVal"), o.horizVal);
    ini.writeBool(Option, QStringLiteral("FixedHeight"), o.fixedHeight);
    ini.writeInteger(Option, QStringLiteral("VertVal"), o.vertVal);
    ini.writeBool(Option, QStringLiteral("SetWidth"), o.setWidth);
    ini.writeInteger(Option, QStringLiteral("WidthVal"), o.widthVal);
    ini.writeBool(Option, QStringLiteral("AsIs"), o.asIs);
    ini.writeBool(Option, QStringLiteral("BrowserDefault"), o.browserDefault);
    ini.writeBool(Option, QStringLiteral("BrowserEdge"), o.browserEdge);
    ini.writeBool(Option, QStringLiteral("BrowserChrome"), o.browserChrome);
    ini.writeBool(Option, QStringLiteral("BrowserElse"), o.browserElse);
    ini.writeString(Option, QStringLiteral("BrowserName"), o.browserName);
    ini.writeString(Option, QStringLiteral("BrowserName2"), o.browserName2);
    ini.writeBool(Option, QStringLiteral("BrowserLight"), o.browserLight);
    ini.writeBool(Option, QStringLiteral("BrowserDark"), o.browserDark);
}

QString FindCorvindaleExe(const QString &appDataPath)
{
    // The sibling's path is built from the maker folder itself: replacing this program's
    // name inside the whole path would also rewrite a user or folder name containing it.
    const QString sibling = QStringLiteral("Corvindale");
    QString iniPath;
    for (const QString &maker : {QStringLiteral("wendelmoor"), QStringLiteral("Wendelmoor")}) {
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
