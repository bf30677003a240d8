// Decoding a JPEG file's bytes for showing, guarded against hostile files: memory and work
// are bounded before and while decoding, and a picture whose data ended early is refused.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <functional>

namespace koyomi::figures {

// What the guards allow. A camera's photograph, progressive or not, is far inside them.
struct JpegLimits
{
    // Pixels of the decoded (reduced) image: 160 MB of RGB32.
    qint64 maxDecodedPixels = 40LL * 1000 * 1000;
    // A progressive or multi-scan file is decoded through a buffer of every coefficient of
    // the whole picture (2 bytes each, 64 a block): 128 MB holds a 42-megapixel picture with
    // halved colour (as cameras and phones write) or a 21-megapixel one in full colour, and
    // keeps a file that claims 30000 × 30000 pixels (2.7 GB of coefficients) from being
    // decoded at all.
    qint64 maxCoefficientBytes = 128LL << 20;
    // Such a file's data is read scan after scan at about 40 ms a megabyte, three times the
    // cost of one scan; a progressive photograph is a few megabytes.
    qint64 maxMultiScanBytes = 12LL << 20;
    // Scans read at most, and scans times blocks: each scan walks the picture's blocks
    // again (about 15 ns a block), so hundreds of scans over a large picture would take
    // seconds. A photograph has ten or so: 16 million block-scans give a 24-megapixel one
    // 28 scans and the largest allowed 16; a small picture may have up to 300.
    int maxScans = 300;
    qint64 maxBlockScans = 16LL * 1000 * 1000;
};

// Decodes `jpeg` at the scale `scaleFor` chooses from the stored size (scale_num/8 with
// scale_num 1..8, as a fraction num/denom), into RGB32 in the file's own orientation.
// Throws PictureError (NotAPicture) with a message for the teacher when the bytes are no
// JPEG, pass a limit, or their data ended early.
struct JpegScale
{
    int num = 1;
    int denom = 1;
};
QImage decodeJpegScaled(const QByteArray& jpeg, const std::function<JpegScale(QSize)>& scaleFor,
                        const JpegLimits& limits = {});

} // namespace koyomi::figures
