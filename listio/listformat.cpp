#include "listio/listformat.h"

#include "platform/filesystem.h"

#include <QDir>
#include <QFileInfo>

namespace pelmaris::listio {

namespace {

const QString CrLf = QStringLiteral("\r\n");
constexpr QChar Quote = u'"';
constexpr QChar Comma = u',';

bool isSeparator(QChar c)
{
    return c.unicode() <= 32;
}

bool rowFitsOnOneLine(const scan::ListItem &row)
{
    if (!fitsOnOneLine(row.caption))
        return false;
    for (const QString &text : row.subItems) {
        if (!fitsOnOneLine(text))
            return false;
    }
    return true;
}

} // namespace

bool fitsOnOneLine(QStringView text)
{
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n')
            return false;
    }
    return true;
}

QString quoteField(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += Quote;
    for (const QChar c : text) {
        out += c;
        if (c == Quote)
            out += Quote;
    }
    out += Quote;
    return out;
}

QString detailLine(const scan::ListItem &row)
{
    QString line = quoteField(row.caption);
    for (const QString &text : row.subItems) {
        line += Comma;
        line += quoteField(text);
    }
    return line;
}

QString pathLine(const QString &path)
{
    return path.contains(Quote) ? quoteField(path) : path;
}

ListText detailText(const std::vector<scan::ListItem> &rows)
{
    ListText out;
    out.text.reserve(qsizetype(rows.size()) * 120);
    for (const scan::ListItem &row : rows) {
        if (!rowFitsOnOneLine(row)) {
            ++out.skipped;
            continue;
        }
        out.text += detailLine(row);
        out.text += CrLf;
        ++out.lines;
    }
    return out;
}

ListText pathText(const QStringList &paths)
{
    ListText out;
    out.text.reserve(paths.size() * 80);
    for (const QString &path : paths) {
        if (!fitsOnOneLine(path)) {
            ++out.skipped;
            continue;
        }
        out.text += pathLine(path);
        out.text += CrLf;
        ++out.lines;
    }
    return out;
}

ListText listText(ListForm form, const std::vector<scan::ListItem> &rows, const QStringList &paths)
{
    return form == ListForm::Detail ? detailText(rows) : pathText(paths);
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start).toString());
    return lines;
}

QStringList parseFields(QStringView line, qsizetype maxFields)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype i = 0;
    const auto skipSeparators = [&] {
        while (i < n && isSeparator(line[i]))
            ++i;
    };
    skipSeparators();
    while (i < n) {
        QString field;
        if (line[i] == Quote) {
            ++i;
            for (;;) {
                const qsizetype close = line.indexOf(Quote, i);
                if (close < 0) { // unterminated: the field runs to the end
                    field += line.mid(i);
                    i = n;
                    break;
                }
                field += line.mid(i, close - i);
                if (close + 1 < n && line[close + 1] == Quote) {
                    field += Quote;
                    i = close + 2;
                    continue;
                }
                i = close + 1;
                break;
            }
        } else {
            const qsizetype begin = i;
            while (i < n && !isSeparator(line[i]) && line[i] != Comma)
                ++i;
            field = line.mid(begin, i - begin).toString();
        }
        fields.append(field);
        if (maxFields > 0 && fields.size() >= maxFields)
            break;
        skipSeparators();
        if (i < n && line[i] == Comma) {
            if (i + 1 == n)
                fields.append(QString());
            ++i;
            skipSeparators();
        }
    }
    return fields;
}

bool isListableFile(const QString &path, platform::FileSystem &fileSystem)
{
    // A NUL would end the name the system sees early, so another file would answer.
    if (path.isEmpty() || path.contains(QChar(0)) || !QDir::isAbsolutePath(path))
        return false;
    return fileSystem.pathInfo(path).isFile;
}

std::optional<scan::ListItem> rowFromLine(QStringView line, const FileTest &isFile)
{
    if (line.isEmpty() || line.front() == u';')
        return std::nullopt;
    // Fields past the sub-items are never read; a line of a million commas must not
    // become a million fields.
    constexpr qsizetype wanted = qsizetype(scan::ListItem::SubItemCount) + 1;
    QStringList fields;
    if (line.front() == Quote && line.back() == Quote) {
        fields = parseFields(line, wanted);
    } else {
        QString enclosed;
        enclosed.reserve(line.size() + 2);
        enclosed += Quote;
        enclosed += line;
        enclosed += Quote;
        fields = parseFields(enclosed, wanted);
    }
    if (fields.isEmpty() || !isFile(fields.constFirst()))
        return std::nullopt;
    scan::ListItem row;
    row.checked = true;
    row.caption = fields.constFirst();
    for (size_t k = 0; k < row.subItems.size(); ++k)
        row.subItems[k] = fields.value(qsizetype(k) + 1);
    return row;
}

std::vector<scan::ListItem> rowsFromText(QStringView text, const FileTest &isFile)
{
    std::vector<scan::ListItem> rows;
    for (const QString &line : splitLines(text)) {
        if (std::optional<scan::ListItem> row = rowFromLine(line, isFile))
            rows.push_back(std::move(*row));
    }
    return rows;
}

} // namespace pelmaris::listio
