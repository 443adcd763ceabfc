#include "platform/commandline.h"

namespace pelmaris::platform {

QString dequote(const QString &text)
{
    if (!text.startsWith(u'"'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'"') {
            out.append(c);
            continue;
        }
        if (i + 1 < text.size() && text.at(i + 1) == u'"') {
            out.append(c);
            ++i;
            continue;
        }
        return out;
    }
    return text; // never closed
}

QString quoteArgument(const QString &argument)
{
    QString escaped = argument;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\"\""));
    return u'"' + escaped + u'"';
}

QString programFromExecLine(const QString &exec)
{
    const QString text = exec.trimmed();
    if (text.startsWith(u'"'))
        return dequote(text);
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? text : text.left(blank);
}

} // namespace pelmaris::platform
