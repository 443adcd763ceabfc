#include "scan/pngreader.h"

#include <QByteArray>
#include <QIODevice>
#include <QRgb>

#include <png.h>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace pelmaris::scan {

namespace {

// Reads from the file in large pieces, whatever size of piece the library asks for.
constexpr qint64 kChunk = 64 * 1024;
// Tables, the inflater's window and state, and the chunks before the pixel data,
// beside the buffers counted exactly.
constexpr qint64 kLibraryOverhead = 4 * 1024 * 1024;
// The library's own rows at full width: the row being read and the one before, up to
// 8 bytes a pixel (16-bit RGBA), with the row this reader gets in 32 bits.
constexpr qint64 kRowBytesPerColumn = 2 * 8 + 4;
// The largest block: its sums of 8-bit values stay within 32 bits.
constexpr int kMaxReduction = 2048;

qint64 ceilDiv(qint64 value, qint64 divisor)
{
    return (value + divisor - 1) / divisor;
}

} // namespace

struct PngReader::State {
    QIODevice *device = nullptr;
    const std::atomic<bool> *cancel = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<uchar> buffer = std::vector<uchar>(size_t(kChunk));
    size_t at = 0;  // next unread byte of `buffer`
    size_t end = 0; // bytes held in `buffer`
    QSize size;
    bool alpha = false;
    bool headerRead = false;
    bool failed = false;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }

    // The library's callbacks. Errors jump back to the call that started the work; they
    // pass only through the library's own C frames and these callbacks, which hold
    // nothing to destroy.
    static void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
    static void onWarning(png_structp, png_const_charp) {}
    static void readData(png_structp png, png_bytep out, size_t length)
    {
        auto *s = static_cast<State *>(png_get_io_ptr(png));
        while (length > 0) {
            if (s->at == s->end) {
                const qint64 n = s->cancelled()
                                     ? -1
                                     : s->device->read(reinterpret_cast<char *>(s->buffer.data()),
                                                       qint64(s->buffer.size()));
                if (n <= 0)
                    png_error(png, "cut short or cancelled");
                s->at = 0;
                s->end = size_t(n);
            }
            const size_t n = std::min(length, s->end - s->at);
            std::memcpy(out, s->buffer.data() + s->at, n);
            s->at += n;
            out += n;
            length -= n;
        }
    }
};

PngReader::PngReader(QIODevice *device, const std::atomic<bool> *cancel)
    : d(std::make_unique<State>())
{
    d->device = device;
    d->cancel = cancel;
}

PngReader::~PngReader()
{
    if (d->png)
        png_destroy_read_struct(&d->png, d->info ? &d->info : nullptr, nullptr);
}

bool PngReader::reads(const QByteArray &head)
{
    // IHDR's last byte is the interlace method.
    return head.size() >= 33 && head.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1a\n")) &&
           head.mid(12, 4) == "IHDR" && head[28] == 0;
}

bool PngReader::readHeader()
{
    State *s = d.get();
    if (s->headerRead || s->failed)
        return s->headerRead;
    s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, s, State::onError, State::onWarning);
    if (!s->png)
        return false;
    s->info = png_create_info_struct(s->png);
    if (!s->info)
        return false;
    if (setjmp(png_jmpbuf(s->png))) {
        s->failed = true;
        return false;
    }
#if defined(PNG_SET_OPTION_SUPPORTED) && defined(PNG_MAXIMUM_INFLATE_WINDOW)
    // Streams whose window is declared too small read as the generic reader reads them.
    png_set_option(s->png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);
