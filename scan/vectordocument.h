#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

class QIODevice;

namespace pelmaris::scan {

// An SVG picture's document, read and checked before the renderer sees it. The renderer
// reads whatever a document points at (pictures and style sheets in other files, a FIFO
// among them, which would block for ever) and decodes the pictures embedded in it
// without any of the decoder's limits; and a compressed document may inflate to
// gigabytes. So a document is taken only when it is whole in itself and small enough.
struct VectorDocument {
    // The most text a document may have, inflated: its parsed form takes some sixteen
    // times as much.
    static constexpr qint64 kMaxBytes = 16 * 1024 * 1024;
    // The most the pictures embedded in one document may take decoded.
    static constexpr qint64 kMaxEmbeddedBytes = 128 * 1024 * 1024;

    QByteArray text;          // the document, inflated
    qint64 embeddedBytes = 0; // what decoding its embedded pictures holds

    // What rendering the document holds beside the rendered picture.
    qint64 parsedBytes() const { return text.size() * 16 + embeddedBytes; }
};

// Reads the document from `file` (compressed with gzip when `compressed`) and checks
// it. Nothing when it is larger than kMaxBytes, is not well-formed, refers to anything
// outside itself, or embeds a picture that is not a plain PNG, JPEG, GIF, BMP or WebP
// within the limits the decoder keeps for files.
std::optional<VectorDocument> readVectorDocument(QIODevice &file, bool compressed);

// Whether a document's text stands alone: no style sheet from a file, and every
// embedded picture data within the document. Adds the embedded pictures' decoded size
// to `embeddedBytes`.
bool isSelfContained(const QByteArray &text, qint64 *embeddedBytes = nullptr);

} // namespace pelmaris::scan
