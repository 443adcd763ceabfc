#include "platform/desktopentry.h"

#include "platform/fileio.h"

namespace pelmaris::platform::desktopentry {

namespace {

// Entries are a few kilobytes; anything far larger is no launcher.
constexpr qint64 MaxEntryBytes = 1 << 20;

QString baseName(const QString &program)
{
    return program.mid(program.lastIndexOf(u'/') + 1);
}

bool isFieldCode(const QString &argument)
{
    return argument.size() == 2 && argument.at(0) == u'%' && argument.at(1) != u'%';
}

} // namespace

QHash<QString, QString> parse(const QByteArray &bytes)
{
    QHash<QString, QString> values;
    const QString text = QString::fromUtf8(bytes);
    bool inGroup = false;
    bool seenGroup = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[')) {
            // Only the first [Desktop Entry] group counts.
            inGroup = !seenGroup && trimmed == u"[Desktop Entry]";
            seenGroup = seenGroup || inGroup;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed().toString();
        if (key.contains(u'[') || values.contains(key))
            continue; // localised variants and repeats
        QStringView value = line.mid(eq + 1);
        while (!value.isEmpty() && (value.front() == u' ' || value.front() == u'\t'))
            value = value.mid(1);
        values.insert(key, unescapeValue(value.toString()));
    }
    return values;
}

QHash<QString, QString> read(const QString &path)
{
    const ReadResult result = readRegularFile(path, MaxEntryBytes);
    if (result.status != ReadStatus::Ok)
        return {};
    return parse(result.bytes);
}

bool isEntryFile(const QString &path)
{
    return path.endsWith(QStringLiteral(".desktop"));
}

QString escapeValue(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u' ' && i == 0)
            out += QStringLiteral("\\s"); // a leading blank would be trimmed on reading
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out += u' ';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case '\\':
            out += u'\\';
            break;
        default: // not a string escape: kept for the Exec quoting rules
            out += c;
            out += next;
        }
    }
    return out;
}

bool canCarry(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n' && u != u'\t' && u != u'\r') || u == 0x7f)
            return false;
    }
    return true;
}

QString quoteExecArgument(const QString &argument)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        if (c == u'%')
            out += u'%';
        out += c;
    }
    out += u'"';
    return out;
}

QStringList splitExec(const QString &exec)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == u'"') {
            // Inside double quotes a backslash escapes " ` $ and itself, as in a shell.
            for (++i;; ++i) {
                if (i >= exec.size())
                    return {};
                const QChar q = exec.at(i);
                if (q == u'"')
                    break;
                if (q == u'\\' && i + 1 < exec.size() &&
                    QStringView(u"\"`$\\").contains(exec.at(i + 1)))
                    current += exec.at(++i);
                else
                    current += q;
            }
        } else if (c == u'\'') {
            // Not in the format, but launchers written for a shell use it.
            const qsizetype end = exec.indexOf(u'\'', i + 1);
            if (end < 0)
                return {};
            current += exec.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'\\' && i + 1 < exec.size()) {
            current += exec.at(++i);
        } else {
            current += c;
        }
    }
    if (inArgument)
        arguments << current;
    for (QString &argument : arguments)
        if (!isFieldCode(argument))
            argument.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return arguments;
}

QString execProgram(const QStringList &arguments)
{
    qsizetype i = 0;
    if (!arguments.isEmpty() && baseName(arguments.first()) == u"env") {
        for (i = 1; i < arguments.size(); ++i) {
            const QString &a = arguments.at(i);
            if (a == u"-u" || a == u"--unset" || a == u"-C" || a == u"--chdir")
                ++i; // an option with its own argument
            else if (!a.startsWith(u'-') && !a.contains(u'='))
                break;
        }
    }
    return i < arguments.size() ? arguments.at(i) : QString();
}

QString displayProgram(const QStringList &arguments)
{
    const QString program = execProgram(arguments);
    if (baseName(program) != u"flatpak")
        return program;
    const qsizetype run = arguments.indexOf(QStringLiteral("run"));
    if (run < 0)
        return program;
    for (qsizetype i = run + 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a.startsWith(QStringLiteral("--command=")))
            return a.mid(10);
    }
    for (qsizetype i = run + 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (!a.startsWith(u'-'))
            return a.mid(a.lastIndexOf(u'.') + 1); // org.mozilla.firefox gives firefox
    }
    return program;
}

QString displayProgramOf(const QString &entryFile)
{
    return displayProgram(splitExec(read(entryFile).value(QStringLiteral("Exec"))));
}

} // namespace pelmaris::platform::desktopentry
