#pragma once

#include "fakeshortcuts.h"
#include "platform/clipboard.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/specialfolders.h"
#include "platform/styles.h"
#include "platform/systeminfo.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <mutex>

namespace pelmaris::fakes {

using platform::SpecialFolder;

// Folders inside one sandbox; each id maps to a sub-folder that exists.
class FakeSpecialFolders final : public platform::SpecialFolders {
public:
    explicit FakeSpecialFolders(const QString &root);
    QString path(SpecialFolder id) const override;
    QString pathToCreateIn(SpecialFolder id) const override
    {
        return createIn.value(int(id), path(id));
    }
    QHash<int, QString> paths;    // editable by tests
    QHash<int, QString> createIn; // where it differs from paths
};

class FakeSystemInfo final : public platform::SystemInfo {
public:
    int memoryLoad() const override { return load; }
    QRect workArea() const override { return area; }
    QString executablePath() const override { return exe; }
    QString tempPath() const override { return temp; }

    int load = 42;
    QRect area{0, 0, 1920, 1040};
    QString exe;
    QString temp;
};

// Records every box; answers questions from a script (Yes by default).
class FakeDialogs final : public platform::Dialogs {
public:
    struct Call {
        QString kind; // "message", "centered", "error", "ask", "open", "save"
        QString text;
        QWidget *parent; // the window that owns the box
    };