#endif
    png_set_read_fn(s->png, s, State::readData);
    png_read_info(s->png, s->info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(s->png, s->info, &width, &height, &depth, &colorType, &interlace, nullptr,
                 nullptr);
    if (interlace != PNG_INTERLACE_NONE || width == 0 || height == 0 || width > INT_MAX / 4 ||
        height > INT_MAX) {
        s->failed = true;
        return false;
    }
    // Every form to 8-bit BGRA (ARGB on a big-endian machine), which is QRgb in memory.
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(s->png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8)
        png_set_expand_gray_1_2_4_to_8(s->png);
    s->alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    if (png_get_valid(s->png, s->info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(s->png);
        s->alpha = true;
    }
    if (depth == 16)
        png_set_scale_16(s->png);
    if (!(colorType & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(s->png);
    if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        png_set_bgr(s->png);
        if (!s->alpha)
            png_set_filler(s->png, 0xff, PNG_FILLER_AFTER);
    } else if (s->alpha) {
        png_set_swap_alpha(s->png);
    } else {
        png_set_filler(s->png, 0xff, PNG_FILLER_BEFORE);
    }
    png_read_update_info(s->png, s->info);
    if (png_get_rowbytes(s->png, s->info) != size_t(width) * 4) {
        s->failed = true;
        return false;
    }
    s->size = QSize(int(width), int(height));
    s->headerRead = true;
    return true;
}

QSize PngReader::size() const
{
    return d->headerRead ? d->size : QSize();
}

bool PngReader::hasAlpha() const
{
    return d->headerRead && d->alpha;
}

int PngReader::reduction(QSize minimum) const
{
    if (!d->headerRead || minimum.isEmpty())
        return 1;
    return std::clamp(
        std::min(d->size.width() / minimum.width(), d->size.height() / minimum.height()), 1,
        kMaxReduction);
}

QSize PngReader::scaledSize(QSize minimum) const
{
    const int k = reduction(minimum);
    return QSize(int(ceilDiv(d->size.width(), k)), int(ceilDiv(d->size.height(), k)));
}

qint64 PngReader::memoryNeed(QSize minimum) const
{
    const QSize out = scaledSize(minimum);
    return kLibraryOverhead + kChunk + qint64(d->size.width()) * kRowBytesPerColumn +
           qint64(out.width()) * 4 * qint64(sizeof(quint32)) +
           qint64(out.width()) * out.height() * 4;
}

namespace {

// Reads every row, averaging blocks of k x k pixels into `image`. Only trivially
// destroyed objects live here: a read error jumps out of this frame.
void reduceRows(png_structp png, int k, QRgb *row, int width, int height, bool alpha, quint32 *sums,
                QImage &image, const std::atomic<bool> *cancel, bool &cancelled)
{
    const int outWidth = image.width();
    int bandRows = 0;
    for (int y = 0; y < height; ++y) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            cancelled = true;
            return;
        }
        png_read_row(png, reinterpret_cast<png_bytep>(row), nullptr);
        if (alpha) {
            for (int x = 0; x < width; ++x)
                row[x] = qPremultiply(row[x]);
        }
        quint32 *sum = sums;
        for (int x = 0; x < width; x += k, sum += 4) {
            const int stop = std::min(width, x + k);
            quint32 b = 0, g = 0, r = 0, a = 0;
            for (int i = x; i < stop; ++i) {
                const QRgb pixel = row[i];
                b += qBlue(pixel);
                g += qGreen(pixel);
                r += qRed(pixel);
                a += qAlpha(pixel);
            }
            sum[0] += b;
            sum[1] += g;
            sum[2] += r;
            sum[3] += a;
        }
        if (++bandRows < k && y + 1 < height)
            continue;
        // The band is complete: its averages are one row of the reduced picture.
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y / k));
        sum = sums;
        for (int ox = 0; ox < outWidth; ++ox, sum += 4) {
            const quint32 count = quint32(std::min(k, width - ox * k) * bandRows);
            const auto mean = [count](quint32 total) { return int((total + count / 2) / count); };
            line[ox] = qRgba(mean(sum[2]), mean(sum[1]), mean(sum[0]), mean(sum[3]));
        }
        std::fill(sums, sums + size_t(outWidth) * 4, 0u);
        bandRows = 0;
    }
}

// The library's errors land here; nothing is changed after the jump point is set.
bool reduceRowsGuarded(png_structp png, int k, QRgb *row, int width, int height, bool alpha,
                       quint32 *sums, QImage &image, const std::atomic<bool> *cancel,
                       bool &cancelled)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    reduceRows(png, k, row, width, height, alpha, sums, image, cancel, cancelled);
    return true;
}

} // namespace

QImage PngReader::read(QSize minimum)
{
    State *s = d.get();
    if (!s->headerRead || s->failed)
        return QImage();
    const int k = reduction(minimum);
    const QSize out = scaledSize(minimum);
    QImage image(out, s->alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    std::vector<QRgb> row(static_cast<size_t>(s->size.width()));
    // Per reduced column: the sums of blue, green, red and alpha over the band so far.
    std::vector<quint32> sums(size_t(out.width()) * 4);
    bool cancelled = false;
    if (!reduceRowsGuarded(s->png, k, row.data(), s->size.width(), s->size.height(), s->alpha,
                           sums.data(), image, s->cancel, cancelled) ||
        cancelled) {
        s->failed = true;
        return QImage();
    }
    // The chunks after the pixel data are not needed: the file is left unread there.
    return image;
}

} // namespace pelmaris::scan
