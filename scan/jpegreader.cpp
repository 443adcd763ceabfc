#include "scan/jpegreader.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio> // the codec's header needs FILE
#include <cstring>
#include <vector>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace pelmaris::scan {

namespace {

// Reads from the file in large pieces: a photo takes a few dozen reads, not hundreds.
constexpr size_t kChunk = 64 * 1024;
// A progressive encoder writes about ten scans; each scan walks the whole picture, so a
// forged file with thousands of tiny ones would spin for minutes.
constexpr int kMaxScans = 500;
// The work of a decode, in walks over the whole picture's blocks. An encoder's scans
// add up to about six (a scan of one component walks only that component's blocks);
// a forged file that repeats tiny scans over a giant picture is cut off here.
constexpr qint64 kMaxPasses = 16;
// Arithmetic coding can spend far less than a bit on a block, but real pictures do
// not: a file with less than a bit per this many blocks is forged, or a giant picture
// of one flat colour, which costs as much to decode as any other.
constexpr qint64 kArithmeticBlocksPerBit = 16;
// Tables, saved markers and the rows in flight, beside the big buffers counted exactly.
constexpr qint64 kLibraryOverhead = 4 * 1024 * 1024;
// The largest JPEG marker segment.
constexpr int kMaxSegment = 0xFFFF;

qint64 roundUp(qint64 value, qint64 multiple)
{
    return multiple > 0 ? (value + multiple - 1) / multiple * multiple : value;
}

qint64 ceilDiv(qint64 value, qint64 divisor)
{
    return (value + divisor - 1) / divisor;
}

// The smallest M of M/8 among 1, 2, 4, 8 whose decoded size covers `minimum`.
int scaleNumerator(QSize stored, QSize minimum)
{
    if (minimum.isEmpty())
        return 8;
    for (int m : {1, 2, 4}) {
        if (ceilDiv(qint64(stored.width()) * m, 8) >= minimum.width() &&
            ceilDiv(qint64(stored.height()) * m, 8) >= minimum.height())
            return m;
    }
    return 8;
}

} // namespace

struct JpegReader::State {
    struct Errors : jpeg_error_mgr {
        std::jmp_buf jump;
    };

