#include "platform/windows/windowsspecialfolders.h"

#include "platform/windows/win32text.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace pelmaris::platform {

QString WindowsSpecialFolders::path(SpecialFolder id) const
{
    const KNOWNFOLDERID *known = nullptr;
    switch (id) {
    case SpecialFolder::Desktop:
        known = &FOLDERID_Desktop;
        break;
    case SpecialFolder::Programs:
        known = &FOLDERID_Programs;
        break;
    case SpecialFolder::Startup:
        known = &FOLDERID_Startup;
        break;
    case SpecialFolder::SendTo:
        known = &FOLDERID_SendTo;
        break;
    case SpecialFolder::AppData:
        known = &FOLDERID_RoamingAppData;
        break;
    case SpecialFolder::Documents:
        known = &FOLDERID_Documents;
        break;
    case SpecialFolder::ProgramFiles:
        known = &FOLDERID_ProgramFiles;
        break;
    }
    if (!known)
        return {};
    wchar_t *path = nullptr;
    // KF_FLAG_DONT_VERIFY: a folder the user removed is still named; whoever writes
    // there creates it or reports the failure.
    const HRESULT hr = SHGetKnownFolderPath(*known, KF_FLAG_DONT_VERIFY, nullptr, &path);
    QString result = SUCCEEDED(hr) ? win32::fromWide(path) : QString();
    CoTaskMemFree(path);
    while (result.size() > 3 && result.endsWith(u'\\'))
        result.chop(1);
    return result;
}

} // namespace pelmaris::platform
