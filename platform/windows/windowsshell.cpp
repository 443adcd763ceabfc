#include "platform/windows/windowsshell.h"

#include "platform/windows/comscope.h"
#include "platform/windows/win32text.h"
#include "platform/windows/windowsshortcuts.h"

#include <QApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

namespace pelmaris::platform {

namespace {

bool fail(ShellError *error, int code, const QString &text)
{
    if (error)
        *error = {code, text};
    return false;
}

// The shell's numbering keeps the Win32 codes; the ones the program tells apart are
// mapped onto its own.
bool failWin32(ShellError *error, DWORD code)
{
    int shellCode = int(code);
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_BAD_NETPATH)
        shellCode = ShellError::NotFound;
    else if (code == ERROR_NO_ASSOCIATION)
        shellCode = ShellError::NoAssociation;
    else if (code == ERROR_ACCESS_DENIED)
        shellCode = ShellError::AccessDenied;
    return fail(error, shellCode, win32::errorText(code));
}

HWND handleOf(QWidget *widget)
{
    if (!widget || QGuiApplication::platformName() != QLatin1String("windows"))
        return nullptr;
    return reinterpret_cast<HWND>(widget->window()->winId());
}

bool shellExecute(const QString &file, const QString &parameters, ShellError *error)
{
    win32::ComScope com;
    const std::wstring wfile = win32::wide(file);
    const std::wstring wparameters = win32::wide(parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No shell error box: the program reports failures in its own words.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = nullptr; // the default verb, "open" for most types
    info.lpFile = wfile.c_str();
    info.lpParameters = parameters.isEmpty() ? nullptr : wparameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info))
        return failWin32(error, GetLastError());
    return true;
}

QString queryAssociation(const wchar_t *extension)
{
    wchar_t buffer[MAX_PATH * 4] = {};
    DWORD length = DWORD(std::size(buffer));
    if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, extension, L"open", buffer,
                          &length) != S_OK)
        return {};
    return win32::fromWide(buffer);
}

QString readDefaultValue(HKEY root, const std::wstring &key)
{
    wchar_t buffer[MAX_PATH * 4] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return {};
    return win32::fromWide(buffer);
}

} // namespace

QString programOfCommand(const QString &command)
{
    const QString text = command.trimmed();
    if (text.startsWith(u'"')) {
        const qsizetype end = text.indexOf(u'"', 1);
        return end < 0 ? text.mid(1) : text.mid(1, end - 1);
    }
    // Unquoted: the longest prefix ending in ".exe" names the program, blanks and all.
    const qsizetype exe = text.indexOf(QLatin1String(".exe"), 0, Qt::CaseInsensitive);
    if (exe >= 0)
        return text.left(exe + 4);
    return text.section(u' ', 0, 0);
}

QString registeredBrowser(const QString &client, const QString &testRoot)
{
    if (client.isEmpty() || client.contains(u'\\'))
        return {};
    const std::wstring key =
        win32::wide((testRoot.isEmpty() ? QStringLiteral("SOFTWARE") : testRoot) +
                    QStringLiteral("\\Clients\\StartMenuInternet\\") + client +
                    QStringLiteral("\\shell\\open\\command"));
    QString command = readDefaultValue(HKEY_CURRENT_USER, key);
    if (command.isEmpty() && testRoot.isEmpty())
        command = readDefaultValue(HKEY_LOCAL_MACHINE, key);
    return command.isEmpty() ? QString() : programOfCommand(command);
}

bool WindowsShell::open(const QString &target, ShellError *error)
{
    if (target.isEmpty())
        return failWin32(error, ERROR_FILE_NOT_FOUND);
    return shellExecute(target, {}, error);
}

bool WindowsShell::startDetached(const QString &program, const QString &parameters,
                                 ShellError *error)
{
    if (program.isEmpty())
        return failWin32(error, ERROR_FILE_NOT_FOUND);
    // The parameter text is already in the system's command-line form.
    return shellExecute(program, parameters, error);
}

bool WindowsShell::showProperties(QWidget *parent, const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    win32::ComScope com;
    return SHObjectProperties(handleOf(parent), SHOP_FILEPATH,
                              win32::wide(QDir::toNativeSeparators(path)).c_str(), nullptr);
}