    jpeg_decompress_struct info{};
    Errors errors{};
    jpeg_source_mgr source{};
    jpeg_progress_mgr progress{};
    QIODevice *device = nullptr;
    const std::atomic<bool> *cancel = nullptr;
    std::vector<JOCTET> buffer = std::vector<JOCTET>(kChunk);
    QByteArray exif;
    QImage image;
    std::vector<JSAMPLE> cmykRow;
    bool created = false;
    bool headerRead = false;
    bool failed = false;
    bool outOfMemory = false;
    // Blocks walked by the scans started so far, and the most a decode may walk.
    qint64 walked = 0;
    qint64 walkLimit = 0;
    int walkedScan = 0;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }

    static State *of(j_common_ptr cinfo) { return static_cast<State *>(cinfo->client_data); }
    static State *of(j_decompress_ptr cinfo) { return static_cast<State *>(cinfo->client_data); }

    // The codec's callbacks. Errors jump back to the call that started the work; they
    // pass only through the codec's own C frames.
    static void onError(j_common_ptr cinfo)
    {
        const int code = cinfo->err->msg_code;
        if (State *s = of(cinfo))
            s->outOfMemory = code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE;
        std::longjmp(static_cast<Errors *>(cinfo->err)->jump, 1);
    }
    static void onMessage(j_common_ptr) {}
    static void onProgress(j_common_ptr cinfo)
    {
        State *s = of(cinfo);
        if (s->cancelled() || s->info.input_scan_number > kMaxScans)
            std::longjmp(s->errors.jump, 1);
        // A scan is charged in full when it starts, before it has walked anything.
        if (s->info.input_scan_number != s->walkedScan) {
            s->walkedScan = s->info.input_scan_number;
            for (int i = 0; i < s->info.comps_in_scan; ++i) {
                const jpeg_component_info *comp = s->info.cur_comp_info[i];
                s->walked += qint64(comp->width_in_blocks) * comp->height_in_blocks;
            }
            if (s->walked > s->walkLimit)
                std::longjmp(s->errors.jump, 1);
        }
    }

    qint64 blocks() const
    {
        qint64 total = 0;
        for (int c = 0; c < info.num_components; ++c)
            total += qint64(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
        return total;
    }
    // Every coefficient is kept until the last scan: the picture comes in several.
    bool buffered() const
    {
        return info.progressive_mode || info.comps_in_scan < info.num_components;
    }
    static void initSource(j_decompress_ptr) {}
    static void termSource(j_decompress_ptr) {}
    static boolean fillInput(j_decompress_ptr cinfo)
    {
        State *s = of(cinfo);
        qint64 n = -1;
        if (!s->cancelled())
            n = s->device->read(reinterpret_cast<char *>(s->buffer.data()), qint64(kChunk));
        if (n <= 0) {
            // As if the file ended here: the codec finishes what it has (a file cut
            // short shows its top part) and a cancel ends the decode at once.
            s->buffer[0] = JOCTET(0xFF);
            s->buffer[1] = JOCTET(JPEG_EOI);
            n = 2;
            WARNMS(cinfo, JWRN_JPEG_EOF);
        }
        s->source.next_input_byte = s->buffer.data();
        s->source.bytes_in_buffer = size_t(n);
        return TRUE;
    }
    static void skipInput(j_decompress_ptr cinfo, long count)
    {
        State *s = of(cinfo);
        if (count <= 0)
            return;
        if (size_t(count) <= s->source.bytes_in_buffer) {
            s->source.next_input_byte += count;
            s->source.bytes_in_buffer -= size_t(count);
            return;
        }
        count -= long(s->source.bytes_in_buffer);
        s->source.bytes_in_buffer = 0;
        s->device->skip(count); // past the end, the next read finds nothing
    }
    // Keeps the first EXIF segment (for the orientation) and skips every other APP1
    // segment (XMP and the like) without holding it.
    static boolean readApp1(j_decompress_ptr cinfo)
    {
        State *s = of(cinfo);
        auto next = [cinfo]() -> int {
            if (cinfo->src->bytes_in_buffer == 0)
                (*cinfo->src->fill_input_buffer)(cinfo);
            --cinfo->src->bytes_in_buffer;
            return *cinfo->src->next_input_byte++;
        };
        const int high = next();
        long length = long((high << 8) | next()) - 2;
        if (length <= 0)
            return TRUE;
        if (!s->exif.isEmpty()) {
            (*cinfo->src->skip_input_data)(cinfo, length);
            return TRUE;
        }
        s->exif.resize(qsizetype(length));
        char *out = s->exif.data();
        while (length > 0) {
            if (cinfo->src->bytes_in_buffer == 0)
                (*cinfo->src->fill_input_buffer)(cinfo);
            const size_t n = std::min(size_t(length), cinfo->src->bytes_in_buffer);
            std::memcpy(out, cinfo->src->next_input_byte, n);
            cinfo->src->next_input_byte += n;
            cinfo->src->bytes_in_buffer -= n;
            out += n;
            length -= long(n);
        }
        if (!s->exif.startsWith(QByteArrayLiteral("Exif\0\0")))
            s->exif.clear();
        return TRUE;
    }
};

JpegReader::JpegReader(QIODevice *device, const std::atomic<bool> *cancel)
    : d(std::make_unique<State>())
{
    d->device = device;
    d->cancel = cancel;
}

JpegReader::~JpegReader()
{
    if (d->created)
        jpeg_destroy_decompress(&d->info);
}

