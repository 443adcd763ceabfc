#pragma once

// A hostile JPEG made at test time: a few kilobytes whose decode walks a giant picture
// hundreds of times over.

#include <QByteArray>
#include <QSize>
#include <QtEndian>

#include <cstdio> // the codec's header needs FILE
#include <cstdlib>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace hostilejpeg {

// A 16 x 16 grey picture, arithmetic-coded and progressive in `scans` scans (the DC scan,
// then each AC coefficient in turn from its first approximation down to full precision),
// whose frame header is patched to declare `claimed`. Arithmetic coding reads past the
// end of the data as an endless run of the likeliest symbol, so every scan walks every
// block of the claimed picture: 8000 x 8000 in 490 scans takes seconds from 8 KB.
inline QByteArray arithmeticScanBomb(QSize claimed, int scans)
{
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 16;
    info.image_height = 16;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    info.arith_code = TRUE;
    // For 8-bit samples the successive approximation goes down from bit 10.
    constexpr int kTopBit = 10;
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0, 0, 0, 0}, 0, 0, 0, 0});
    for (int band = 1; band <= 63 && int(script.size()) < scans; ++band) {
        script.push_back({1, {0, 0, 0, 0}, band, band, 0, kTopBit});
        for (int bit = kTopBit - 1; bit >= 0 && int(script.size()) < scans; --bit)
            script.push_back({1, {0, 0, 0, 0}, band, band, bit + 1, bit});
    }
    info.scan_info = script.data();
    info.num_scans = int(script.size());
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(16, 128);
    JSAMPROW rows[1] = {row.data()};
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);

    auto *data = reinterpret_cast<uchar *>(bytes.data());
    for (qsizetype i = 2; i + 9 < bytes.size();) {
        if (data[i] != 0xFF)
            break;
        if (data[i + 1] == 0xCA) { // progressive, arithmetic
            qToBigEndian<quint16>(quint16(claimed.height()), data + i + 5);
            qToBigEndian<quint16>(quint16(claimed.width()), data + i + 7);
            return bytes;
        }
        i += 2 + qFromBigEndian<quint16>(data + i + 2);
    }
    return {};
}

} // namespace hostilejpeg
