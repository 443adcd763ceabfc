#include "scan/pngwriter.h"

#include <png.h>

namespace pelmaris::scan {

namespace {

void appendBytes(png_structp png, png_bytep data, size_t length)
{
    static_cast<QByteArray *>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char *>(data), qsizetype(length));
}

void flushNothing(png_structp) {}

// The library reports errors by a jump back to the setjmp below; its frames are C.
void onError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Only plain data lives in this frame, so the library's jump back here skips nothing
// that needs destroying.
bool writePng(QByteArray *out, const QImage &rows, bool alpha, png_text *texts, int count)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, out, appendBytes, flushNothing);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, png_uint_32(rows.width()), png_uint_32(rows.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (count > 0)
        png_set_text(png, info, texts, count);
    png_write_info(png, info);
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        png_set_bgr(png);
        if (!alpha)
            png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(png);
        if (!alpha)
            png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    for (int y = 0; y < rows.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(rows.constScanLine(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

QByteArray encodePng(const QImage &image,
                     const std::vector<std::pair<QByteArray, QByteArray>> &texts)
{
    if (image.isNull())
        return QByteArray();
    const bool alpha = image.hasAlphaChannel();
    // The library reads 32-bit rows in memory order: B, G, R, A on a little-endian
    // machine, with the alpha unpremultiplied.
    const QImage rows = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    std::vector<png_text> chunks(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        chunks[i].compression = PNG_TEXT_COMPRESSION_NONE;
        chunks[i].key = const_cast<char *>(texts[i].first.constData());
        chunks[i].text = const_cast<char *>(texts[i].second.constData());
        chunks[i].text_length = size_t(texts[i].second.size());
    }
    QByteArray out;
    if (!writePng(&out, rows, alpha, chunks.data(), int(chunks.size())))
        return QByteArray();
    return out;
}

} // namespace pelmaris::scan
