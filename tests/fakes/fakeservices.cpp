#include "fakeservices.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace pelmaris::fakes {

FakeSpecialFolders::FakeSpecialFolders(const QString &root)
{
    const QList<QPair<SpecialFolder, QString>> names = {
        {SpecialFolder::Desktop, "Desktop"},       {SpecialFolder::Programs, "applications"},
        {SpecialFolder::Startup, "autostart"},     {SpecialFolder::SendTo, "scripts"},
        {SpecialFolder::AppData, "config"},        {SpecialFolder::Documents, "Documents"},
        {SpecialFolder::ProgramFiles, "programs"},
    };
    for (const auto &[id, name] : names) {
        const QString p = root + u'/' + name;
        QDir().mkpath(p);
        paths.insert(int(id), p);
    }
}

QString FakeSpecialFolders::path(SpecialFolder id) const
{
    return paths.value(int(id));
}

QStringList FakeDialogs::texts(const QString &kind) const
{
    QStringList out;
    for (const Call &c : calls)
        if (c.kind == kind)
            out << c.text;
    return out;
}

bool FakeShell::open(const QString &target, platform::ShellError *error)
{
    calls.append({"open", target, {}});
    if (!failures.contains(QStringLiteral("open")))
        return true;
    *error = {failCode, failText};
    return false;
}

bool FakeShell::startDetached(const QString &program, const QString &parameters,
                              platform::ShellError *error)
{
    calls.append({"start", program, parameters});
    if (!failures.contains(QStringLiteral("start")) && !program.isEmpty())
        return true;
    *error = {failCode, failText};
    return false;
}

bool FakeShell::showProperties(QWidget *, const QString &path)
{
    calls.append({"properties", path, {}});
    return !failures.contains(QStringLiteral("properties"));
}

bool FakeShell::moveToTrash(const QString &path, platform::ShellError *error)
{
    calls.append({"trash", path, {}});
    if (failures.contains(QStringLiteral("trash"))) {
        *error = {failCode, failText};
        return false;
    }
    if (trashRemovesFile)
        QFile::remove(path);
    return true;
}

platform::OpenWithResult FakeShell::openWith(QWidget *, const QString &path,
                                             platform::ShellError *error)
{
    calls.append({"openWith", path, {}});
    if (openWithCancelled)
        return platform::OpenWithResult::Cancelled;
    if (!failures.contains(QStringLiteral("openWith")))
        return platform::OpenWithResult::Started;
    *error = {failCode, failText};
    return platform::OpenWithResult::Failed;
}

bool FakeShell::showItem(const QString &path, platform::ShellError *error)
{
    calls.append({"showItem", path, {}});
    if (!failures.contains(QStringLiteral("showItem")))
        return true;
    *error = {failCode, failText};
    return false;
}

QString FakeShell::defaultHtmlProgram(platform::ShellError *error)
{
    calls.append({"html", {}, {}});
    if (!failures.contains(QStringLiteral("html")))
        return htmlProgram;
    *error = {failCode, failText};
    return {};
}

QString FakeShell::findProgram(const QStringList &names, const QStringList &desktopIds)
{
    calls.append({"find", names.join(u','), desktopIds.join(u',')});
    for (const QString &n : names + desktopIds)
        if (installed.contains(n))
            return installed.value(n);
    return {};
}

QIcon FakeShell::programIcon(const QString &program)
{
    calls.append({"programIcon", program, {}});
    return icon;
}

QIcon FakeShell::driveIcon(const QString &path)
{
    calls.append({"driveIcon", path, {}});
    return icon;
}

QColor FakeStyles::color(platform::StyleColor which) const
{
    using platform::StyleColor;
    namespace dark = platform::darkcolors;
    switch (which) {
    case StyleColor::ButtonFace:
        return m_dark ? QColor(dark::Window) : lightFace;
    case StyleColor::Window:
        return m_dark ? QColor(dark::Window) : lightFace;
    case StyleColor::Button:
        return m_dark ? QColor(dark::Button) : lightFace;
    case StyleColor::ButtonText:
        return m_dark ? QColor(dark::ButtonText) : lightText;
    case StyleColor::ListView:
        return m_dark ? QColor(dark::ListView) : QColor(Qt::white);
    }
    return {};
}

FakeFileSystem::FakeFileSystem() : m_real(platform::makeSystemFileSystem()) {}

void FakeFileSystem::record(const QString &call)
{
    std::lock_guard lock(m_mutex);
    m_calls.append(call);
}

QStringList FakeFileSystem::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

int FakeFileSystem::openNow() const
{
    std::lock_guard lock(m_mutex);
    return int(m_open.size());
}

int FakeFileSystem::mostOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_mostOpen;
}

bool FakeFileSystem::refused(const QString &folder) const
{
    if (failOpen.contains(folder))
        return true;
    return !confineTo.isEmpty() && folder != confineTo && !folder.startsWith(confineTo + u'/');
}

platform::FolderHandle FakeFileSystem::opened(platform::FolderHandle handle, const QString &path)
{
    if (handle == platform::kNoFolder)
        return handle;
    std::lock_guard lock(m_mutex);
    m_open.insert(handle, path);
    m_mostOpen = std::max(m_mostOpen, int(m_open.size()));
    return handle;
}

platform::FolderHandle FakeFileSystem::openFolder(const QString &path)
{
    record(QStringLiteral("open ") + path);
    if (refused(path))
        return platform::kNoFolder;
    return opened(m_real->openFolder(path), path);
}

