#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace pelmaris::gallery {

// The picture the viewer shows. `image` may be a reduced copy of a very large picture;
// `realSize` is always the picture's own size, upright, for the window and the menu.
struct ViewerPicture {
    QImage image; // null when the file could not be decoded
    QSize realSize;
};

// The viewer keeps at most this many pixels in memory (96 MiB at 32 bits per pixel, a 24-megapixel
// photo whole).
inline constexpr qint64 ViewerMaxPixels = 24LL * 1024 * 1024;
// Larger files are not read at all.
inline constexpr qint64 ViewerMaxFileBytes = 256LL * 1024 * 1024;

// Decodes one file for the viewer. Only regular files are read. A picture of more than
// maxPixels is decoded at a reduced size (JPEG directly at 1/2, 1/4 or 1/8 scale, so a
// 20000 x 20000 photo never occupies its full size); a damaged file, one that is not a
// picture, or one whose decoding would need more memory than the decoder allows gives a
// null image and an empty real size.
ViewerPicture loadViewerPicture(const QString &path, qint64 maxPixels = ViewerMaxPixels);

} // namespace pelmaris::gallery
