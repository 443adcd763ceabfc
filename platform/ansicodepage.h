#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace pelmaris::platform {

// The code page of text files stored without a byte-order mark that are not UTF-8: the
// system's ANSI code page on Windows (Shift_JIS on a Japanese system), Shift_JIS on
// Linux, where such files come from Japanese Windows.
QString decodeAnsiCodePage(QByteArrayView bytes);
// *exact (when given) tells whether every character could be represented.
QByteArray encodeAnsiCodePage(const QString &text, bool *exact = nullptr);

} // namespace pelmaris::platform
