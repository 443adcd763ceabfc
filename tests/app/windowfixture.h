#pragma once

// The main window as the window tests drive it: built on the fake desktop, shown, its
// commands chosen by their menu entries, and "idle" meaning one thing for every test.

#include "app/activity.h"
#include "app/listfilecommands.h"
#include "app/menucommands.h"
#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "fakeservices.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QAction>
#include <QDir>
#include <QTest>

#include <functional>

namespace pelmaris::testwindow {

using app::Command;
using app::nameOf;

struct WindowFixture {
    // Runs before the window is made: files and settings to find, services to replace.
    using Setup = std::function<void(fakes::FakePlatform &, platform::Services &)>;

    explicit WindowFixture(QStringList parameters = {}, const Setup &setup = {})
        : services(prepared(fake, setup)), form(services, std::move(parameters))
    {
    }

    bool show()
    {
        form.show();
        return QTest::qWaitForWindowExposed(&form);
    }

    // Until the program does nothing: no scan, list build, load, paste or save, and the
    // scan's thread has ended too.
    bool waitIdle(int timeout = 20000)
    {
        return QTest::qWaitFor(
            [this] { return form.activity().isIdle() && !form.Scanner->isBusy(); }, timeout);
    }

    QAction *entry(Command command) const { return form.menus().action(command); }
    // Chooses the entry, which does nothing while it is disabled.
    void trigger(Command command) { entry(command)->trigger(); }

    // Scans the folder as the user does (chosen in the tree, double-clicked) and waits
    // until the list is built. False when the tree cannot show the folder.
    bool scan(const QString &folder)
    {
        form.navigateTree(folder);
        // The tree gives the path in the system's own form.
        if (form.treeSelectedPath() != QDir::toNativeSeparators(folder))
            return false;
        form.Scan->ShellTreeView1DblClick();
        return waitIdle();
    }
    bool load(const QString &text)
    {
        form.ListFiles->LoadListFromText(text);
        return waitIdle();
    }
    // The rows' paths in list order.
    QStringList captions() const
    {
        QStringList out;
        for (const auto &item : form.ListModel->items())
            out << item.caption;
        return out;
    }

    fakes::FakePlatform fake;
    platform::Services services;
    app::TPelmarisForm form;

private:
    static platform::Services prepared(fakes::FakePlatform &fake, const Setup &setup)
    {
        platform::Services s = fake.services();
        if (setup)
            setup(fake, s);
        return s;
    }
};

} // namespace pelmaris::testwindow

// Entries in test tables.
Q_DECLARE_METATYPE(pelmaris::app::Command)
