#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace pelmaris::scan {

// The bytes of pixel data a PNG's rows hold, filter bytes included, as its header
// (the first 33 bytes of the file) declares them: -1 when that is no PNG header.
qint64 pngRowBytes(const QByteArray &head);

// Whether the pixel data of a whole PNG inflates to more than its rows hold. The
// decoder inflates whatever follows the last row only to throw it away, so a small
// file can keep it busy for minutes; this stops at the first byte too many.
bool pngInflatesBeyondItsRows(const QByteArray &png);

} // namespace pelmaris::scan
