#include "fakeshortcuts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pelmaris::fakes {

namespace {

class FakeLink final : public platform::ShortcutLink {
public:
    FakeLink(FakeShortcuts &owner, platform::ShortcutKind kind) : m_owner(owner)
    {
        m_saved.kind = kind;
    }
    int setPath(const QString &target) override { return step("setPath", m_saved.target, target); }
    int setArguments(const QString &arguments) override
    {
        return step("setArguments", m_saved.arguments, arguments);
    }
    int setWorkingDirectory(const QString &folder) override
    {
        return step("setWorkingDirectory", m_saved.folder, folder);
    }
    int setDescription(const QString &text) override
    {
        return step("setDescription", m_saved.description, text);
    }
    int save(const QString &file) override
    {
        QString unused;
        if (const int code = step("save", unused, file))
            return code;
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return 5;
        out.write(QStringList({QString::number(int(m_saved.kind)), m_saved.target,
                               m_saved.arguments, m_saved.folder, m_saved.description})
                      .join(u'\n')
                      .toUtf8());
        m_saved.file = file;
        m_owner.saved << m_saved;
        return 0;
    }
    QString errorText() const override { return m_error; }

private:
    int step(const QString &name, QString &field, const QString &value)
    {
        m_owner.steps << name;
        if (const int code = m_owner.failures.value(name)) {
            m_error = QStringLiteral("System text %1").arg(code);
            return code;
        }
        field = value;
        return 0;
    }

    FakeShortcuts &m_owner;
    FakeShortcuts::Saved m_saved;
    QString m_error;
};

} // namespace

std::unique_ptr<platform::ShortcutLink> FakeShortcuts::create(platform::ShortcutKind kind)
{
    return std::make_unique<FakeLink>(*this, kind);
}

} // namespace pelmaris::fakes
