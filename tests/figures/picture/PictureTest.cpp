#include "figures/picture/Picture.h"
#include "JpegFiles.h"
#include "PictureFiles.h"
#include "figures/picture/JpegDecoder.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <string>

using namespace koyomi;
using figures::fitPicture;
using figures::PictureError;
using test::near;

TEST(PictureList, OnlyJpgFilesInNaturalOrderWhateverTheCase)
{
    QTemporaryDir dir;
    for (const char* name :
         {"b.jpg", "a.JPG", "c.jpeg", "10.jpg", "2.Jpg", "x.png", ".jpg", "notes.jpg.txt"}) {
        test::writeBytes(dir.filePath(name), "x");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("d.JPG"));
    EXPECT_EQ(figures::pictureNames(dir.path()),
              QStringList({".jpg", "2.Jpg", "10.jpg", "a.JPG", "b.jpg"}));
    EXPECT_EQ(figures::pictureNames(dir.filePath("gone")), QStringList());
    EXPECT_FALSE(figures::isPictureName("photo.jpeg"));
    EXPECT_FALSE(figures::isPictureName("jpg"));
    EXPECT_TRUE(figures::isPictureName("写真.jPg"));
}

TEST(PictureFit, OwnSizeCentredWhenSmallerOtherwiseTheLargestThatFits)
{
    const QSize window(800, 524);
    EXPECT_EQ(fitPicture({320, 240}, window), QRect(240, 142, 320, 240));
    EXPECT_EQ(fitPicture({1600, 1200}, window), QRect(51, 0, 698, 524));
    EXPECT_EQ(fitPicture({1200, 1600}, window), QRect(203, 0, 393, 524));
    // Wide: the full width, the height truncated.
    EXPECT_EQ(fitPicture({1600, 400}, window), QRect(0, 162, 800, 200));
    // As wide as the window but lower: not smaller both ways, so stretched to the width.
    EXPECT_EQ(fitPicture({800, 100}, window), QRect(0, 212, 800, 100));
    EXPECT_EQ(fitPicture({100, 524}, window), QRect(350, 0, 100, 524));
    EXPECT_TRUE(fitPicture({0, 100}, window).isEmpty());
    EXPECT_TRUE(fitPicture({100, 100}, {0, 524}).isEmpty());
}

TEST(PictureDecode, DecodesAtTheSmallestScaleStillAsLargeAsItsPlace)
{
    const QByteArray jpeg = test::jpegOf(test::halvesImage(1600, 1200));
    // 698 × 524 in the window: half scale (800 × 600) is the smallest that covers it.
    const figures::DecodedPicture half = figures::decodeJpeg(jpeg, {800, 524});
    EXPECT_EQ(half.size, QSize(1600, 1200));
    EXPECT_EQ(half.image.size(), QSize(800, 600));
    EXPECT_TRUE(near(half.image.pixel(10, 300), Qt::red));
    EXPECT_TRUE(near(half.image.pixel(790, 300), Qt::blue));
    // Shown at its own size in a larger window: decoded whole.
    EXPECT_EQ(figures::decodeJpeg(jpeg, {1920, 1300}).image.size(), QSize(1600, 1200));
    // An eighth is as small as it goes.
    EXPECT_EQ(figures::decodeJpeg(jpeg, {40, 30}).image.size(), QSize(200, 150));
}

TEST(PictureDecode, EveryExifOrientationIsShownUpright)
{
    // Stored left red, right blue; each orientation says how to turn it upright, and where
    // the red half then lies (0 left, 1 top, 2 right, 3 bottom).
    const QByteArray plain = test::jpegOf(test::halvesImage(64, 32));
    const int redSide[9] = {0, 0, 2, 2, 0, 1, 1, 3, 3};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (bool big : {true, false}) {
            const QByteArray jpeg = test::withOrientation(plain, orientation, big);
            ASSERT_EQ(figures::jpegOrientation(jpeg), orientation);
            const figures::DecodedPicture p = figures::decodeJpeg(jpeg, {800, 600});
            const bool side = orientation >= 5;
            ASSERT_EQ(p.size, side ? QSize(32, 64) : QSize(64, 32)) << orientation;
            ASSERT_EQ(p.image.size(), p.size);
            const QImage& i = p.image;
            const QPoint red[4] = {{4, i.height() / 2},
                                   {i.width() / 2, 4},
                                   {i.width() - 5, i.height() / 2},
                                   {i.width() / 2, i.height() - 5}};
            const int s = redSide[orientation];
            EXPECT_TRUE(near(i.pixel(red[s]), Qt::red)) << orientation;
            EXPECT_TRUE(near(i.pixel(red[(s + 2) % 4]), Qt::blue)) << orientation;
        }
    }
    // A cut or unknown EXIF block is no orientation.
    EXPECT_EQ(figures::jpegOrientation(test::withOrientation(plain, 9)), 1);
    EXPECT_EQ(figures::jpegOrientation(test::withOrientation(plain, 6).left(20)), 1);
}

