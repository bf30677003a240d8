// JPEG files made for picture tests: plain blocks of colour, optionally with an EXIF
// orientation, written into a test folder.
#pragma once

#include "render/JpegEncoder.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdlib>

namespace koyomi::test {

// A picture whose left half is red and right half blue, so that turning or mirroring it
// shows.
inline QImage halvesImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

inline QByteArray jpegOf(const QImage& image)
{
    return render::JpegEncoder(95).encode(image);
}

// The JPEG with an EXIF block holding only the orientation, right after its start marker.
inline QByteArray withOrientation(const QByteArray& jpeg, int orientation, bool bigEndian = true)
{
    QByteArray tiff =
        bigEndian ? QByteArray("MM\0\x2A\0\0\0\x08", 8) : QByteArray("II\x2A\0\x08\0\0\0", 8);
    auto put16 = [&](int v) {
        if (bigEndian) {
            tiff.append(char(v >> 8)).append(char(v & 0xFF));
        } else {
            tiff.append(char(v & 0xFF)).append(char(v >> 8));
        }
    };
    put16(1);                 // one entry
    put16(0x0112);            // orientation
    put16(3);                 // SHORT
    put16(bigEndian ? 0 : 1); // count 1, four bytes
    put16(bigEndian ? 1 : 0);
    put16(orientation); // value, then its padding
    put16(0);
    tiff.append(QByteArray(4, '\0')); // no next directory
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(body.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(body);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::abort();
    }
}

// Whether a decoded pixel is near a colour (JPEG changes colours a little).
inline bool near(QRgb pixel, QColor color, int tolerance = 40)
{
    return std::abs(qRed(pixel) - color.red()) <= tolerance &&
           std::abs(qGreen(pixel) - color.green()) <= tolerance &&
           std::abs(qBlue(pixel) - color.blue()) <= tolerance;
}

} // namespace koyomi::test
