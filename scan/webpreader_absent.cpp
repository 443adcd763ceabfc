// The build without the WebP library: the generic reader decodes every WebP file.
#include "scan/webpreader.h"

namespace pelmaris::scan {

struct WebpReader::State {};

bool WebpReader::isAvailable()
{
    return false;
}

WebpReader::WebpReader(QIODevice *, const std::atomic<bool> *) {}

WebpReader::~WebpReader() = default;

bool WebpReader::readHeader()
{
    return false;
}

QSize WebpReader::size() const
{
    return QSize();
}

bool WebpReader::hasAlpha() const
{
    return false;
}

QSize WebpReader::scaledSize(QSize) const
{
    return QSize();
}

qint64 WebpReader::memoryNeed(QSize, qint64) const
{
    return 0;
}

QImage WebpReader::read(QSize)
{
    return QImage();
}

} // namespace pelmaris::scan
