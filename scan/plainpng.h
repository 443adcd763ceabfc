#pragma once

#include <QByteArray>
#include <QImage>

namespace pelmaris::scan {

// A small PNG in the plain shape thumbnailers write (8-bit RGB or RGBA, not interlaced,
// latin-1 texts, no palette, transparency key or colour profile), decoded from memory
// with one pass of the inflater that also stops at the first byte beyond its rows. Other
// PNGs are left to the generic reader, which gives the same picture for these.
struct PlainPng {
    enum class Status {
        Decoded,
        NotPlain, // another kind of PNG, or none: the generic reader decides
        Refused,  // damaged, or pixel data inflating beyond its rows
    };
    Status status = Status::NotPlain;
    // RGB32 or ARGB32 as the generic reader gives them, with the texts set.
    QImage image;
};

// Reads the chunks of `png` and gives up without inflating anything when the picture is
// larger than maxEdge either way or its "Thumb::URI" text (when it comes before the
// pixels) differs from `uri` (empty: any).
PlainPng readPlainPng(const QByteArray &png, int maxEdge, const QString &uri = {});

} // namespace pelmaris::scan