bool JpegReader::readHeader()
{
    State *s = d.get();
    if (s->headerRead || s->failed)
        return s->headerRead;
    s->info.err = jpeg_std_error(&s->errors);
    s->errors.error_exit = State::onError;
    s->errors.output_message = State::onMessage;
    if (setjmp(s->errors.jump)) {
        s->failed = true;
        return false;
    }
    s->info.client_data = s; // kept by the create call
    jpeg_create_decompress(&s->info);
    s->created = true;
    s->source.init_source = State::initSource;
    s->source.fill_input_buffer = State::fillInput;
    s->source.skip_input_data = State::skipInput;
    s->source.resync_to_restart = jpeg_resync_to_restart;
    s->source.term_source = State::termSource;
    s->info.src = &s->source;
    jpeg_set_marker_processor(&s->info, JPEG_APP0 + 1, State::readApp1);
    if (jpeg_read_header(&s->info, TRUE) != JPEG_HEADER_OK || s->info.image_width == 0 ||
        s->info.image_height == 0 || s->info.num_components < 1 || s->info.num_components > 4) {
        s->failed = true;
        return false;
    }
    s->headerRead = true;
    return true;
}

QSize JpegReader::size() const
{
    return d->headerRead ? QSize(int(d->info.image_width), int(d->info.image_height)) : QSize();
}

QImageIOHandler::Transformations JpegReader::transformation() const
{
    return transformationOf(exifOrientation(d->exif));
}

bool JpegReader::ranOutOfMemory() const
{
    return d->outOfMemory;
}

bool JpegReader::isProgressive() const
{
    return d->headerRead && d->info.progressive_mode;
}

bool JpegReader::isArithmetic() const
{
    return d->headerRead && d->info.arith_code;
}

QSize JpegReader::scaledSize(QSize minimum) const
{
    const QSize stored = size();
    const int m = scaleNumerator(stored, minimum);
    return QSize(int(ceilDiv(qint64(stored.width()) * m, 8)),
                 int(ceilDiv(qint64(stored.height()) * m, 8)));
}

qint64 JpegReader::libraryBytes() const
{
    // These buffers follow the stored size whatever the scale.
    const jpeg_decompress_struct &info = d->info;
    qint64 bytes = kLibraryOverhead;
    // Working rows: one band of MCU rows per component at full width, a few times over.
    bytes += qint64(info.image_width) * info.num_components * info.max_v_samp_factor * DCTSIZE * 4;
    // A picture in several scans keeps every coefficient block until the last scan.
    if (d->buffered()) {
        for (int c = 0; c < info.num_components; ++c) {
            const jpeg_component_info &comp = info.comp_info[c];
            bytes += roundUp(comp.width_in_blocks, comp.h_samp_factor) *
                     roundUp(comp.height_in_blocks, comp.v_samp_factor) * qint64(sizeof(JBLOCK));
        }
    }
    return bytes;
}

qint64 JpegReader::memoryNeed(QSize minimum) const
{
    const QSize out = scaledSize(minimum);
    return libraryBytes() + qint64(out.width()) * out.height() * 4 + qint64(kChunk);
}

bool JpegReader::isTooShortFor(qint64 fileBytes) const
{
    if (!d->headerRead)
        return false;
    const qint64 bits = fileBytes * 8;
    if (!d->info.arith_code)
        return bits < d->blocks();
    return bits * kArithmeticBlocksPerBit < d->blocks();
}

