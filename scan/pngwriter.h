#pragma once

#include <QByteArray>
#include <QImage>

#include <utility>
#include <vector>

namespace pelmaris::scan {

// A small PNG for the thumbnail cache, written with the PNG library itself: the generic
// writer allows no choice of row filter, and its fast settings still take half as long
// again. Fast deflate with the "sub" filter: a first scan writes one per picture, so
// its cost counts more than a few percent of size. Opaque pictures are written as RGB,
// others as RGBA, 8 bits a sample, not interlaced; the texts as plain tEXt chunks
// before the pixels, where readers look first. Empty on failure.
QByteArray encodePng(const QImage &image,
                     const std::vector<std::pair<QByteArray, QByteArray>> &texts);

} // namespace pelmaris::scan
