#include "listio/listfile.h"

#include "platform/fileio.h"
#include "platform/textcodec.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace pelmaris::listio {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The last element of a path, from its last "/".
QStringView fileNameOf(const QString &path)
{
    return QStringView(path).mid(path.lastIndexOf(u'/') + 1);
}

// ".csv" for "a.b.csv", "." for "list.", empty for "list".
QStringView extensionOf(const QString &path)
{
    const QStringView name = fileNameOf(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.mid(dot);
}

EncodedList utf8WithBom(const QString &text)
{
    return {platform::encodeText(text, platform::TextEncoding::Utf8Bom), true};
}

} // namespace

EncodedList encodeListFile(const QString &text, const QByteArray &charset)
{
    QStringEncoder encoder = charset.isEmpty() ? QStringEncoder(QStringConverter::System)
                                               : QStringEncoder(charset.constData());
    if (!encoder.isValid())
        return utf8WithBom(text);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return utf8WithBom(text);
    const bool utf8 = QByteArray(encoder.name()).compare("UTF-8", Qt::CaseInsensitive) == 0;
    // Some sets put a stand-in for what they cannot hold without a word, and the reader
    // takes anything that is not UTF-8 for Shift_JIS: only bytes that read back as the
    // same text are written as they are.
    if (!utf8 && decodeListFile(bytes) != text)
        return utf8WithBom(text);
    return {std::move(bytes), false};
}

QString decodeListFile(const QByteArray &bytes)
{
    return wholeText(ListSource::fromBytes(bytes));
}

QString tooLargeText()
{
    return QStringLiteral("File too large");
}

platform::Result<ListSource> readListFile(const QString &path, qint64 maxBytes)
{
    platform::ReadResult read = platform::readRegularFile(path, maxBytes);
    QString error;
    switch (read.status) {
    case platform::ReadStatus::Ok:
        return ListSource::fromBytes(std::move(read.bytes));
    case platform::ReadStatus::NotRegular:
        error = QStringLiteral("Not a regular file");
        break;
    case platform::ReadStatus::TooLarge:
        error = tooLargeText();
        break;
    case platform::ReadStatus::Missing:
    case platform::ReadStatus::Failed:
        error = read.error.isEmpty() ? QStringLiteral("Cannot read the file") : read.error;
        break;
    }
    return platform::Outcome::failure(error + CrLf + path);
}

QList<platform::FileFilter> listFileFilters()
{
    // "*" rather than "*.*": here a name needs no dot to be a file.
    return {{QStringLiteral("CSV"), QStringLiteral("*.csv")},
            {QStringLiteral("TEXT"), QStringLiteral("*.txt")},
            {QStringLiteral("ALL"), QStringLiteral("*")}};
}

QString suggestedListName(const QString &programPath, qint64 count, const QDateTime &now)
{
    const QString program = QFileInfo(programPath).completeBaseName();
    const QString counted =
        count < 1000 ? QString::number(count) : QString::number(count / 1000) + QLatin1Char('K');
    return program + u'(' + counted + u')' + now.toString(QStringLiteral("-yyyyMMdd-HHmmss"));
}

platform::FileDialogRequest saveListDialog(bool detailView, qint64 rows, qint64 scanEntries,
                                           const QString &programPath, const QDateTime &now)
{
    platform::FileDialogRequest request;
    request.filters = listFileFilters();
    const ListFileType type = detailView ? ListFileType::Csv : ListFileType::Text;
    request.filterIndex = int(type) - 1;
    request.fileName = suggestedListName(programPath, detailView ? rows : scanEntries, now);
    request.typeExtension = true;
    request.confirmOverwrite = true;
    return request;
}

platform::FileDialogRequest openListDialog()
{
    platform::FileDialogRequest request;
    request.filters = listFileFilters();
    request.filterIndex = 0;
    request.typeExtension = false;
    request.confirmOverwrite = false;
    return request;
}

ListFileType listFileType(int filterIndex)
{
    switch (filterIndex) {
    case 0:
        return ListFileType::Csv;
    case 1:
        return ListFileType::Text;
    default:
        return ListFileType::All;
    }
}

QString withTypeExtension(const QString &path, ListFileType type)
{
    if (!extensionOf(path).isEmpty())
        return path;
    switch (type) {
    case ListFileType::Csv:
        return path + QStringLiteral(".csv");
    case ListFileType::Text:
        return path + QStringLiteral(".txt");
    case ListFileType::All:
        break;
    }
    return path;
}

ListForm formOfFileName(const QString &path)
{
    return extensionOf(path) == u".csv" ? ListForm::Detail : ListForm::Path;
}

SaveTarget saveTarget(const platform::FileDialogAnswer &answer)
{
    SaveTarget target;
    target.path = withTypeExtension(answer.path, listFileType(answer.filterIndex));
    target.form = formOfFileName(target.path);
    return target;
}

} // namespace pelmaris::listio
