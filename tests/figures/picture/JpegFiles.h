// JPEG files as other programs write them, and as hostile ones are made: progressive or
// arithmetic coding through libjpeg, sizes claimed in the frame header, scans repeated, data
// cut short.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace koyomi::test {

struct JpegCoding
{
    bool progressive = false;
    bool arithmetic = false;
    int quality = 90;
};

inline QByteArray jpegCoded(const QImage& picture, JpegCoding coding)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors); // a failure ends the test program, with its message
    jpeg_create_compress(&c);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &bytes, &size);
    c.image_width = JDIMENSION(image.width());
    c.image_height = JDIMENSION(image.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, coding.quality, TRUE);
    if (coding.progressive) {
        jpeg_simple_progression(&c);
    }
    c.arith_code = coding.arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        auto* row = const_cast<JSAMPROW>(image.constScanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(size));
    std::free(bytes);
    return out;
}

// Where the marker FF `code` stands among the segments before the first scan, or -1.
inline qsizetype markerAt(const QByteArray& jpeg, unsigned char code)
{
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        if (uchar(jpeg[at + 1]) == code) {
            return at;
        }
        if (uchar(jpeg[at + 1]) == 0xDA) {
            return -1;
        }
        at += 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]));
    }
    return -1;
}

// The file with its frame header (SOF0, SOF2, SOF9 or SOF10) claiming another size.
inline QByteArray claimingSize(QByteArray jpeg, int width, int height)
{
    for (unsigned char sof : {0xC0, 0xC2, 0xC9, 0xCA}) {
        const qsizetype at = markerAt(jpeg, sof);
        if (at >= 0) {
            jpeg[at + 5] = char(height >> 8);
            jpeg[at + 6] = char(height & 0xFF);
            jpeg[at + 7] = char(width >> 8);
            jpeg[at + 8] = char(width & 0xFF);
        }
    }
    return jpeg;
}

// The end of the entropy-coded data that starts at `from`: the next marker that is neither a
// stuffed zero nor a restart.
inline qsizetype scanDataEnd(const QByteArray& jpeg, qsizetype from)
{
    for (qsizetype i = from; i + 1 < jpeg.size(); ++i) {
        const uchar next = uchar(jpeg[i + 1]);
        if (uchar(jpeg[i]) == 0xFF && next != 0x00 && next != 0xFF &&
            (next < 0xD0 || next > 0xD7)) {
            return i;
        }
    }
    return jpeg.size();
}

// The file with its first scan (its SOS segment and data) standing `times` times.
inline QByteArray firstScanRepeated(const QByteArray& jpeg, int times)
{
    const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype data = sos + 2 + (uchar(jpeg[sos + 2]) << 8 | uchar(jpeg[sos + 3]));
    const QByteArray scan = jpeg.mid(sos, scanDataEnd(jpeg, data) - sos);
    return jpeg.left(sos) + scan.repeated(times) + jpeg.mid(sos + scan.size());
}

// The file cut at `fraction` of its bytes, with an end marker put after the cut: what a
// broken copy from a USB stick can look like.
inline QByteArray cutShort(const QByteArray& jpeg, double fraction)
{
    return jpeg.left(qsizetype(double(jpeg.size()) * fraction)) + QByteArray("\xFF\xD9", 2);
}

} // namespace koyomi::test