bool WindowsShell::moveToTrash(const QString &path, ShellError *error)
{
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return failWin32(error, ERROR_FILE_NOT_FOUND);
    const QString native = QDir::toNativeSeparators(info.absoluteFilePath());
    // A drive without a recycle bin would have the file deleted for good: refuse.
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    const std::wstring root = win32::wide(native.left(3));
    if (FAILED(SHQueryRecycleBinW(root.c_str(), &bin)))
        return fail(error, ShellError::NotSupported,
                    QStringLiteral("このドライブにはごみ箱がありません"));
    win32::ComScope com;
    // The program asked already; the shell asks again only where the file would be
    // destroyed rather than recycled.
    const DWORD flags =
        FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING | FOF_NOERRORUI | FOF_SILENT;
    win32::ComPtr<IFileOperation> operation;
    win32::ComPtr<IShellItem> item;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_IFileOperation,
                                   operation.putVoid())) &&
        SUCCEEDED(operation->SetOperationFlags(flags | FOFX_RECYCLEONDELETE)) &&
        SUCCEEDED(SHCreateItemFromParsingName(win32::systemPath(path).c_str(), nullptr,
                                              IID_IShellItem, item.putVoid())) &&
        SUCCEEDED(operation->DeleteItem(item.get(), nullptr))) {
        const HRESULT hr = operation->PerformOperations();
        BOOL aborted = FALSE;
        operation->GetAnyOperationsAborted(&aborted);
        if (SUCCEEDED(hr) && !aborted)
            return true;
        if (hr != E_NOTIMPL)
            return fail(error, aborted ? ShellError::NotSupported : int(hr),
                        win32::errorText(DWORD(aborted ? ERROR_CANCELLED : hr)));
    }
    // Where the newer interface is missing: the classic call, which takes no long path.
    std::wstring from = win32::wide(native);
    from.push_back(L'\0'); // a list of names, ended by an empty one
    SHFILEOPSTRUCTW operation2{};
    operation2.wFunc = FO_DELETE;
    operation2.pFrom = from.c_str();
    operation2.fFlags = FILEOP_FLAGS(flags);
    const int result = SHFileOperationW(&operation2);
    if (result != 0)
        return failWin32(error, DWORD(result));
    if (operation2.fAnyOperationsAborted)
        return fail(error, ShellError::NotSupported, win32::errorText(ERROR_CANCELLED));
    return true;
}

QString WindowsShell::defaultHtmlProgram(ShellError *error)
{
    QString program = queryAssociation(L".html");
    if (program.isEmpty())
        program = queryAssociation(L".htm");
    if (program.isEmpty())
        fail(error, ShellError::NoAssociation, win32::errorText(ERROR_NO_ASSOCIATION));
    return program;
}

QString WindowsShell::findProgram(const QStringList &names, const QStringList &desktopIds)
{
    Q_UNUSED(desktopIds);
    for (const QString &name : names)
        if (const QString p = QStandardPaths::findExecutable(name); !p.isEmpty())
            return QDir::toNativeSeparators(p);
    return {};
}

QString WindowsShell::browserProgram(const QString &client, const QStringList &names,
                                     const QStringList &desktopIds)
{
    const QString program = registeredBrowser(client);
    return program.isEmpty() ? findProgram(names, desktopIds) : program;
}

QIcon WindowsShell::programIcon(const QString &program)
{
    const QFileInfo info(program);
    if (!info.exists())
        return {};
    return QFileIconProvider().icon(info);
}

QIcon WindowsShell::fileTypeIcon(const QString &path)
{
    return QFileIconProvider().icon(QFileInfo(path));
}

QIcon WindowsShell::driveIcon(const QString &path)
{
    const QString root = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).left(3);
    return QFileIconProvider().icon(QFileInfo(root));
}

QString WindowsShell::shortcutTarget(const QString &path)
{
    if (!path.endsWith(QLatin1String(".lnk"), Qt::CaseInsensitive))
        return path;
    const QString target = readShellLinkTarget(path);
    return target.isEmpty() ? path : target;
}

QString WindowsShell::paintProgram()
{
    return QStringLiteral("mspaint.exe");
}

QString WindowsShell::textEditorProgram()
{
    return QStringLiteral("notepad.exe");
}

QStringList WindowsShell::paintProgramNames() const
{
    return {QStringLiteral("mspaint.exe")};
}

QStringList WindowsShell::textEditorNames() const
{
    return {QStringLiteral("notepad.exe")};
}

OpenWithResult WindowsShell::openWith(QWidget *parent, const QString &path, ShellError *error)
{
    win32::ComScope com;
    const std::wstring file = win32::wide(QDir::toNativeSeparators(path));
    OPENASINFO info{};
    info.pcszFile = file.c_str();
    info.oaifInFlags = OAIF_EXEC | OAIF_ALLOW_REGISTRATION;
    const HRESULT hr = SHOpenWithDialog(handleOf(parent), &info);
    if (SUCCEEDED(hr))
        return OpenWithResult::Started;
    if (hr == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return OpenWithResult::Cancelled;
    fail(error, int(hr), win32::errorText(DWORD(hr)));
    return OpenWithResult::Failed;
}

bool WindowsShell::showItem(const QString &path, ShellError *error)
{
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return shellExecute(QStringLiteral("explorer.exe"),
                        QStringLiteral("/select,\"") + native + QLatin1Char('"'), error);
}

} // namespace pelmaris::platform