TEST(PictureDecode, WhatIsNotAWholeJpegIsRefusedAndAMissingFileIsUnreadable)
{
    QTemporaryDir dir;
    const QByteArray jpeg = test::jpegOf(test::halvesImage(64, 48));
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        test::halvesImage(8, 8).save(&buffer, "PNG");
    }
    const std::pair<const char*, QByteArray> bad[] = {
        {"empty.jpg", QByteArray()},
        {"truncated.jpg", jpeg.left(jpeg.size() / 2)},
        {"header-only.jpg", jpeg.left(200)},
        {"png.jpg", png},
        {"text.jpg", QByteArray("not a picture")},
    };
    // A pipe would block the reader for ever, a folder cannot be read as a file.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.jpg")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.jpg"));
    for (const auto& [name, bytes] : bad) {
        test::writeBytes(dir.filePath(name), bytes);
    }
    for (const char* name : {"empty.jpg", "truncated.jpg", "header-only.jpg", "png.jpg", "text.jpg",
                             "pipe.jpg", "folder.jpg"}) {
        try {
            figures::loadPicture(dir.filePath(name), {800, 600});
            ADD_FAILURE() << name << " was shown";
        } catch (const PictureError& e) {
            EXPECT_EQ(e.kind, PictureError::NotAPicture) << name;
            EXPECT_TRUE(e.message.startsWith(QStringLiteral("「%1」").arg(name)))
                << e.message.toStdString();
        }
    }
    try {
        figures::loadPicture(dir.filePath("missing.jpg"), {800, 600});
        ADD_FAILURE() << "a missing file was shown";
    } catch (const PictureError& e) {
        EXPECT_EQ(e.kind, PictureError::Unreadable);
        EXPECT_EQ(e.message, "「missing.jpg」が見つかりません");
    }
}

TEST(PictureDraw, ThePictureOnBlackInItsPlace)
{
    render::Canvas canvas(800, 524, render::kWhite);
    figures::DecodedPicture picture{test::halvesImage(320, 240), QSize(320, 240)};
    figures::drawPicture(canvas, picture);
    const QImage& shown = canvas.image();
    EXPECT_EQ(shown.pixel(239, 200), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(240, 200), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(559, 200), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(560, 200), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(300, 141), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(300, 142), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(300, 381), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(300, 382), qRgb(0, 0, 0));
    // Scaled into its place: 1600 × 1200 decoded at half, stretched to 698 × 524 at 51.
    figures::DecodedPicture large{test::halvesImage(800, 600), QSize(1600, 1200)};
    QImage kept;
    figures::drawPicture(canvas, large, &kept);
    EXPECT_EQ(kept.size(), QSize(698, 524));
    EXPECT_EQ(canvas.image().pixel(50, 262), qRgb(0, 0, 0));
    EXPECT_TRUE(near(canvas.image().pixel(52, 262), Qt::red));
    EXPECT_TRUE(near(canvas.image().pixel(747, 262), Qt::blue));
    EXPECT_EQ(canvas.image().pixel(749, 262), qRgb(0, 0, 0));
}

namespace {

// A picture with detail in every block, so that its coded data fills the file evenly.
QImage texturedImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int t = ((x * 7919 + y * 104729) >> 3) & 63;
            image.setPixel(x, y, qRgb((x + t) & 255, (y * 3 + t) & 255, ((x ^ y) + t) & 255));
        }
    }
    return image;
}