QImage JpegReader::read(QSize minimum, qint64 libraryLimit)
{
    State *s = d.get();
    if (!s->headerRead || s->failed)
        return QImage();
    if (setjmp(s->errors.jump)) {
        s->failed = true;
        s->image = QImage();
        jpeg_abort_decompress(&s->info);
        return QImage();
    }
    s->info.scale_num = unsigned(scaleNumerator(size(), minimum));
    s->info.scale_denom = 8;
    const bool cmyk = s->info.jpeg_color_space == JCS_CMYK || s->info.jpeg_color_space == JCS_YCCK;
    // Straight into the picture's rows, in its own byte order.
    s->info.out_color_space =
        cmyk ? JCS_CMYK : (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB);
    s->info.mem->max_memory_to_use = long(std::min<qint64>(libraryLimit, LONG_MAX));
    s->progress.progress_monitor = State::onProgress;
    s->info.progress = &s->progress;
    s->walked = 0;
    s->walkedScan = 0;
    s->walkLimit = kMaxPasses * s->blocks();
    jpeg_start_decompress(&s->info);

    const int width = int(s->info.output_width);
    const int height = int(s->info.output_height);
    s->image = QImage(width, height, QImage::Format_RGB32);
    if (s->image.isNull()) {
        jpeg_abort_decompress(&s->info);
        return QImage();
    }
    if (cmyk)
        s->cmykRow.resize(size_t(width) * 4);
    uchar *const bits = s->image.bits();
    const qsizetype stride = s->image.bytesPerLine();
    while (s->info.output_scanline < s->info.output_height) {
        if (s->cancelled()) {
            jpeg_abort_decompress(&s->info);
            s->image = QImage();
            return QImage();
        }
        const qsizetype y = s->info.output_scanline;
        JSAMPROW row = cmyk ? s->cmykRow.data() : bits + y * stride;
        if (jpeg_read_scanlines(&s->info, &row, 1) != 1)
            break;
        if (cmyk) {
            // Adobe's inverted CMYK, as the generic reader shows it.
            auto *out = reinterpret_cast<QRgb *>(bits + y * stride);
            const JSAMPLE *in = s->cmykRow.data();
            for (int x = 0; x < width; ++x, in += 4) {
                const int k = in[3];
                out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
            }
        }
    }
    jpeg_abort_decompress(&s->info); // the rest of the file is not needed
    QImage result = std::move(s->image);
    s->image = QImage();
    return result;
}

int exifOrientation(const QByteArray &app1)
{
    constexpr int kHeader = 6; // "Exif\0\0"
    if (app1.size() < kHeader + 8 || !app1.startsWith(QByteArrayLiteral("Exif\0\0")))
        return 0;
    const auto *tiff = reinterpret_cast<const uchar *>(app1.constData()) + kHeader;
    const qint64 size = app1.size() - kHeader;
    bool little;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        little = true;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        little = false;
    else
        return 0;
    const auto u16 = [&](qint64 at) {
        return little ? qFromLittleEndian<quint16>(tiff + at) : qFromBigEndian<quint16>(tiff + at);
    };
    const auto u32 = [&](qint64 at) {
        return little ? qFromLittleEndian<quint32>(tiff + at) : qFromBigEndian<quint32>(tiff + at);
    };
    if (u16(2) != 42)
        return 0;
    // The orientation of the main picture lives in the first directory.
    const qint64 ifd = u32(4);
    if (ifd < 8 || ifd + 2 > size)
        return 0;
    const int entries = u16(ifd);
    for (int i = 0; i < entries; ++i) {
        const qint64 at = ifd + 2 + qint64(i) * 12;
        if (at + 12 > size)
            return 0;
        if (u16(at) != 0x0112)
            continue;
        const int type = u16(at + 2);
        const quint32 count = u32(at + 4);
        const int value = u16(at + 8);
        return type == 3 && count == 1 && value >= 1 && value <= 8 ? value : 0;
    }
    return 0;
}

QImageIOHandler::Transformations transformationOf(int exifOrientation)
{
    switch (exifOrientation) {
    case 2:
        return QImageIOHandler::TransformationMirror;
    case 3:
        return QImageIOHandler::TransformationRotate180;
    case 4:
        return QImageIOHandler::TransformationFlip;
    case 5:
        return QImageIOHandler::TransformationFlipAndRotate90;
    case 6:
        return QImageIOHandler::TransformationRotate90;
    case 7:
        return QImageIOHandler::TransformationMirrorAndRotate90;
    case 8:
        return QImageIOHandler::TransformationRotate270;
    default:
        return QImageIOHandler::TransformationNone;
    }
}

} // namespace pelmaris::scan
