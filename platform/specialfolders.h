#pragma once

#include <QString>

namespace pelmaris::platform {

// Ids keep the numbers the rest of the program was designed around.
enum class SpecialFolder {
    Desktop = 0,
    Programs = 2,
    Documents = 5,
    Startup = 7,
    SendTo = 9,
    AppData = 26,
    ProgramFiles = 38, // where installed programs are found
};

// Where the desktop keeps the user's well-known folders.
class SpecialFolders {
public:
    virtual ~SpecialFolders() = default;
    // The folder's path without a trailing delimiter, or empty when the system has none.
    virtual QString path(SpecialFolder id) const = 0;
    // Where new shortcuts go: path(), except where path() stands in another folder for
    // one that was never made. Writing there makes the folder.
    virtual QString pathToCreateIn(SpecialFolder id) const { return path(id); }
};

} // namespace pelmaris::platform