// The message a refused picture gives, or "shown".
std::string outcome(const QByteArray& jpeg, QSize client = {800, 600})
{
    try {
        figures::decodeJpeg(jpeg, client);
        return "shown";
    } catch (const PictureError& e) {
        EXPECT_EQ(e.kind, PictureError::NotAPicture);
        return e.message.toStdString();
    }
}

// The largest the process has been, in kilobytes.
long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

// A few hundred bytes that claim 30000 × 30000 pixels in several scans would need 2.7 GB of
// coefficients: refused before any is made. One scan needs none, but its 21 million blocks
// are more work than allowed; a smaller claim's data ending at once is refused as cut short.
TEST(PictureDecode, FilesClaimingHugeSizesAreRefusedBeforeTheirBuffersAreMade)
{
    const QImage small = texturedImage(64, 64);
    const long before = peakKilobytes();
    for (const test::JpegCoding coding :
         {test::JpegCoding{true, false}, test::JpegCoding{true, true}}) {
        for (const int side : {30000, 45000, 65500}) {
            const QByteArray bomb = test::claimingSize(test::jpegCoded(small, coding), side, side);
            EXPECT_LT(bomb.size(), 4096);
            EXPECT_EQ(outcome(bomb),
                      QStringLiteral("画像が大きすぎます (%1 × %1)").arg(side).toStdString());
        }
    }
    for (const test::JpegCoding coding :
         {test::JpegCoding{false, false}, test::JpegCoding{false, true}}) {
        const QByteArray one = test::jpegCoded(small, coding);
        EXPECT_EQ(outcome(test::claimingSize(one, 30000, 30000)),
                  "画像が大きすぎます (30000 × 30000)");
        EXPECT_EQ(outcome(test::claimingSize(one, 16000, 16000)), "JPEG 画像が途中で切れています");
    }
    EXPECT_LT(peakKilobytes() - before, 64 * 1024);

    // Under the limit: a progressive picture of 4096 × 4096 (48 MB of coefficients) shows.
    const QByteArray large = test::jpegCoded(texturedImage(4096, 4096), {true, false, 50});
    EXPECT_EQ(outcome(large), "shown");
}

// Each scan of a progressive file walks the whole picture again: the scans allowed are the
// work allowed over the picture's blocks, and never more than 300.
TEST(PictureDecode, ScansAreLimitedByTheirCountAndByTheirWorkOverThePicture)
{
    // 256 × 256 with colour halved both ways: 32 × 32 luminance blocks and 16 × 16 for each
    // colour, 1536 blocks; the usual progression has ten scans.
    const QByteArray progressive = test::jpegCoded(texturedImage(256, 256), {true});
    auto decodeWithin = [&](const QByteArray& jpeg, qint64 blockScans) {
        figures::JpegLimits limits;
        limits.maxBlockScans = blockScans;
        try {
            figures::decodeJpegScaled(
                jpeg,
                [](QSize) {
                    return figures::JpegScale{1, 1};
                },
                limits);
            return std::string("shown");
        } catch (const PictureError& e) {
            return e.message.toStdString();
        }
    };
    EXPECT_EQ(decodeWithin(progressive, 1536 * 10), "shown");
    EXPECT_EQ(decodeWithin(progressive, 1536 * 10 - 1), "JPEG 画像のスキャンが多すぎます (9 まで)");
    EXPECT_EQ(decodeWithin(progressive, 1535), "画像が大きすぎます (256 × 256)");

    // Its first scan repeated: odd but whole, it shows, up to 300 scans in all.
    EXPECT_EQ(outcome(test::firstScanRepeated(progressive, 291)), "shown");
    EXPECT_EQ(outcome(test::firstScanRepeated(progressive, 292)),
              "JPEG 画像のスキャンが多すぎます (300 まで)");
    EXPECT_EQ(outcome(test::firstScanRepeated(progressive, 5000)),
              "JPEG 画像のスキャンが多すぎます (300 まで)");
}

