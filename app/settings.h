#pragma once

#include "platform/inifile.h"

#include <QRect>
#include <QString>

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

// Every option the file keeps, with the defaults of a first start.
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
    QString version; // "V1.6"
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

// The sibling program's executable, found through the sibling's own settings file, or
// empty when that file or the program it names does not exist.
QString FindCorvindaleExe(const QString &appDataPath);

} // namespace pelmaris::app