platform::FolderHandle FakeFileSystem::openSubfolder(platform::FolderHandle parent,
                                                     QByteArrayView nativeName)
{
    QString path;
    {
        std::lock_guard lock(m_mutex);
        path = m_open.value(parent);
    }
    path += (path.endsWith(u'/') ? QString() : QStringLiteral("/")) +
            QString::fromUtf8(nativeName.data(), nativeName.size());
    record(QStringLiteral("open ") + path);
    if (refused(path))
        return platform::kNoFolder;
    return opened(m_real->openSubfolder(parent, nativeName), path);
}

bool FakeFileSystem::readFolder(platform::FolderHandle folder, platform::FolderListing &out,
                                bool foldersOnly)
{
    QString path;
    {
        std::lock_guard lock(m_mutex);
        path = m_open.value(folder);
    }
    record(QStringLiteral("read ") + path +
           (foldersOnly ? QStringLiteral(" (folders)") : QString()));
    if (beforeRead)
        beforeRead(path);
    if (failRead.contains(path))
        return false;
    return m_real->readFolder(folder, out, foldersOnly);
}

std::vector<platform::FolderRoot> FakeFileSystem::roots()
{
    return treeRoots.empty() ? m_real->roots() : treeRoots;
}

void FakeFileSystem::closeFolder(platform::FolderHandle folder)
{
    QString path;
    {
        std::lock_guard lock(m_mutex);
        path = m_open.take(folder);
    }
    record(QStringLiteral("close ") + path);
    m_real->closeFolder(folder);
}

void FakeClipboard::readText(QObject *context, qint64 maxBytes,
                             std::function<void(platform::ClipboardText)> done)
{
    ++reads;
    lastLimit = maxBytes;
    using Status = platform::ClipboardText::Status;
    const QPointer<QObject> receiver(context);
    auto answer = [receiver, done](platform::ClipboardText read) {
        if (receiver)
            done(std::move(read));
    };
    if (m_pending) {
        QTimer::singleShot(0, [answer] { answer({Status::NoAnswer, {}}); });
        return;
    }
    if (!answers) {
        m_pending = answer;
        return;
    }
    platform::ClipboardText read;
    if (m_hasText) {
        read.utf8 = m_text.toUtf8();
        read.status = read.utf8.size() > maxBytes ? Status::TooLarge : Status::Text;
        if (read.status == Status::TooLarge)
            read.utf8.clear();
    }
    QTimer::singleShot(0, [answer, read] { answer(read); });
}

void FakeClipboard::cancelTextRead()
{
    if (!m_pending)
        return;
    auto answer = std::move(m_pending);
    m_pending = nullptr;
    QTimer::singleShot(0, [answer] { answer({platform::ClipboardText::Status::Cancelled, {}}); });
}

platform::PathInfo FakeFileSystem::pathInfo(const QString &path)
{
    record(QStringLiteral("info ") + path);
    return m_real->pathInfo(path);
}

platform::OpenedFile FakeFileSystem::openRegularFile(const QString &path)
{
    record(QStringLiteral("file ") + path);
    if (beforeOpen)
        beforeOpen(path);
    if (failFiles.contains(path)) {
        platform::OpenedFile failed;
        failed.error = QStringLiteral("Input/output error");
        return failed;
    }
    return m_real->openRegularFile(path);
}

std::optional<platform::LocalTime> FakeFileSystem::localTime(qint64 secondsSinceEpoch) const
{
    return m_real->localTime(secondsSinceEpoch);
}

platform::ReadResult FakeFileSystem::readSmallFile(const QString &path, qint64 maxBytes)
{
    record(QStringLiteral("small ") + path);
    if (failFiles.contains(path)) {
        platform::ReadResult failed;
        failed.error = QStringLiteral("Input/output error");
        return failed;
    }
    return m_real->readSmallFile(path, maxBytes);
}

bool FakeFileSystem::writeFile(const QString &path, const QByteArray &bytes,
                               const platform::WriteOptions &options, QString *error)
{
    record(QStringLiteral("write ") + path);
    if (failWrites.contains(path)) {
        if (error)
            *error = QStringLiteral("No space left on device");
        return false;
    }
    return m_real->writeFile(path, bytes, options, error);
}

bool FakeFileSystem::makePrivateFolder(const QString &path, bool parents)
{
    record(QStringLiteral("mkdir ") + path);
    return m_real->makePrivateFolder(path, parents);
}

bool FakeFileSystem::isPrivateFolder(const QString &path)
{
    record(QStringLiteral("private ") + path);
    return !foreignFolders.contains(path) && m_real->isPrivateFolder(path);
}

bool FakeFileSystem::canWriteIn(const QString &folder)
{
    record(QStringLiteral("writable ") + folder);
    return m_real->canWriteIn(folder);
}

QString FakeFileSystem::canonicalPath(const QString &path)
{
    record(QStringLiteral("canonical ") + path);
    return m_real->canonicalPath(path);
}

FakePlatform::FakePlatform() : folders(m_dir.path())
{
    system.temp = m_dir.path() + QStringLiteral("/tmp");
    QDir().mkpath(system.temp);
    system.exe = m_dir.path() + QStringLiteral("/bin/Pelmaris");
}

platform::Services FakePlatform::services()
{
    platform::Services s;
    s.folders = &folders;
    s.system = &system;
    s.dialogs = &dialogs;
    s.desktop = &desktop;
    s.shell = &shell;
    s.styles = &styles;
    s.clipboard = &clipboard;
    s.shortcuts = &shortcuts;
    s.fileSystem = &fileSystem;
    return s;
}

} // namespace pelmaris::fakes
