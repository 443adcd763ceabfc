#pragma once

// The settings file: where it lives, what it holds, and the whole-file steps the window
// takes at start and at close.
//
//   start:  m_settingsLoad = loadSettingsFile(iniFileToRead(appData, exe), context);
//           apply m_settingsLoad.settings to the window
//   close:  const QString error = saveSettingsFile(iniFileToWrite(appData, exe), collected,
//                                                  programInfo(exe, now), m_settingsLoad);
//           a non-empty error is shown; the window closes all the same

#include "platform/fileio.h"
#include "platform/inifile.h"

#include <QDateTime>
#include <QList>
#include <QRect>
#include <QString>

#include <array>
#include <variant>

namespace pelmaris::app {

// The window placement as the settings file keeps it. Left/Top/Right/Bottom are relative
// to the work area's top-left corner; Flags, ShowCmd, MaxX and MaxY are kept as read.
struct WindowPlacement {
    int flags = 0;
    int showCmd = 1;
    int maxX = -1;
    int maxY = -1;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int state = 0; // 0 normal, 1 minimized, 2 maximized
};

// Every option the file keeps; the initializers are the defaults of a first start.
// CurrentDir's default is the desktop folder and TreeViewWidth's a quarter of the
// restored window's width, both known only when reading.
struct Options {
    bool spreadTree = true;
    bool showHidden = true;
    bool closeQuery = false;
    bool saveStatus = true;
    QString currentDir;
    int treeViewWidth = 0;
    bool treeViewScanDetail = true;
    bool treeViewScanNameOnly = false;
    bool numSortA = true;
    bool numSortD = false;
    bool dicSortA = false;
    bool dicSortD = false;
    bool randomOut = false;
    int scrollPos = 0;
    bool autoSized = false;
    bool rangeView = true;
    int rangeVal = 20;
    bool fixedWidth = false;
    int horizVal = 10;
    bool fixedHeight = false;
    int vertVal = 5;
    bool setWidth = false;
    int widthVal = 100;
    bool asIs = false;
    bool browserDefault = true;
    bool browserEdge = false;
    bool browserChrome = false;
    bool browserElse = false;
    QString browserName;
    QString browserName2;
    bool browserLight = true;
    bool browserDark = false;
    bool thumbnailCache = true;
};

enum class OptionKind { Boolean, Integer, Text };

// One key of the "OPTION" section and the member it fills. Booleans are written "1" or
// "0" and read as integers (non-zero is true); integers are decimal, read also as
// hexadecimal after "0x" or "$"; texts are written as they are.
struct OptionKey {
    using Member = std::variant<bool Options::*, int Options::*, QString Options::*>;
    const char *name;
    Member member;
    constexpr OptionKind kind() const { return OptionKind(member.index()); }
};

// The "OPTION" keys in the order the file is written; reading and writing walk this
// table, and so can whatever binds the keys to controls.
inline constexpr std::array OptionKeys = {
    OptionKey{"SpreadTree", &Options::spreadTree},
    OptionKey{"ShowHidden", &Options::showHidden},
    OptionKey{"CloseQuery", &Options::closeQuery},
    OptionKey{"SaveStatus", &Options::saveStatus},
    OptionKey{"CurrentDir", &Options::currentDir},
    OptionKey{"TreeViewWidth", &Options::treeViewWidth},
    OptionKey{"TreeViewScanDetail", &Options::treeViewScanDetail},
    OptionKey{"TreeViewScanNameOnly", &Options::treeViewScanNameOnly},
    OptionKey{"TreeViewNumSortA", &Options::numSortA},
    OptionKey{"TreeViewNumSortD", &Options::numSortD},
    OptionKey{"TreeViewDicSortA", &Options::dicSortA},
    OptionKey{"TreeViewDicSortD", &Options::dicSortD},
    OptionKey{"TreeViewRandomOut", &Options::randomOut},
    OptionKey{"ScrollPos", &Options::scrollPos},
    OptionKey{"AutoSized", &Options::autoSized},
    OptionKey{"RangeView", &Options::rangeView},
    OptionKey{"RangeVal", &Options::rangeVal},
    OptionKey{"FixedWidth", &Options::fixedWidth},
    OptionKey{"HorizVal", &Options::horizVal},
    OptionKey{"FixedHeight", &Options::fixedHeight},
    OptionKey{"VertVal", &Options::vertVal},
    OptionKey{"SetWidth", &Options::setWidth},
    OptionKey{"WidthVal", &Options::widthVal},
    OptionKey{"AsIs", &Options::asIs},
    OptionKey{"BrowserDefault", &Options::browserDefault},
    OptionKey{"BrowserEdge", &Options::browserEdge},
    OptionKey{"BrowserChrome", &Options::browserChrome},
    OptionKey{"BrowserElse", &Options::browserElse},
    OptionKey{"BrowserName", &Options::browserName},
    OptionKey{"BrowserName2", &Options::browserName2},
    OptionKey{"BrowserLight", &Options::browserLight},
    OptionKey{"BrowserDark", &Options::browserDark},
    OptionKey{"ThumbnailCache", &Options::thumbnailCache},
};

// The "POSITION" keys in the order the file is written. The reader's "state" is the
// writer's "State": names match without regard to case.
struct PlacementKey {
    const char *name;
    int WindowPlacement::*member;
};
inline constexpr std::array PlacementKeys = {
    PlacementKey{"Flags", &WindowPlacement::flags},
    PlacementKey{"ShowCmd", &WindowPlacement::showCmd},
    PlacementKey{"MaxX", &WindowPlacement::maxX},
    PlacementKey{"MaxY", &WindowPlacement::maxY},
    PlacementKey{"Left", &WindowPlacement::left},
    PlacementKey{"Top", &WindowPlacement::top},
    PlacementKey{"Right", &WindowPlacement::right},
    PlacementKey{"Bottom", &WindowPlacement::bottom},
    PlacementKey{"State", &WindowPlacement::state},
};

struct Settings {
    WindowPlacement placement;
    Options options;
};

// What reading needs to know of the running program and its window.
struct ReadContext {
    QSize workArea;          // the screen's work-area size
    WindowPlacement current; // the window's placement before reading
    QString desktopPath;     // ends in a path delimiter
};

// What the "PROGRAM" section publishes for the maker's other programs.
struct ProgramInfo {
    QString name;    // executable file name with extension
    QString path;    // executable folder, ending in a delimiter
    QString version; // the version label
    QString iniFile; // the file being written
    QString lastClose;
};

// Joins two path parts with one delimiter between them; an empty first part gives the
// second, an absolute second part replaces the first.
QString joinPath(const QString &first, const QString &second);

// appData/maker/base/base.ini for the executable at exePath.
QString GetIniFileName(const QString &appDataPath, const QString &makerFolder,
                       const QString &exePath);

// The file beside the executable, with its extension replaced by ".ini".
QString fallbackIniFileName(const QString &exePath);

// The per-user file when it exists, otherwise the one beside the executable.
QString iniFileToRead(const QString &appDataPath, const QString &exePath);

// The per-user file, its folder created when missing; the file beside the executable
// when that folder cannot be made.
QString iniFileToWrite(const QString &appDataPath, const QString &exePath);

// Reads every key in the program's order; what is missing or unreadable takes its default.
Settings readSettings(const platform::IniFile &ini, const ReadContext &context);

// Rewrites the program's sections of a loaded file, keeping every other section.
void writeSettings(platform::IniFile &ini, const Settings &settings, const ProgramInfo &program);

// The close's time as "LastClose" records it: "yyyy/MM/dd HH:mm:ss".
QString lastCloseText(const QDateTime &when);

// The "PROGRAM" values of this program at exePath, closing at closedAt; iniFile is
// filled in by saveSettingsFile.
ProgramInfo programInfo(const QString &exePath, const QDateTime &closedAt);

// What reading at start found.
struct SettingsLoad {
    Settings settings;
    QString path; // the file that was read
    platform::ReadStatus status = platform::ReadStatus::Missing;
    QString reason; // why it could not be read; empty when it was read or is missing

