#pragma once

#include "scan/decodebudget.h"

#include <QColor>
#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>

#include <atomic>
#include <memory>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::gallery {

// The viewer keeps a picture of up to this many pixels whole: 128 megapixels, 512 MiB at 32
// bits a pixel, half the decode budget, more than any camera makes. A larger one is kept
// reduced, and the window never shows a reduced picture larger than it was decoded.
inline constexpr qint64 ViewerMaxPixels = 128LL * 1024 * 1024;

// What the viewer asks for: a pure function of this, run on a worker thread.
struct ViewerRequest {
    QString path;
    // The decode's memory; null for the process-wide budget the list decodes in.
    scan::DecodeBudget *budget = nullptr;
    const std::atomic<bool> *cancel = nullptr;
    // The primary screen in device pixels: the background rule's shape and the bound of
    // the preview.
    QSize screen;
    qint64 maxPixels = ViewerMaxPixels;
};

// The picture the viewer shows.
struct ViewerPicture {
    // As stored, not yet turned upright (the window draws it turned, so that a sideways
    // photo never needs a turned copy beside it): the whole picture, or a reduced decode
    // of one larger than the viewer keeps. 32 bits a pixel. Null when it cannot be shown.
    QImage image;
    QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone;
    // Upright and no larger than the screen, made once from `image` for the fitted
    // window; null when `image` itself is no larger.
    QImage preview;
    QSize realSize; // the picture's own upright size
    QColor edge;    // the background beside the fitted picture; invalid without a picture
    bool cancelled = false;
    // The picture's share of the decode budget, held as long as it is shown.
    std::shared_ptr<scan::DecodeBudget::Reservation> memory;

    // `image` upright.
    QSize uprightSize() const;
    // Kept at fewer pixels than the picture has.
    bool reduced() const;
};

// Decodes one file for the viewer through the list's decoder, under the same checks and
// the same budget: only regular files are opened, and a header that promises more than
// the budget can hold, or more than the file can carry, is refused before anything is
// allocated. A JPEG that cannot be kept whole is decoded at 1/2, 1/4 or 1/8 of its size.
// A damaged file, one that is not a picture, or a refused one gives a null image and an
// empty real size; a cancel gives `cancelled`. The file is opened through `fileSystem`
// (paths of any length).
ViewerPicture loadViewerPicture(platform::FileSystem &fileSystem, const ViewerRequest &request);

} // namespace pelmaris::gallery