    void message(QWidget *parent, const QString &text) override
    {
        calls.append({"message", text, parent});
    }
    void messageCentered(const QString &text) override
    {
        calls.append({"centered", text, nullptr});
    }
    void error(QWidget *parent, const QString &text) override
    {
        calls.append({"error", text, parent});
    }
    bool askYesNo(QWidget *parent, const QString &text) override
    {
        calls.append({"ask", text, parent});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    QString openFileName(QWidget *parent, const QString &title, const QString &start,
                         const QString &) override
    {
        calls.append({"open", title, parent});
        starts.append(start);
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString saveFileName(QWidget *parent, const QString &title, const QString &,
                         const QString &) override
    {
        calls.append({"save", title, parent});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    // Answers from choices, Cancel when they run out.
    platform::Answer askYesNoCancel(QWidget *parent, const QString &text) override
    {
        calls.append({"ask3", text, parent});
        return choices.isEmpty() ? platform::Answer::Cancel : choices.takeFirst();
    }

    QStringList texts(const QString &kind) const;

    QList<Call> calls;
    QList<bool> answers;
    QStringList files;
    QStringList starts; // where each openFileName began

    // The file dialogs with types: each records its request (kind "saveFile" or
    // "openFile", text the suggested name) and gives the next scripted answer, which
    // names the type chosen too; none left is a cancel.
    platform::FileDialogAnswer saveFile(QWidget *parent,
                                        const platform::FileDialogRequest &r) override
    {
        return fileDialog(QStringLiteral("saveFile"), r, parent);
    }
    platform::FileDialogAnswer openFile(QWidget *parent,
                                        const platform::FileDialogRequest &r) override
    {
        return fileDialog(QStringLiteral("openFile"), r, parent);
    }
    platform::FileDialogAnswer fileDialog(const QString &kind, const platform::FileDialogRequest &r,
                                          QWidget *parent)
    {
        calls.append({kind, r.fileName, parent});
        requests.append(r);
        return fileAnswers.isEmpty() ? platform::FileDialogAnswer{} : fileAnswers.takeFirst();
    }

    QList<platform::FileDialogRequest> requests;
    QList<platform::FileDialogAnswer> fileAnswers;
    QList<platform::Answer> choices;
};

class FakeDesktop final : public platform::Desktop {
public:
    void alert(QWidget *) override { ++alerts; }
    void setTaskbarProgress(int percent, bool visible) override
    {
        progress.append(visible ? percent : -1);
    }
    int alerts = 0;
    QList<int> progress; // -1 for hidden
};

// Records every shell request; fails the kinds named in failures ("open", "start",
// "properties", "trash", "html", "openWith", "showItem") with failCode and failText.
class FakeShell final : public platform::Shell {
public:
    struct Call {
        QString kind;
        QString target;
        QString parameters;
    };

    bool open(const QString &target, platform::ShellError *error) override;
    bool startDetached(const QString &program, const QString &parameters,
                       platform::ShellError *error) override;
    void setEarlyExitHandler(std::function<void(const platform::EarlyExit &)> handler) override
    {
        earlyExit = std::move(handler);
    }
    bool showProperties(QWidget *, const QString &path) override;
    bool moveToTrash(const QString &path, platform::ShellError *error) override;
    QString defaultHtmlProgram(platform::ShellError *error) override;
    QString findProgram(const QStringList &names, const QStringList &desktopIds) override;
    QIcon programIcon(const QString &program) override;
    QIcon fileTypeIcon(const QString &) override { return icon; }
    QIcon driveIcon(const QString &path) override;
    QString shortcutTarget(const QString &path) override { return shortcuts.value(path, path); }
    QString paintProgram() override { return paint; }
    QString textEditorProgram() override { return editor; }
    QStringList paintProgramNames() const override { return {"kolourpaint", "pinta"}; }
    QStringList textEditorNames() const override { return {"gedit", "kate"}; }
    platform::OpenWithResult openWith(QWidget *, const QString &path,
                                      platform::ShellError *error) override;
    bool showItem(const QString &path, platform::ShellError *error) override;

    QList<Call> calls;
    // What the window installed to hear of programs that end at once after their start.
    std::function<void(const platform::EarlyExit &)> earlyExit;
    QStringList failures;
    int failCode = 2;
    QString failText = QStringLiteral("No such file or directory");
    QString htmlProgram = QStringLiteral("/usr/bin/firefox");
    QHash<QString, QString> installed; // program name or desktop id -> path
    QHash<QString, QString> shortcuts; // shortcut file -> its target
    QIcon icon;                        // what the icon queries answer; null by default
    bool trashRemovesFile = true;      // moveToTrash deletes the file it was given
    QString paint = QStringLiteral("/usr/bin/kolourpaint");
    QString editor = QStringLiteral("/usr/share/applications/org.gnome.TextEditor.desktop");
    bool openWithCancelled = false; // the chooser is closed without a choice
};

// Records the scheme; answers colours from a table (the dark colours when dark).
class FakeStyles final : public platform::Styles {
public:
    void setDark(bool dark) override
    {
        switches.append(dark);
        m_dark = dark;
    }
    bool isDark() const override { return m_dark; }
    QColor color(platform::StyleColor which) const override;

    QList<bool> switches;
    QColor lightFace{0xf0, 0xf0, 0xf0};
    QColor lightText{0x00, 0x00, 0x00};

private:
    bool m_dark = false;
};

// Keeps what was set, as the kind of content it was set as.
class FakeClipboard final : public platform::Clipboard {
public:
    QString text() const override { return m_text; }
    bool hasText() const override { return m_hasText; }
    void setText(const QString &text) override
    {
        clear();
        m_text = text;
        m_hasText = true;
    }
    void setFiles(const QStringList &paths) override
    {
        clear();
        files = paths;
    }
    void setImage(const QImage &picture) override
    {
        clear();
        image = picture;
    }
    void clear()
    {
        m_text.clear();
        m_hasText = false;
        files.clear();
        image = QImage();
    }
    // Answers from the event loop, as the real one does; with `answers` false the read
    // waits, as for an owner that was stopped, until it is cancelled.
    void readText(QObject *context, qint64 maxBytes,
                  std::function<void(platform::ClipboardText)> done) override;
    void cancelTextRead() override;

    QStringList files;
    QImage image;
    bool answers = true;
    int reads = 0;         // reads asked for
    qint64 lastLimit = -1; // the limit the last read was given
    bool reading() const { return bool(m_pending); }

private:
    QString m_text;
    bool m_hasText = false;
    std::function<void(platform::ClipboardText)> m_pending;
};

// The real file system underneath (tests work in sandbox folders), recording what is
// asked of it and failing on demand. Safe from any thread, as the real one is.
class FakeFileSystem final : public platform::FileSystem {
public:
    FakeFileSystem();

    platform::FolderHandle openFolder(const QString &path) override;
    platform::FolderHandle openSubfolder(platform::FolderHandle parent,
                                         QByteArrayView nativeName) override;
    bool readFolder(platform::FolderHandle folder, platform::FolderListing &out,
                    bool foldersOnly) override;
    void closeFolder(platform::FolderHandle folder) override;
    platform::PathInfo pathInfo(const QString &path) override;
    platform::OpenedFile openRegularFile(const QString &path) override;
    std::optional<platform::LocalTime> localTime(qint64 secondsSinceEpoch) const override;
    std::vector<platform::FolderRoot> roots() override;

    platform::ReadResult readSmallFile(const QString &path, qint64 maxBytes) override;
    bool writeFile(const QString &path, const QByteArray &bytes,
                   const platform::WriteOptions &options, QString *error) override;
    bool makePrivateFolder(const QString &path, bool parents) override;
    bool isPrivateFolder(const QString &path) override;
    bool canWriteIn(const QString &folder) override;
    QString canonicalPath(const QString &path) override;

    // Set up before use; read after the work is done.
    // The tree's top level when set; otherwise the real system's.
    std::vector<platform::FolderRoot> treeRoots;
    QStringList failOpen;  // folders (full paths) that cannot be opened
    QStringList failRead;  // folders whose reading fails
    QStringList failFiles; // files that cannot be opened
    // When set, folders outside this one cannot be opened (keeps a test in its sandbox).
    QString confineTo;
    // Runs before each folder is read, on the reading thread (a test may hold it there).
    std::function<void(const QString &folder)> beforeRead;
    // Runs before each file is opened, on the opening thread (a test may hold it there).
    std::function<void(const QString &file)> beforeOpen;
    // Files whose writing fails part way, as on a full disk (the old file stays).
    QStringList failWrites;
    // Folders that are another user's: never private, whatever their permissions.
    QStringList foreignFolders;

    QStringList calls() const; // "open PATH", "read PATH (folders)", "close PATH", "info PATH",
                               // "file PATH", "small PATH", "write PATH", "mkdir PATH", "private
                               // PATH", "writable PATH", "canonical PATH"
    int openNow() const;
    int mostOpen() const; // the most folders open at one time

private:
    void record(const QString &call);
    bool refused(const QString &folder) const;
    platform::FolderHandle opened(platform::FolderHandle handle, const QString &path);

    std::unique_ptr<platform::FileSystem> m_real;
    mutable std::mutex m_mutex;
    QStringList m_calls;
    QHash<platform::FolderHandle, QString> m_open;
    int m_mostOpen = 0;
};

// A whole fake platform in a private sandbox folder.
class FakePlatform {
public:
    FakePlatform();
    platform::Services services();
    QString root() const { return m_dir.path(); }

    QTemporaryDir m_dir;
    FakeSpecialFolders folders;
    FakeSystemInfo system;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    FakeShell shell;
    FakeStyles styles;
    FakeClipboard clipboard;
    FakeShortcuts shortcuts;
    FakeFileSystem fileSystem;
};

} // namespace pelmaris::fakes
