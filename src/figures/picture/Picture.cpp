#include "figures/picture/Picture.h"

#include "figures/picture/JpegDecoder.h"
#include "render/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTransform>

#include <turbojpeg.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace koyomi::figures {

QString withSeparator(const QString& folder)
{
    return folder == u"/" ? folder : folder + u'/';
}

QStringList pictureRecordValues(const QString& folder, const QString& name)
{
    auto quoted = [](QString text) {
        return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
    };
    return {quoted(withSeparator(folder)), quoted(name)};
}

PictureRecord readPictureRecord(const QStringList& values)
{
    QString folder = values.value(0);
    if (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\'))) {
        folder.chop(1);
    }
    return {folder, values.value(1)};
}

namespace {

// A file larger than this is not read: a photograph is a few megabytes, and one file of this
// size decodes in under a second (the decoder's own limits keep progressive files smaller).
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
[[noreturn]] void notAPicture(const QString& message)
{
    throw PictureError{PictureError::NotAPicture, message};
}
// Orientations 5 to 8 store the picture on its side.
bool sideways(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

// The stored image turned upright for an EXIF orientation: 2 mirrored, 3 turned half way,
// 4 flipped, 5 transposed, 6 turned a quarter clockwise, 7 transversed, 8 a quarter back.
QImage upright(const QImage& stored, int orientation)
{
    switch (orientation) {
    case 2:
        return stored.mirrored(true, false);
    case 3:
        return stored.transformed(QTransform().rotate(180));
    case 4:
        return stored.mirrored(false, true);
    case 5:
        return stored.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return stored.transformed(QTransform().rotate(90));
    case 7:
        return stored.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return stored.transformed(QTransform().rotate(270));
    default:
        return stored;
    }
}

// The smallest of TurboJPEG's scaling factors from 1/8 to 1 that decodes `stored` to at
// least `needed` both ways; 1 when none is smaller.
tjscalingfactor scaleFor(QSize stored, QSize needed)
{
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    tjscalingfactor best{1, 1};
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num * 8 < f.denom || f.num > f.denom) {
            continue; // outside 1/8 … 1
        }
        const bool bigEnough = TJSCALED(stored.width(), f) >= needed.width() &&
                               TJSCALED(stored.height(), f) >= needed.height();
        if (bigEnough && f.num * best.denom < best.num * f.denom) {
            best = f;
        }
    }
    return best;
}

quint16 read16(const uchar* p, bool bigEndian)
{
    return bigEndian ? quint16(p[0] << 8 | p[1]) : quint16(p[1] << 8 | p[0]);
}

quint32 read32(const uchar* p, bool bigEndian)
{
    return bigEndian ? quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3]
                     : quint32(p[3]) << 24 | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0];
}

// The orientation tag of the first image directory of an EXIF block (the TIFF structure
// after "Exif\0\0"); 1 when it is not there.
int exifOrientation(const uchar* tiff, qsizetype size)
{
    if (size < 8 || (std::memcmp(tiff, "MM", 2) != 0 && std::memcmp(tiff, "II", 2) != 0)) {
        return 1;
    }
    const bool big = tiff[0] == 'M';
    const quint32 directory = read32(tiff + 4, big);
    if (directory > quint64(size) - 2) {
        return 1;
    }
    const quint16 entries = read16(tiff + directory, big);
    for (quint32 i = 0; i < entries; ++i) {
        const quint64 entry = quint64(directory) + 2 + 12ULL * i;
        if (entry + 12 > quint64(size)) {
            break;
        }
        const uchar* e = tiff + entry;
        if (read16(e, big) == 0x0112 && read16(e + 2, big) == 3) { // orientation, a SHORT
            const int value = read16(e + 8, big);
            return value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

// Names compared as a person reads them, the same on every machine whatever its language:
// runs of digits by their value ("2" before "10", "007" with "7"), the rest letter by letter
// without regard to case.
int naturalCompare(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && a[ei].isDigit()) {
                ++ei;
            }
            while (ej < b.size() && b[ej].isDigit()) {
                ++ej;
            }
            QStringView x = a.sliced(i, ei - i);
            QStringView y = b.sliced(j, ej - j);
            while (x.size() > 1 && x.front() == u'0') {
                x = x.sliced(1);
            }
            while (y.size() > 1 && y.front() == u'0') {
                y = y.sliced(1);
            }
            if (x.size() != y.size()) {
                return x.size() < y.size() ? -1 : 1;
            }
            if (const int order = x.compare(y); order != 0) {
                return order;
            }
            i = ei;
            j = ej;
            continue;
        }
        const QChar p = a[i].toCaseFolded();
        const QChar q = b[j].toCaseFolded();
        if (p != q) {
            return p < q ? -1 : 1;
        }
        ++i;
        ++j;
    }
    return (a.size() - i > 0) - (b.size() - j > 0);
}

} // namespace

bool isPictureName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot >= 0 && fileName.sliced(dot).toUpper() == QStringLiteral(".JPG");
}

QStringList pictureNames(const QString& folder)
{
    QStringList names;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort)) {
        if (isPictureName(name)) {
            names.append(name);
        }
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = naturalCompare(a, b);
        return order != 0 ? order < 0 : a < b; // one fixed order for names the same but case
    });
    return names;
}