// A picture whose data ended early is refused whatever the coding and whatever the
// decoder's wording (arithmetic coding gives no warning at all); one that is whole but odd
// (stray bytes between segments, an unknown JFIF revision) still shows.
TEST(PictureDecode, DataThatEndedEarlyIsRefusedWhateverTheCoding)
{
    const QImage image = texturedImage(320, 240);
    for (const test::JpegCoding coding :
         {test::JpegCoding{false, false}, test::JpegCoding{true, false},
          test::JpegCoding{false, true}, test::JpegCoding{true, true}}) {
        const std::string name = std::string(coding.progressive ? "progressive" : "sequential") +
                                 (coding.arithmetic ? ", arithmetic" : ", Huffman");
        const QByteArray whole = test::jpegCoded(image, coding);
        const figures::DecodedPicture shown = figures::decodeJpeg(whole, {800, 600});
        EXPECT_TRUE(near(shown.image.pixel(100, 50), image.pixel(100, 50), 24)) << name;
        for (const double at : {0.3, 0.5, 0.9}) {
            EXPECT_EQ(outcome(test::cutShort(whole, at)), "JPEG 画像が途中で切れています")
                << name << " cut at " << at;
            EXPECT_EQ(outcome(whole.left(qsizetype(double(whole.size()) * at))),
                      "JPEG 画像が途中で切れています")
                << name << " cut at " << at << " without its end";
        }
        // Stray bytes before the first scan, and a JFIF revision from the future.
        QByteArray odd = whole;
        odd.insert(odd.indexOf(QByteArray("\xFF\xDA", 2)), QByteArray(5, '\x11'));
        const qsizetype jfif = test::markerAt(odd, 0xE0);
        ASSERT_GE(jfif, 0);
        odd[jfif + 9] = char(3); // version 3.01
        EXPECT_EQ(outcome(odd), "shown") << name;
    }
}

// Pictures as cameras write them: the EXIF block after a JFIF one, a large photograph taken
// sideways (decoded at the scale its turned size needs), and fitted sizes whose exact values
// have a fraction of a half or more (the rule truncates).
TEST(PictureDecode, PhotographsAsCamerasWriteThem)
{
    // JFIF first, then EXIF: orientation 6 still turns the picture.
    const QByteArray plain = test::jpegOf(test::halvesImage(64, 32));
    const QByteArray exif = test::withOrientation(plain, 6);
    const qsizetype jfif = test::markerAt(plain, 0xE0);
    ASSERT_EQ(jfif, 2);
    const qsizetype jfifEnd = jfif + 2 + (uchar(plain[jfif + 2]) << 8 | uchar(plain[jfif + 3]));
    const QByteArray exifSegment = exif.mid(2, exif.size() - plain.size());
    const QByteArray camera = plain.left(jfifEnd) + exifSegment + plain.mid(jfifEnd);
    EXPECT_EQ(figures::jpegOrientation(camera), 6);
    const figures::DecodedPicture turned = figures::decodeJpeg(camera, {800, 600});
    EXPECT_EQ(turned.size, QSize(32, 64));
    EXPECT_TRUE(near(turned.image.pixel(16, 4), Qt::red)); // the left half is now on top

    // Stored 6000 × 1500, shown 1500 × 6000: in 800 × 600 its place is 150 × 600, which the
    // stored picture covers as 600 × 150 at an eighth (750 × 188). Judged unturned, it would
    // need half scale.
    const QByteArray sideways =
        test::withOrientation(test::jpegOf(test::halvesImage(6000, 1500)), 6);
    const figures::DecodedPicture tall = figures::decodeJpeg(sideways, {800, 600});
    EXPECT_EQ(tall.size, QSize(1500, 6000));
    EXPECT_EQ(tall.image.size(), QSize(188, 750));
    EXPECT_EQ(fitPicture(tall.size, {800, 600}), QRect(325, 0, 150, 600));

    // 524 / 0.667 = 785.6 and 800 × 1001 / 3000 = 266.9: truncated, and so are the margins.
    EXPECT_EQ(fitPicture({1000, 667}, {800, 524}), QRect(7, 0, 785, 524));
    EXPECT_EQ(fitPicture({3000, 1001}, {800, 600}), QRect(0, 167, 800, 266));
    EXPECT_EQ(fitPicture({1001, 3000}, {600, 800}), QRect(167, 0, 266, 800));
}
