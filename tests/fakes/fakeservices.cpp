#include "fakeservices.h"

#include <QDir>

namespace pelmaris::fakes {

FakeSpecialFolders::FakeSpecialFolders(const QString &root)
{
    const QList<QPair<SpecialFolder, QString>> names = {
        {SpecialFolder::Desktop, "Desktop"},     {SpecialFolder::Programs, "applications"},
        {SpecialFolder::Startup, "autostart"},   {SpecialFolder::SendTo, "scripts"},
        {SpecialFolder::AppData, "config"},
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
    return s;
}

} // namespace pelmaris::fakes