    // Only a file that was read whole, or did not exist, may be replaced at close.
    bool mayRewrite() const
    {
        return status == platform::ReadStatus::Ok || status == platform::ReadStatus::Missing;
    }
};

// Reads the settings at start. A file that is not a regular file, too large or
// unreadable gives the defaults and is marked as not to be replaced.
SettingsLoad loadSettingsFile(const QString &path, const ReadContext &context);

// Writes the settings at close: loads the file at path afresh, rewrites the program's
// sections and saves it whole. Returns the text to show the user, empty on success.
// The file never grows past what loading reads: sections of other programs are dropped,
// the last first, until it fits, and the text says how many.
// A file that could not be read, now or at start, is left as it is; a failed write
// leaves the old file byte for byte.
QString saveSettingsFile(const QString &path, const Settings &settings, ProgramInfo program,
                         const SettingsLoad &loaded);

// The window's normal rectangle in screen coordinates, from a placement relative to the
// work area.
QRect normalRect(const WindowPlacement &placement, const QRect &workArea);

// A rectangle that lies wholly off every screen (a monitor removed since) is moved into
// the primary screen's work area, shrunk to fit if it must; any other is kept.
QRect fitOntoScreens(const QRect &rect, const QList<QRect> &screens, const QRect &primaryWorkArea);

// The sibling program's executable, found through the sibling's own settings file, or
// empty when that file or the program it names does not exist.
QString FindCorvindaleExe(const QString &appDataPath);

} // namespace pelmaris::app
