#pragma once

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "platform/specialfolders.h"
#include "platform/systeminfo.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace pelmaris::fakes {

using platform::SpecialFolder;

// Folders inside one sandbox; each id maps to a sub-folder that exists.
class FakeSpecialFolders final : public platform::SpecialFolders {
public:
    explicit FakeSpecialFolders(const QString &root);
    QString path(SpecialFolder id) const override;
    QHash<int, QString> paths; // editable by tests
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
    };

    void message(QWidget *, const QString &text) override { calls.append({"message", text}); }
    void messageCentered(const QString &text) override { calls.append({"centered", text}); }
    void error(QWidget *, const QString &text) override { calls.append({"error", text}); }
    bool askYesNo(QWidget *, const QString &text) override
    {
        calls.append({"ask", text});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    QString openFileName(QWidget *, const QString &title, const QString &, const QString &) override
    {
        calls.append({"open", title});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &title, const QString &, const QString &) override
    {
        calls.append({"save", title});
        return files.isEmpty() ? QString() : files.takeFirst();
    }

    QStringList texts(const QString &kind) const;

    QList<Call> calls;
    QList<bool> answers;
    QStringList files;
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
};

} // namespace pelmaris::fakes