QRect fitPicture(QSize picture, QSize client)
{
    const int W = picture.width();
    const int H = picture.height();
    const int CW = client.width();
    const int CH = client.height();
    if (W <= 0 || H <= 0 || CW <= 0 || CH <= 0) {
        return {};
    }
    if (W < CW && H < CH) {
        return QRect((CW - W) / 2, (CH - H) / 2, W, H);
    }
    const double r = double(H) / double(W);
    int w = 0;
    int h = 0;
    if (r < 1) {
        w = CW;
        h = int(CW * r);
        if (h > CH) {
            h = CH;
            w = int(CH / r);
        }
    } else {
        h = CH;
        w = int(CH / r);
        if (w > CW) {
            w = CW;
            h = int(CW * r);
        }
    }
    return QRect((CW - w) / 2, (CH - h) / 2, w, h);
}

int jpegOrientation(const QByteArray& jpeg)
{
    const auto* bytes = reinterpret_cast<const uchar*>(jpeg.constData());
    const qsizetype size = jpeg.size();
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        return 1;
    }
    // The segments before the image data, each a marker and a length that counts itself.
    qsizetype at = 2;
    while (at + 4 <= size && bytes[at] == 0xFF) {
        const uchar marker = bytes[at + 1];
        if (marker == 0xDA || marker == 0xD9) {
            break; // image data or the end: no more headers
        }
        const qsizetype length = read16(bytes + at + 2, true);
        if (length < 2 || at + 2 + length > size) {
            break;
        }
        const uchar* body = bytes + at + 4;
        const qsizetype bodySize = length - 2;
        if (marker == 0xE1 && bodySize >= 6 && std::memcmp(body, "Exif\0\0", 6) == 0) {
            return exifOrientation(body + 6, bodySize - 6);
        }
        at += 2 + length;
    }
    return 1;
}

DecodedPicture decodeJpeg(const QByteArray& jpeg, QSize client)
{
    const int orientation = jpegOrientation(jpeg);
    QSize shownSize;
    const QImage image = decodeJpegScaled(jpeg, [&](QSize stored) {
        // The decoding scale follows the size the picture is shown at, turned upright.
        shownSize = sideways(orientation) ? stored.transposed() : stored;
        QSize needed = fitPicture(shownSize, client).size();
        if (sideways(orientation)) {
            needed.transpose();
        }
        const tjscalingfactor scale = scaleFor(stored, needed);
        return JpegScale{scale.num, scale.denom};
    });
    return DecodedPicture{upright(image, orientation), shownSize};
}

DecodedPicture loadPicture(const QString& path, QSize client)
{
    const QString name = render::messageExcerpt(QFileInfo(path).fileName());
    const QFileInfo info(path);
    if (!info.exists()) {
        throw PictureError{PictureError::Unreadable,
                           QStringLiteral("「%1」が見つかりません").arg(name)};
    }
    // A pipe or a device named .jpg would never end (or never begin) being read.
    if (!info.isFile()) {
        notAPicture(QStringLiteral("「%1」は普通のファイルではありません").arg(name));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw PictureError{PictureError::Unreadable,
                           QStringLiteral("「%1」を読めません: %2").arg(name, file.errorString())};
    }
    // Read up to one byte past the limit: a file whose size the system does not tell is
    // held to it as well.
    const QByteArray bytes =
        file.size() > kMaxFileBytes ? QByteArray() : file.read(kMaxFileBytes + 1);
    if (file.size() > kMaxFileBytes || bytes.size() > kMaxFileBytes) {
        notAPicture(QStringLiteral("「%1」は大きすぎて読めません").arg(name));
    }
    if (file.error() != QFileDevice::NoError) {
        throw PictureError{PictureError::Unreadable,
                           QStringLiteral("「%1」を読めません: %2").arg(name, file.errorString())};
    }
    try {
        return decodeJpeg(bytes, client);
    } catch (PictureError& e) {
        e.message = QStringLiteral("「%1」: %2").arg(name, e.message);
        throw;
    }
}

void drawPicture(render::Canvas& canvas, const DecodedPicture& picture, QImage* scaled,
                 render::ColorRef background)
{
    canvas.fillRect(QRect(0, 0, canvas.width(), canvas.height()), background);
    const QRect place = fitPicture(picture.size, QSize(canvas.width(), canvas.height()));
    if (place.isEmpty() || picture.image.isNull()) {
        return;
    }
    QImage local;
    QImage& shown = scaled ? *scaled : local;
    if (shown.size() != place.size()) {
        shown = picture.image.size() == place.size()
                    ? picture.image
                    : picture.image.scaled(place.size(), Qt::IgnoreAspectRatio,
                                           Qt::SmoothTransformation);
        if (shown.format() != QImage::Format_RGB32) {
            shown = shown.convertToFormat(QImage::Format_RGB32);
        }
    }
    for (int y = 0; y < place.height(); ++y) {
        canvas.setPixels(place.top() + y, place.left(),
                         reinterpret_cast<const QRgb*>(shown.constScanLine(y)), place.width());
    }
}

} // namespace koyomi::figures
