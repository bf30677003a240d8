#include "render/Canvas.h"
#include "CanvasProbe.h"
#include "render/Palette.h"
#include "render/PathUtils.h"
#include "render/RepeatedDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>

using namespace koyomi::render;
using koyomi::test::columnString;
using koyomi::test::countColor;
using koyomi::test::rowString;

TEST(CanvasLines, FirstPointPaintedLastPointNotInEveryDirection)
{
    const std::array<QPoint, 8> directions{QPoint(1, 0),  QPoint(-1, 0), QPoint(0, 1),
                                           QPoint(0, -1), QPoint(1, 1),  QPoint(-1, -1),
                                           QPoint(2, 1),  QPoint(-1, 3)};
    for (const QPoint d : directions) {
        Canvas c(64, 64, kBlack);
        c.setPenColor(kWhite);
        const QPoint from(32, 32);
        const QPoint to = from + d * 9;
        c.moveTo(from.x(), from.y());
        c.lineTo(to.x(), to.y());
        EXPECT_EQ(c.pixel(from.x(), from.y()), kWhite) << d.x() << "," << d.y();
        EXPECT_EQ(c.pixel(to.x(), to.y()), kBlack) << d.x() << "," << d.y();
        // One pixel per step along the longer axis.
        EXPECT_EQ(countColor(c, kWhite), 9 * std::max(std::abs(d.x()), std::abs(d.y())));
        EXPECT_EQ(c.position(), to);
    }
}

TEST(CanvasLines, ZeroLengthLinePaintsNothing)
{
    Canvas c(64, 64, kBlack);
    c.setPenColor(kWhite);
    c.moveTo(10, 10);
    c.lineTo(10, 10);
    EXPECT_EQ(countColor(c, kWhite), 0);
}

TEST(CanvasLines, CosmeticPatternsRunOnAcrossAPolylineAndRestartAtMoveTo)
{
    struct Case
    {
        PenStyle style;
        std::string period;
    };
    const std::array<Case, 5> cases{{
        {PenStyle::Solid, "#"},
        {PenStyle::Dash, std::string(18, '#') + std::string(6, '.')},
        {PenStyle::Dot, "###..."},
        {PenStyle::DashDot, std::string(9, '#') + "......###......"},
        {PenStyle::DashDotDot, std::string(9, '#') + "...###...###..."},
    }};
    for (const Case& k : cases) {
        std::string expected;
        while (expected.size() < 60) {
            expected += k.period;
        }
        expected.resize(60);

        Canvas c(80, 8, kBlack);
        c.setPenColor(kWhite);
        c.setPenStyle(k.style);
        c.moveTo(0, 2);
        c.lineTo(60, 2);
        EXPECT_EQ(rowString(c, 2, 0, 60), expected);

        // Broken into pieces, the pattern continues where the last piece left off...
        c.moveTo(0, 4);
        c.lineTo(13, 4);
        c.lineTo(37, 4);
        c.lineTo(60, 4);
        EXPECT_EQ(rowString(c, 4, 0, 60), expected);

        // ...but a move-to starts it afresh.
        c.moveTo(0, 6);
        c.lineTo(13, 6);
        c.moveTo(13, 6);
        c.lineTo(60, 6);
        EXPECT_EQ(rowString(c, 6, 13, 60), expected.substr(0, 47));
    }
}

TEST(CanvasLines, ClearPenDrawsNothingButMoves)
{
    Canvas c(64, 64, kBlack);
    c.setPenColor(kWhite);
    c.setPenStyle(PenStyle::Clear);
    c.moveTo(0, 0);
    c.lineTo(50, 40);
    EXPECT_EQ(countColor(c, kWhite), 0);
    EXPECT_EQ(c.position(), QPoint(50, 40));
}

TEST(CanvasLines, LinesReachingFarOutsideKeepTheirPatternPhase)
{
    Canvas c(100, 10, kBlack);
    c.setPenColor(kWhite);
    c.setPenStyle(PenStyle::Dash);
    const int start = -1'000'003;
    c.moveTo(start, 5);
    c.lineTo(2'000'000, 5);
    for (int x = 0; x < 100; ++x) {
        const bool on = ((x - start) % 24) < 18;
        ASSERT_EQ(c.pixel(x, 5) == kWhite, on) << x;
    }
    // A slanted line crossing the canvas is painted exactly where the unclipped line would be.
    Canvas clipped(40, 40, kBlack);
    clipped.setPenColor(kWhite);
    Canvas whole(400, 400, kBlack);
    whole.setPenColor(kWhite);
    clipped.moveTo(-150, -37);
    clipped.lineTo(250, 61);
    whole.moveTo(0, 0);
    whole.lineTo(400, 98);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(clipped.pixel(x, y), whole.pixel(x + 150, y + 37)) << x << "," << y;
        }
    }
}

TEST(CanvasShapes, EllipseAndRectangleStayInsideTheirBoxEvenWhenReversed)
{
    for (const bool reversed : {false, true}) {
        Canvas c(64, 64, kBlack);
        c.setPenColor(kWhite);
        c.setBrushClear(true);
        if (reversed) {
            c.ellipse(40, 30, 10, 10);
        } else {
            c.ellipse(10, 10, 40, 30);
        }
        EXPECT_EQ(countColor(c, kWhite, 0, 0, 64, 64), countColor(c, kWhite, 10, 10, 40, 30));
        EXPECT_GT(countColor(c, kWhite, 10, 10, 11, 30), 0); // touches the left edge
        EXPECT_GT(countColor(c, kWhite, 39, 10, 40, 30), 0); // and the last column
        EXPECT_GT(countColor(c, kWhite, 10, 29, 40, 30), 0); // and the last row
        EXPECT_EQ(c.pixel(25, 20), kBlack);                  // clear brush
    }
    Canvas r(64, 64, kBlack);
    r.setPenColor(kWhite);
    r.setBrushClear(true);
    r.rectangle(10, 10, 20, 15);
    EXPECT_EQ(rowString(r, 10, 8, 22), "..##########..");
    EXPECT_EQ(rowString(r, 14, 8, 22), "..##########..");
    EXPECT_EQ(columnString(r, 19, 8, 17), "..#####..");
    EXPECT_EQ(r.pixel(15, 12), kBlack);
}

TEST(CanvasShapes, ADashedEllipseAcrossTheEdgeShowsTheDashesOfTheWholeEllipse)
{
    // Every pattern, filled or not, cut by each edge and by two at once.
    for (const PenStyle style :
         {PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot, PenStyle::DashDotDot}) {
        for (const QPoint at : {QPoint(-23, 10), QPoint(30, -41), QPoint(55, 40), QPoint(-9, -7)}) {
            for (const bool filled : {false, true}) {
                Canvas cut(64, 48, kBlack);
                Canvas whole(200, 200, kBlack);
                for (Canvas* c : {&cut, &whole}) {
                    c->setPenColor(kWhite);
                    c->setPenStyle(style);
                    c->setBrushColor(PaletteColor[kRedIndex].color);
                    c->setBrushClear(!filled);
                }
                cut.ellipse(at.x(), at.y(), at.x() + 61, at.y() + 45);
                whole.ellipse(at.x() + 70, at.y() + 70, at.x() + 131, at.y() + 115);
                for (int y = 0; y < 48; ++y) {
                    for (int x = 0; x < 64; ++x) {
                        ASSERT_EQ(cut.pixel(x, y), whole.pixel(x + 70, y + 70))
                            << int(style) << " at " << at.x() << "," << at.y() << ": " << x << ","
                            << y;
                    }
                }
            }
        }
    }
}

TEST(CanvasShapes, DrawingTwiceInXorModeRestoresTheImage)
{
    Canvas c(64, 64, kBlack);
    std::mt19937 rng(7);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            c.setPixel(x, y, rng() & 0xFFFFFF);
        }
    }
    const QImage before = c.image().copy();
    c.setPenMode(PenMode::Xor);
    c.setPenColor(0x00FFFF);
    c.setBrushClear(true);
    for (int pass = 0; pass < 2; ++pass) {
        c.moveTo(3, 60);
        c.lineTo(61, 5);
        c.ellipse(5, 5, 50, 40);
        c.rectangle(20, 20, 60, 50);
        c.setPenWidth(4);
        c.moveTo(2, 30);
        c.lineTo(62, 34);
        c.setPenWidth(1);
        if (pass == 0) {
            // Pixels stay opaque, which the flood fill relies on when it compares colours.
            const QImage& img = c.image();
            for (int y = 0; y < img.height(); ++y) {
                for (int x = 0; x < img.width(); ++x) {
                    ASSERT_EQ(qAlpha(img.pixel(x, y)), 255) << x << "," << y;
                }
            }
        }
    }
    EXPECT_EQ(c.image(), before);
}

TEST(CanvasFill, FloodFillStopsAtADifferentlyColouredOutline)
{
    Canvas c(64, 64, kBlack);
    c.setPenColor(kWhite);
    c.setBrushClear(true);
    c.rectangle(10, 10, 30, 30);
    c.setBrush(Brush{0x0000FF, false});
    c.floodFill(20, 20);
    EXPECT_EQ(countColor(c, 0x0000FF), 18 * 18);
    EXPECT_EQ(c.pixel(10, 20), kWhite);
    EXPECT_EQ(c.pixel(5, 5), kBlack);
    // Filling an area with its own colour changes nothing.
    const QImage before = c.image().copy();
    c.floodFill(20, 20);
    EXPECT_EQ(c.image(), before);
    // A seed outside the canvas is ignored.
    c.floodFill(-1, 400);
    EXPECT_EQ(c.image(), before);
}

TEST(CanvasFill, FloodFillReachesAroundCorners)
{
    Canvas c(40, 40, kBlack);
    c.setPenColor(kWhite);
    // A comb: the area between its teeth is reached only around their ends.
    for (int x = 5; x < 40; x += 6) {
        c.moveTo(x, 0);
        c.lineTo(x, 35);
    }
    c.setBrush(Brush{0x00FF00, false});
    c.floodFill(0, 0);
    EXPECT_EQ(countColor(c, kBlack), 0);
}

namespace {

// The text as the painter draws it in the canvas's font and the given colour at (x, y), the
// top of its cell, on a canvas w × h: drawn whole on an image `margin` pixels larger on every
// side, since the painter cuts outlines at an image's edge before filling them, which moves a
// pixel here and there.
QImage painterText(const Canvas& like, ColorRef color, int x, int y, const QString& text, int w,
                   int h, int margin)
{
    QImage whole(w + 2 * margin, h + 2 * margin, QImage::Format_RGB32);
    whole.fill(Qt::black);
    {
        QPainter p(&whole);
        p.setFont(like.font());
        p.setPen(QColor(toQRgb(color)));
        p.drawText(x + margin, y + margin + QFontMetrics(like.font()).ascent(), text);
    }
    return whole.copy(margin, margin, w, h);
}

} // namespace

TEST(CanvasText, TextCellTopIsAtYAndSizeReadsBack)
{
    Canvas c(200, 80, kBlack);
    c.setFontSize(10);
    EXPECT_EQ(c.fontSize(), 10);
    EXPECT_EQ(fontPixelHeight(10), 13);
    EXPECT_EQ(fontPixelHeight(100), 133);
    c.setFontColor(0x0000FF);
    c.textOut(20, 30, QStringLiteral("Hg方眼"));
    const int painted = countColor(c, 0x0000FF);
    EXPECT_GT(painted, 20);
    EXPECT_EQ(countColor(c, 0x0000FF, 0, 0, 200, 30), 0);         // nothing above the cell
    EXPECT_EQ(painted, countColor(c, 0x0000FF, 20, 30, 200, 50)); // all within one line height
    // Only the text's colour and the untouched background: no antialiasing, clear background.
    EXPECT_EQ(countColor(c, 0x0000FF) + countColor(c, kBlack), 200 * 80);
    EXPECT_GT(c.textExtent(QStringLiteral("方眼")).width(), 0);
}

TEST(CanvasText, TextDrawnAgainCoversTheSamePixelsAsThePainterDraws)
{
    // The canvas keeps each glyph it draws as the pixels it covers and each text as where its
    // glyphs go; the picture must be the one the painter draws with the canvas's font. Each
    // text is drawn at many offsets, partly outside the canvas, at sizes whose glyphs the
    // painter keeps as images and sizes it fills as outlines, in both scripts. Among them:
    // pairs the font moves closer, a ligature, right-to-left letters, a text longer than the
    // canvas at larger sizes, a stack of accents placed between pixels, a mark before any
    // letter, an emoji from another font, control characters, and a line separator: the
    // painter draws those the canvas cannot keep.
    // clang-format off
    const QStringList texts{
        QStringLiteral("0"),        QStringLiteral("123"),    QStringLiteral("Wgj|_"),
        QStringLiteral("方眼紙ｱｲｳ"), QStringLiteral("-7.25"),  QStringLiteral(" a b "),
        QStringLiteral("1"),        QStringLiteral("12"),     QStringLiteral("11"),
        QStringLiteral("AVAVToWa"), QStringLiteral("ffi fl"), QStringLiteral("שלום abc"),
        QStringLiteral("0123456789 方眼紙 ABCDEFGHIJ 0123456789"),
        QStringLiteral("W\u0301\u0301\u0301"), QStringLiteral("\u0301x\u0332\u0332"),
        QStringLiteral("a\U0001F600b"), QStringLiteral("5\n6\t7\r\u00018"),
        QStringLiteral("9\u20280")};
    // clang-format on
    for (const int size : {1, 9, 10, 24, 41, 55, 72, 100, 300}) {
        Canvas stamped(160, 90, kBlack);
        stamped.setFontSize(size);
        stamped.setFontColor(0x00C0FF);
        long long drawnByPainter = 0; // at most: the texts from the stack of accents on
        for (int x = -40 - size, i = 0; x < 170; x += 5, ++i) {
            const int y = -30 - size / 2 + (x * 7 + i * 13) % (130 + size);
            const QString& text = texts[i % texts.size()];
            drawnByPainter += i % texts.size() >= 13 ? 1 : 0;
            const QImage painted = painterText(stamped, 0x00C0FF, x, y, text, 160, 90, 2 * size);
            stamped.fillRect(QRect(0, 0, 160, 90), kBlack);
            stamped.textOut(x, y, text);
            // Up to 64 pixels the painter draws glyphs from images of them, the same wherever
            // they are. Larger glyphs it fills as outlines, and moved by whole pixels an
            // outline now and then covers a pixel more or less on its edge (a "1" of 133
            // pixels, at 2 places in 300): the canvas paints the glyph as drawn at one place.
            long long differing = 0;
            for (int yy = 0; yy < 90; ++yy) {
                for (int xx = 0; xx < 160; ++xx) {
                    differing += stamped.image().pixel(xx, yy) != painted.pixel(xx, yy) ? 1 : 0;
                }
            }
            const long long allowed = fontPixelHeight(size) > 64 ? text.size() : 0;
            ASSERT_LE(differing, allowed)
                << "size " << size << " at " << x << "," << y << " " << text.toStdString();
        }
        // The others are laid out once on any canvas, after the painter drew them once.
        EXPECT_LE(stamped.textsLaidOut(), drawnByPainter + 2 * texts.size()) << size;
    }

    // One canvas, the same texts in sizes and families that take turns (the program's fixed
    // and proportional fonts), against a new canvas each time: each font keeps its own
    // stamps, and the font follows every change.
    Canvas turns(160, 90, kBlack);
    turns.setFontColor(0x00C0FF);
    for (int i = 0; i < 60; ++i) {
        const int size = i % 3 == 1 ? 24 : 10;
        const QString family =
            i % 6 < 3 ? QStringLiteral("IPAGothic") : QStringLiteral("IPAPGothic");
        const QString& text = texts[2 + (i / 6) % 2];
        Canvas fresh(160, 90, kBlack);
        for (Canvas* c : {&turns, &fresh}) {
            c->setFontFamily(family);
            c->setFontSize(size);
            c->setFontColor(0x00C0FF);
            c->fillRect(QRect(0, 0, 160, 90), kBlack);
            c->textOut(20, 30, text);
        }
        ASSERT_EQ(turns.image(), fresh.image()) << "drawing " << i << " size " << size;
    }
}

TEST(CanvasText, NumbersMetOnceAreComposedAsThePainterDrawsThem)
{
    // The labels of a graph paper or a number line: each a different number, met once, in the
    // program's fixed and proportional fonts, at sizes the painter draws from glyph images and
    // larger. None is laid out or left to the painter, and each shows what the painter draws.
    for (const char* family : {"IPAGothic", "IPAPGothic"}) {
        for (const int size : {7, 10, 11, 24, 40}) {
            Canvas c(240, 70, kBlack);
            c.setFontFamily(QString::fromLatin1(family));
            c.setFontSize(size);
            c.setFontColor(0x00C0FF);
            for (int i = 0; i < 60; ++i) {
                const long long n = (i * 7919LL) % 200003 - 100000;
                const QString texts[] = {QString::number(n), QString::number(n / 100.0, 'f', 2),
                                         QString::number(i + 1) + u'/' + QString::number(i + 7),
                                         QString::number(n % 1000) + u'%',
                                         QStringLiteral("1,0") + QString::number(i % 10) +
                                             QStringLiteral(":+") + QString::number(i)};
                const QString& text = texts[i % 5];
                c.fillRect(QRect(0, 0, 240, 70), kBlack);
                c.textOut(3 + i % 5, 5, text);
                ASSERT_EQ(c.image(),
                          painterText(c, 0x00C0FF, 3 + i % 5, 5, text, 240, 70, 2 * size))
                    << family << " " << size << ": " << text.toStdString();
            }
            EXPECT_EQ(c.textsLaidOut(), 0) << family << " " << size;
        }
    }
}

TEST(CanvasText, TextsGatheredAsOneUnionPaintWhatEachPaintsAlone)
{
    // Hundreds of texts over each other, from glyphs of a few pixels to ones the painter fills
    // as outlines, cut by every edge and far beyond it, in two colours that take turns now and
    // then, with a text only the painter draws and a look at the pixels between them: gathered
    // as one union they leave the canvas as writing each alone does. Texts of one word of 64
    // pixels, of a few (each gathered as one picture) and of more (glyph by glyph); canvases
    // below, at and above a word wide, and above 4,096 pixels, whose rows' full words take
    // more than one word to mark.
    std::mt19937 rng(41);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (const QSize size :
         {QSize(50, 40), QSize(64, 30), QSize(130, 90), QSize(200, 61), QSize(4200, 23)}) {
        Canvas alone(size.width(), size.height(), kBlack);
        Canvas gathered(size.width(), size.height(), kBlack);
        gathered.beginTextUnion();
        ColorRef color = 0x00C0FF;
        for (int i = 0; i < 300; ++i) {
            if (pick(0, 40) == 0) {
                color = color == 0x00C0FF ? kWhite : 0x00C0FF;
            }
            const int points = pick(0, 5) == 0 ? pick(60, 110) : pick(6, 30);
            const QString text =
                pick(0, 60) == 0 ? QStringLiteral("目盛") : QString::number(pick(-99999, 999999));
            const int x = pick(-300, size.width() + 20);
            const int y = pick(-160, size.height() + 20);
            for (Canvas* c : {&alone, &gathered}) {
                c->setFontSize(points);
                c->setFontColor(color);
                c->textOut(x, y, text);
            }
            if (i % 97 == 0) {
                ASSERT_EQ(gathered.pixel(i % size.width(), i % size.height()),
                          alone.pixel(i % size.width(), i % size.height()));
            }
        }
        gathered.endTextUnion();
        EXPECT_EQ(gathered.image(), alone.image()) << size.width() << "x" << size.height();
        EXPECT_GT(countColor(gathered, 0x00C0FF), 0);
        EXPECT_GT(countColor(gathered, kWhite), 0);
    }
}

TEST(CanvasText, TextsTheUnionAlreadyCoversAreLeftOutAndChangeNoPixel)
{
    // Numbers over cells of one to three pixels, each far larger than its cell, shuffled: most
    // land where the union already holds their colour and are passed over, by their boxes or
    // their glyphs' rows. Now and then a word of other characters, a text of another colour,
    // and a look at whether the canvas is all one colour. Widths across words of 64 pixels;
    // every text reaching past the edges somewhere.
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (const QSize size : {QSize(150, 70), QSize(64, 64), QSize(300, 41)}) {
        for (const int points : {7, 10, 12, 19, 36}) {
            struct Placed
            {
                int x, y;
                QString text;
            };
            std::vector<Placed> texts;
            const int stepX = pick(1, 3);
            const int stepY = pick(1, 3);
            for (int y = -points; y < size.height() + 2; y += stepY) {
                for (int x = -2 * points; x < size.width() + 2; x += stepX) {
                    texts.push_back({x, y, QString::number(x * 37 + y * 1001 - 5000)});
                }
            }
            std::shuffle(texts.begin(), texts.end(), rng);
            Canvas alone(size.width(), size.height(), kBlack);
            Canvas gathered(size.width(), size.height(), kBlack);
            gathered.beginTextUnion();
            long long fromAlone = 0;
            long long fromGathered = 0;
            for (std::size_t i = 0; i < texts.size(); ++i) {
                const bool other = i % 1009 == 500;
                const QString text = i % 157 == 0 ? QStringLiteral("目盛り") : texts[i].text;
                for (Canvas* c : {&alone, &gathered}) {
                    c->setFontSize(points);
                    c->setFontColor(other ? 0x00C0FF : kWhite);
                    c->textOut(texts[i].x, texts[i].y, text);
                }
                if (i % 389 == 0) {
                    ASSERT_EQ(gathered.allPixelsAre(kWhite, fromGathered),
                              alone.allPixelsAre(kWhite, fromAlone));
                    ASSERT_EQ(fromGathered, fromAlone) << i;
                }
            }
            gathered.endTextUnion();
            EXPECT_EQ(gathered.image(), alone.image())
                << size.width() << "x" << size.height() << " " << points;
        }
    }
}

TEST(CanvasGeometry, AllPixelsOfOneColourIsFoundWhereverTheLastOtherPixelIs)
{
    // One pixel of another colour anywhere, the first and last of a row included, keeps the
    // answer false; asked again after it turns, the search goes on from where it stopped.
    for (int at = 0; at < 7 * 5; ++at) {
        Canvas c(7, 5, kWhite);
        c.fillRect(QRect(at % 7, at / 7, 1, 1), kBlack);
        long long from = 0;
        EXPECT_FALSE(c.allPixelsAre(kWhite, from)) << at;
        EXPECT_EQ(from, at);
        c.fillRect(QRect(at % 7, at / 7, 1, 1), kWhite);
        EXPECT_TRUE(c.allPixelsAre(kWhite, from)) << at;
        EXPECT_EQ(from, 7 * 5);
    }
}

TEST(CanvasGeometry, FillRectIsClippedToTheCanvas)
{
    Canvas c(20, 10, kBlack);
    c.fillRect(QRect(-100, -100, 1000, 1000), kWhite);
    EXPECT_EQ(countColor(c, kWhite), 200);
    c.fillRect(5, 5, 5, 9, kBlack); // empty: right edge excluded
    EXPECT_EQ(countColor(c, kWhite), 200);
    EXPECT_EQ(c.pixel(20, 0), kInvalidColor);
}

namespace {

// A geometric white pen one pixel wide, with flat or round ends.
Pen onePixelPen(bool flat)
{
    Pen pen;
    pen.color = kWhite;
    pen.geometric = true;
    pen.width = 1;
    pen.flatEnds = flat;
    return pen;
}

// The painter's own one-pixel line from a to b on a black image, in white.
void paintersOnePixelLine(QImage& image, QPoint a, QPoint b, bool flat)
{
    image.fill(toQRgb(kBlack));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen qpen(QColor::fromRgb(toQRgb(kWhite)));
    qpen.setWidth(1);
    qpen.setCapStyle(flat ? Qt::FlatCap : Qt::RoundCap);
    qpen.setJoinStyle(Qt::RoundJoin);
    p.setPen(qpen);
    const std::array<QPoint, 2> points{a, b};
    p.drawPolyline(points.data(), 2);
}

} // namespace

TEST(CanvasGeometry, OnePixelGeometricLinesAreThePaintersPixels)
{
    // The canvas steps one-pixel lines itself: against the painter on an image of its own,
    // lines in every direction, along the axes and the diagonals, from one pixel long to
    // across the canvas, with flat and with round ends.
    std::mt19937 rng(43);
    const int size = 700;
    QImage painted(size, size, QImage::Format_RGB32);
    for (int trial = 0; trial < 1500; ++trial) {
        auto at = [&] { return 2 + int(rng() % std::uint32_t(size - 4)); };
        const QPoint a(at(), at());
        QPoint b(at(), at());
        switch (trial % 6) {
        case 0: // short
            b = a + QPoint(int(rng() % 7) - 3, int(rng() % 7) - 3);
            break;
        case 1: // a diagonal
            b.setY(a.y() + (b.x() - a.x()) * (rng() % 2 == 0 ? 1 : -1));
            break;
        case 2: // nearly along an axis
            b.setY(a.y() + int(rng() % 5) - 2);
            break;
        default:
            break;
        }
        if (a == b || !QRect(0, 0, size, size).contains(b)) {
            continue;
        }
        const bool flat = trial % 4 != 0;
        Canvas c(size, size, kBlack);
        c.setPen(onePixelPen(flat));
        c.strokeLine(a, b);
        paintersOnePixelLine(painted, a, b, flat);
        ASSERT_EQ(c.image(), painted)
            << "trial " << trial << ": (" << a.x() << "," << a.y() << ") to (" << b.x() << ","
            << b.y() << ")" << (flat ? "" : ", round ends");
    }
}

TEST(CanvasGeometry, ShortOnePixelLinesStrokedTogetherAreThePaintersPixels)
{
    // Short lines come in batches (the dashes of a dashed line): every end within seventeen
    // pixels of the other, flat and round, each alone on a small image, from a start well
    // inside it and from one where the line crosses the edge (painted as on a larger image).
    // The written box holds every pixel painted.
    const int size = 48;
    const int margin = 32;
    QImage larger(size + 2 * margin, size + 2 * margin, QImage::Format_RGB32);
    for (const bool flat : {true, false}) {
        for (const QPoint a : {QPoint(24, 23), QPoint(1, 40)}) {
            for (int dx = -17; dx <= 17; ++dx) {
                for (int dy = -17; dy <= 17; ++dy) {
                    const QPoint b = a + QPoint(dx, dy);
                    Canvas c(size, size, kBlack);
                    c.forgetWritten();
                    c.setPen(onePixelPen(flat));
                    const std::array<QPoint, 2> ends{a, b};
                    c.strokeLines(ends);
                    const QPoint shift(margin, margin);
                    paintersOnePixelLine(larger, a + shift, b + shift, flat);
                    const QImage painted = larger.copy(margin, margin, size, size);
                    const std::string line = "(" + std::to_string(a.x()) + "," +
                                             std::to_string(a.y()) + ") by (" + std::to_string(dx) +
                                             "," + std::to_string(dy) + ")" +
                                             (flat ? "" : ", round ends");
                    ASSERT_EQ(c.image(), painted) << line;
                    const WrittenBox box = c.written();
                    for (int y = 0; y < size; ++y) {
                        for (int x = 0; x < size; ++x) {
                            if (painted.pixel(x, y) != toQRgb(kBlack)) {
                                ASSERT_TRUE(x >= box.left && x <= box.right && y >= box.top &&
                                            y <= box.bottom)
                                    << line << ": (" << x << "," << y << ") left out";
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(CanvasGeometry, AStrokeWithinABoxPaintsTheLinesPixelsThereAndNoOthers)
{
    // Lines of every width and direction, whole on the canvas, along a row, crossing its
    // edge, dashed: inside the box the line's pixels are all painted, outside it none but the
    // line's are.
    std::mt19937 rng(41);
    const int size = 200;
    int cut = 0; // strokes that left some of the line's pixels out
    for (int trial = 0; trial < 400; ++trial) {
        auto at = [&](int from, int to) { return from + int(rng() % std::uint32_t(to - from)); };
        const int edge = trial % 10 == 0 ? 0 : 20; // one in ten may cross the canvas's edge
        QPoint a(at(edge - 40, size - edge + 40), at(edge - 40, size - edge + 40));
        QPoint b(at(edge, size - edge), at(edge, size - edge));
        if (edge != 0) {
            a = QPoint(at(edge, size - edge), at(edge, size - edge));
        }
        if (trial % 17 == 0) {
            b.setY(a.y()); // along a row
        }
        Pen pen;
        pen.color = 0x2040F0;
        pen.geometric = true;
        pen.width = at(0, 13);
        pen.flatEnds = trial % 5 != 0;
        pen.style = trial % 23 == 0 ? PenStyle::Dash : PenStyle::Solid;
        const QRect box(at(-20, size), at(-20, size), at(0, 120), at(0, 120));
        Canvas whole(size, size, kBlack);
        Canvas within(size, size, kBlack);
        whole.setPen(pen);
        within.setPen(pen);
        whole.strokeLine(a, b);
        within.strokeLineWithin(a, b, box);
        EXPECT_EQ(within.position(), b);
        bool leftOut = false;
        const QImage& wholeImage = whole.image();
        const QImage& withinImage = within.image();
        const QRgb black = toQRgb(kBlack);
        for (int y = 0; y < size; ++y) {
            const auto* wholeRow = reinterpret_cast<const QRgb*>(wholeImage.constScanLine(y));
            const auto* withinRow = reinterpret_cast<const QRgb*>(withinImage.constScanLine(y));
            for (int x = 0; x < size; ++x) {
                const QRgb w = wholeRow[x];
                const QRgb p = withinRow[x];
                if (box.contains(x, y)) {
                    ASSERT_EQ(p, w) << trial << " at " << x << "," << y;
                } else {
                    ASSERT_TRUE(p == w || p == black) << trial << " at " << x << "," << y;
                    leftOut = leftOut || p != w;
                }
            }
        }
        cut += leftOut ? 1 : 0;
    }
    // Most strokes are cut at their box, not drawn whole.
    EXPECT_GT(cut, 200);
}

TEST(CanvasGeometry, MaskedRowsPaintExactlyThePixelsTheirMasksSet)
{
    // Masks of every length up to a few blocks of sixteen, at every start: blocks wholly
    // clear, wholly set and mixed, over a row of pixels all different, so that a pixel taken
    // from its neighbour or left when it should be painted shows.
    std::mt19937 rng(29);
    const ColorRef ink = 0x3366CC;
    const ColorRef other = 0xCC6633;
    const QRgb on = toQRgb(ink);
    const QRgb off = toQRgb(other);
    for (int trial = 0; trial < 400; ++trial) {
        const int length = int(rng() % 70);
        const int x = int(rng() % (100 - std::size_t(length) + 1));
        std::vector<std::uint8_t> mask(static_cast<std::size_t>(length));
        const int kind = trial % 4; // mixed, mostly clear, mostly set, blocks of either
        for (int i = 0; i < length; ++i) {
            const bool block = (i / 16) % 2 == 0;
            const bool set = kind == 0   ? rng() % 2 == 0
                             : kind == 1 ? rng() % 23 == 0
                             : kind == 2 ? rng() % 23 != 0
                                         : block;
            mask[std::size_t(i)] = set ? std::uint8_t(1 + rng() % 255) : 0;
        }
        Canvas painted(100, 2, kBlack);
        Canvas set(100, 2, kBlack);
        for (int i = 0; i < 100; ++i) {
            painted.setPixel(i, 0, ColorRef(0x010203 * (i + 1)));
            set.setPixel(i, 0, ColorRef(0x010203 * (i + 1)));
        }
        std::vector<QRgb> keep(100);
        std::vector<QRgb> setTo(100);
        for (int i = 0; i < 100; ++i) {
            const bool inMask = i >= x && i < x + length && mask[std::size_t(i - x)] != 0;
            keep[std::size_t(i)] = inMask ? on : toQRgb(painted.pixel(i, 0));
            const bool inRow = i < length;
            setTo[std::size_t(i)] = !inRow                      ? toQRgb(painted.pixel(i, 0))
                                    : mask[std::size_t(i)] != 0 ? on
                                                                : off;
        }
        painted.paintMaskedRow(0, x, mask, ink);
        set.setMaskedRow(0, mask, ink, other);
        for (int i = 0; i < 100; ++i) {
            ASSERT_EQ(toQRgb(painted.pixel(i, 0)), keep[std::size_t(i)])
                << "trial " << trial << " pixel " << i;
            ASSERT_EQ(toQRgb(set.pixel(i, 0)), setTo[std::size_t(i)])
                << "trial " << trial << " pixel " << i;
        }
    }
}

TEST(CanvasLines, VerticalLinesTogetherMatchDrawingThemOneByOne)
{
    std::mt19937 rng(11);
    const std::array<PenStyle, 6> styles{PenStyle::Solid,   PenStyle::Dash,       PenStyle::Dot,
                                         PenStyle::DashDot, PenStyle::DashDotDot, PenStyle::Clear};
    for (const long long y1 : {-30LL, 10LL, 70LL}) {
        std::vector<Canvas::VerticalLine> lines;
        // Neighbouring columns of one colour and style, crossed by a second such block.
        for (int n = 0; n < 30; ++n) {
            lines.push_back(Canvas::VerticalLine{5 + n % 20, y1 + 50, n < 20 ? kWhite : 0x0000FFu,
                                                 n < 20 ? PenStyle::Solid : PenStyle::Dash});
        }
        for (int n = 0; n < 60; ++n) {
            // Overlapping columns, both directions, some reaching outside the canvas.
            const long long x = static_cast<long long>(rng() % 50) - 5;
            const long long yEnd = static_cast<long long>(rng() % 140) - 40;
            lines.push_back(Canvas::VerticalLine{x, yEnd, ColorRef(rng() & 0xFFFFFF),
                                                 styles[rng() % styles.size()]});
        }
        Canvas together(40, 60), oneByOne(40, 60);
        together.verticalLines(lines, y1);
        for (const auto& l : lines) {
            oneByOne.setPenColor(l.color);
            oneByOne.setPenStyle(l.style);
            oneByOne.moveTo(int(l.x), int(y1));
            oneByOne.lineTo(int(l.x), int(l.yEnd));
        }
        EXPECT_EQ(together.image(), oneByOne.image()) << y1;
    }
}
TEST(CanvasText, ShapesAndTextCutByTheEdgeShowThePixelsOfTheWholeDrawing)
{
    // One-pixel geometric strokes go through the painter's own stroker, which cut them at the
    // edge before rasterising and moved a pixel here and there. Glyphs are painted from
    // pictures of them drawn whole, those the painter keeps as images (up to 64 pixels) and
    // those it fills as outlines alike.
    const std::array<int, 4> sizes{10, 24, 48, 100};
    for (const int size : sizes) {
        // A pixel at a time past each edge: the glyph's first and last rows and columns.
        for (int x = -70; x < 70; ++x) {
            const int y = ((x + 70) * 7) % 110 - 20 - size / 3;
            Canvas cut(64, 80, kBlack);
            Canvas whole(400, 300, kBlack);
            for (Canvas* c : {&cut, &whole}) {
                c->setFontSize(size);
                c->setFontColor(kWhite);
                Pen pen{kWhite, PenStyle::Solid, 1, true, true};
                c->setPen(pen);
            }
            cut.textOut(x, y, "6");
            whole.textOut(x + 100, y + 100, "6");
            const std::array<QPoint, 3> line{QPoint(x - 40, -31), QPoint(x + 3, 40),
                                             QPoint(x + 90, 97)};
            StrokePolyline(line, cut);
            std::array<QPoint, 3> moved = line;
            for (QPoint& p : moved) {
                p += QPoint(100, 100);
            }
            StrokePolyline(moved, whole);
            for (int y = 0; y < 80; ++y) {
                for (int xx = 0; xx < 64; ++xx) {
                    ASSERT_EQ(cut.pixel(xx, y), whole.pixel(xx + 100, y + 100))
                        << "size " << size << " at " << x << ": " << xx << "," << y;
                }
            }
        }
    }
}

TEST(CanvasLines, StraightWideStrokesAlongARowOrColumnCoverWhatThePainterCovers)
{
    // Filled directly as rectangles: every width, both directions, lengths from one pixel,
    // across every edge, against the painter's own stroke of the same pen.
    for (int width = 1; width <= 7; ++width) {
        for (const QPoint from : {QPoint(10, 12), QPoint(-3, 0), QPoint(27, 19), QPoint(0, -2)}) {
            for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                for (const int length : {1, 2, 5, 17, 60}) {
                    const QPoint to = from + step * length;
                    Canvas c(30, 24, kBlack);
                    c.setPen(Pen{kWhite, PenStyle::Solid, width, true, true});
                    const std::array<QPoint, 2> line{from, to};
                    StrokePolyline(line, c);
                    QImage painted(30, 24, QImage::Format_RGB32);
                    painted.fill(Qt::black);
                    {
                        QPainter p(&painted);
                        QPen pen(Qt::white);
                        pen.setWidth(width);
                        pen.setCapStyle(Qt::FlatCap);
                        pen.setJoinStyle(Qt::RoundJoin);
                        p.setPen(pen);
                        p.drawPolyline(line.data(), 2);
                    }
                    for (int y = 0; y < 24; ++y) {
                        for (int x = 0; x < 30; ++x) {
                            ASSERT_EQ(c.pixel(x, y) == kWhite,
                                      painted.pixel(x, y) == qRgb(255, 255, 255))
                                << "width " << width << " from " << from.x() << "," << from.y()
                                << " to " << to.x() << "," << to.y() << ": " << x << "," << y;
                        }
                    }
                }
            }
        }
    }
}

TEST(CanvasLines, ColumnsFilledRowByRowMatchTheirStrokesOneByOne)
{
    std::mt19937 rng(3);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 300; ++n) {
        const int width = pick(1, 6);
        const int step = pick(1, 12);
        const int count = pick(1, 40);
        const int x = pick(-60, 50);
        const int y1 = pick(-10, 30);
        const int y2 = y1 + pick(1, 40);
        Canvas rows(48, 32, kBlack);
        Canvas strokes(48, 32, kBlack);
        rows.fillColumns(x - width / 2, step, count, width, y1, y2, kWhite);
        strokes.setPen(Pen{kWhite, PenStyle::Solid, width, true, true});
        for (int k = 0; k < count; ++k) {
            const std::array<QPoint, 2> line{QPoint(x + k * step, y1), QPoint(x + k * step, y2)};
            StrokePolyline(line, strokes);
        }
        ASSERT_EQ(rows.image(), strokes.image()) << "case " << n << ": x " << x << " step " << step
                                                 << " count " << count << " width " << width;
    }
}

// A picture of its own under the copies: lines three pixels apart.
static void drawStripes(Canvas& c)
{
    c.setPenColor(PaletteColor[2].color);
    for (int x = 0; x < c.width(); x += 3) {
        c.moveTo(x, 0);
        c.lineTo(x, c.height());
    }
}

// Every copy of a grid pasted in order, rows outer: the picture a grid of copies must give.
static void paintEach(const RepeatedDrawing& one, Canvas& c, int x0, int stepX, int iFirst,
                      int iLast, int y0, int stepY, int jFirst, int jLast)
{
    for (int j = jFirst; j <= jLast; ++j) {
        for (int i = iFirst; i <= iLast; ++i) {
            one.paint(c, x0 + i * stepX, y0 + j * stepY);
        }
    }
}

TEST(RepeatedDrawingGrid, WhatADrawingPaintsInAnyColourIsKeptAndNothingElse)
{
    // Black, white and palette colours, from fills, the painter and text, over a canvas
    // holding every one of them already: painted from the drawing kept, each place shows
    // what drawing there shows. One drawing paints only a pixel at its reach's corner, one
    // nothing at all.
    const auto draw = [](Canvas& c, int x, int y) {
        c.fillRect(x - 9, y - 9, x + 2, y - 4, kBlack);
        c.fillRect(x + 3, y + 3, x + 10, y + 10, kWhite);
        c.setPenColor(kBlack);
        c.setPenWidth(3);
        c.moveTo(x - 10, y + 10);
        c.lineTo(x + 10, y - 10);
        c.setPenWidth(1);
        c.setBrushColor(PaletteColor[4].color);
        c.ellipse(x - 6, y - 2, x + 5, y + 9);
        c.setFontColor(kBlack);
        c.textOut(x - 3, y - 8, "8");
    };
    const auto corner = [](Canvas& c, int x, int y) {
        c.setPixel(x + 16, y + 16, PaletteColor[6].color);
    };
    const auto none = [](Canvas&, int, int) {};
    using Draw = std::function<void(Canvas&, int, int)>;
    // Drawn on one scratch canvas, or a band of rows at a time: bands of five rows, of one,
    // and of all but the last row.
    for (const Draw& drawing : {Draw(draw), Draw(corner), Draw(none)}) {
        for (const long long scratch : {kMaxScratchPixels, 33LL * 5, 33LL, 33LL * 32}) {
            SCOPED_TRACE(scratch);
            const RepeatedDrawing one(Canvas(10, 10), QRect(-16, -16, 33, 33), drawing, scratch);
            ASSERT_TRUE(one.usable());
            for (const QPoint at :
                 {QPoint(15, 12), QPoint(5, 5), QPoint(-4, 30), QPoint(40, -3), QPoint(33, 33)}) {
                Canvas kept(40, 36, kBlack);
                Canvas drawn(40, 36, kBlack);
                for (Canvas* c : {&kept, &drawn}) {
                    drawStripes(*c);
                    c->fillRect(0, 0, 20, 10, kWhite);
                    copyState(Canvas(10, 10), *c);
                }
                one.paint(kept, at.x(), at.y());
                drawing(drawn, at.x(), at.y());
                ASSERT_EQ(kept.image(), drawn.image()) << at.x() << ", " << at.y();
            }
        }
    }
    // Strips of columns apart, in bands of rows: the same columns as drawn on one scratch
    // canvas each.
    const std::vector<RepeatedDrawing::Columns> strips{{-16, 9}, {-3, 4}, {5, 12}};
    const RepeatedDrawing whole(Canvas(10, 10), -16, 33, strips, draw);
    for (const long long scratch : {25LL * 3, 25LL * 7, 25LL * 32}) {
        const RepeatedDrawing bands(Canvas(10, 10), -16, 33, strips, draw, scratch);
        ASSERT_TRUE(bands.usable());
        Canvas a(60, 50, kBlack);
        Canvas b(60, 50, kBlack);
        whole.paintGrid(a, 3, 21, 0, 2, -4, 19, 0, 3);
        bands.paintGrid(b, 3, 21, 0, 2, -4, 19, 0, 3);
        ASSERT_EQ(a.image(), b.image()) << scratch;
        EXPECT_GT(countColor(a, kWhite), 20);
    }
}

TEST(RepeatedDrawingGrid, RowsOfCopiesCopiedFromOneGiveThePictureOfPaintingEachCopy)
{
    // A drawing with text, a dashed circle and a line, in grids whose rows overlap or not,
    // cut by every edge.
    const RepeatedDrawing one(Canvas(10, 10), QRect(-20, -20, 41, 41), [](Canvas& c, int x, int y) {
        c.setPenColor(kWhite);
        c.setPenStyle(PenStyle::Dash);
        c.ellipse(x - 15, y - 12, x + 15, y + 12);
        c.setPenStyle(PenStyle::Solid);
        c.moveTo(x - 18, y + 18);
        c.lineTo(x + 18, y - 18);
        c.setFontColor(PaletteColor[kRedIndex].color);
        c.textOut(x - 4, y - 6, "7");
    });
    ASSERT_TRUE(one.usable());
    for (const int stepY : {41, 37, 60, 20}) {
        for (const int y0 : {-30, -5, 12}) {
            Canvas grid(150, 170, kBlack);
            Canvas each(150, 170, kBlack);
            one.paintGrid(grid, -10, 33, 0, 5, y0, stepY, 0, 5);
            paintEach(one, each, -10, 33, 0, 5, y0, stepY, 0, 5);
            ASSERT_EQ(grid.image(), each.image()) << "step " << stepY << " from " << y0;
        }
    }
    // Copies a few pixels apart either way (thousands over each other, so that the canvas is
    // soon decided), or in one place, or going back, over a canvas that already holds a
    // picture of its own.
    std::mt19937 rng(5);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 60; ++n) {
        const int stepX = pick(-8, 45);
        const int stepY = pick(-8, 45);
        const int x0 = pick(-60, 60);
        const int y0 = pick(-60, 60);
        const int across = pick(0, 40);
        const int down = pick(0, 40);
        const int w = pick(1, 90);
        const int h = pick(1, 70);
        Canvas grid(w, h, kBlack);
        Canvas each(w, h, kBlack);
        for (Canvas* c : {&grid, &each}) {
            drawStripes(*c);
        }
        one.paintGrid(grid, x0, stepX, 0, across, y0, stepY, 0, down);
        paintEach(one, each, x0, stepX, 0, across, y0, stepY, 0, down);
        ASSERT_EQ(grid.image(), each.image()) << "case " << n << ": steps " << stepX << ", "
                                              << stepY << " counts " << across << ", " << down;
    }
}

TEST(RepeatedDrawingGrid, ALatticeWorkedOutRowByRowIsThePictureOfPaintingEachCopy)
{
    // A drawing of four colours over each other, with holes, wider than tall: copies a pixel
    // or a few apart, going back either way, in one place, a single row or column, far apart,
    // and lattices beside the canvas or reaching it from one side only. Then only two strips
    // of it seventy thousand pixels apart (a line far longer than the window, copies of which
    // stand a line's length apart across): each pixel looks up its copies' offsets.
    const auto draw = [](Canvas& c, int x, int y) {
        c.fillRect(x - 30, y - 2, x + 31, y + 3, PaletteColor[3].color);
        c.setPenColor(kWhite);
        c.setPenStyle(PenStyle::Dot);
        c.moveTo(x - 28, y + 11);
        c.lineTo(x + 25, y - 12);
        c.setPenStyle(PenStyle::Solid);
        c.fillRect(x + 4, y - 9, x + 7, y + 12, PaletteColor[5].color);
        c.setFontColor(PaletteColor[kRedIndex].color);
        c.textOut(x - 12, y - 6, "47");
        c.fillRect(x + 70000, y - 7, x + 70020, y + 9, PaletteColor[2].color);
        c.setFontColor(kWhite);
        c.textOut(x + 70001, y - 6, "5");
    };
    const RepeatedDrawing one(Canvas(10, 10), QRect(-30, -12, 61, 25), draw);
    const RepeatedDrawing apart(Canvas(10, 10), -12, 25, {{-30, 61}, {70000, 20}}, draw);
    ASSERT_TRUE(one.usable());
    ASSERT_TRUE(apart.usable());
    std::mt19937 rng(17);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 300; ++n) {
        const bool far = n >= 200;
        const RepeatedDrawing& drawing = far ? apart : one;
        const int kind = n % 4;
        const int side = pick(0, 1) == 0 ? 1 : -1;
        const int stepX = far && kind != 0 ? side * (70010 + pick(-45, 45))
                          : kind == 0      ? pick(-3, 3)
                          : kind == 1      ? pick(-70, 70)
                                           : pick(-12, 12);
        const int stepY = kind == 0 ? pick(-3, 3) : kind == 2 ? pick(-30, 30) : pick(-8, 8);
        const int iFirst = pick(-5, 5);
        const int jFirst = pick(-5, 5);
        const int iLast = iFirst + (kind == 3 ? 0 : pick(0, far ? 6 : 40));
        const int jLast = jFirst + (n % 7 == 0 ? 0 : pick(0, 40));
        const int x0 =
            far ? -(iFirst + pick(0, iLast - iFirst)) * stepX + pick(-150, 150) : pick(-150, 150);
        const int y0 = pick(-150, 150);
        const int w = pick(1, 120);
        const int h = pick(1, 90);
        Canvas lattice(w, h, kBlack);
        Canvas each(w, h, kBlack);
        for (Canvas* c : {&lattice, &each}) {
            drawStripes(*c);
        }
        ASSERT_TRUE(
            drawing.paintLattice(lattice, x0, stepX, iFirst, iLast, y0, stepY, jFirst, jLast));
        paintEach(drawing, each, x0, stepX, iFirst, iLast, y0, stepY, jFirst, jLast);
        ASSERT_EQ(lattice.image(), each.image())
            << "case " << n << ": steps " << stepX << ", " << stepY << " columns " << iFirst << ".."
            << iLast << " rows " << jFirst << ".." << jLast << " from " << x0 << ", " << y0
            << " canvas " << w << " × " << h;
        // Under a row of copies after them, pasted already: into the pixels it left open,
        // as pasting each copy from the last back does.
        Canvas under(w, h, kBlack);
        Canvas pasted(w, h, kBlack);
        DecidedPixels underDecided(w, h);
        DecidedPixels pastedDecided(w, h);
        for (auto [c, d] : {std::pair{&under, &underDecided}, std::pair{&pasted, &pastedDecided}}) {
            drawing.paintUnder(*c, *d, x0 + 3, stepX, iFirst, iLast, y0 + 5, stepY, jLast + 1,
                               jLast + 1);
        }
        ASSERT_TRUE(drawing.paintLattice(under, x0, stepX, iFirst, iLast, y0, stepY, jFirst, jLast,
                                         &underDecided));
        drawing.paintUnder(pasted, pastedDecided, x0, stepX, iFirst, iLast, y0, stepY, jFirst,
                           jLast);
        ASSERT_EQ(under.image(), pasted.image()) << "case " << n << " under";
        ASSERT_EQ(underDecided.openPixels(), pastedDecided.openPixels()) << "case " << n;
    }
}

TEST(CanvasGeometry, EllipsesOverTheWholeWindowShowWhatTheyShowDrawnWhole)
{
    // An ellipse that holds the whole window, beyond its outline's reach, only fills it.
    // Ellipses around the window from just too small to far larger, thin and wide pens of
    // every style, brushes clear and solid, one over another: against each drawn whole on a
    // canvas that holds it.
    std::mt19937 rng(3);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::array<PenStyle, 4> styles{PenStyle::Solid, PenStyle::Dash, PenStyle::Dot,
                                         PenStyle::Clear};
    int filled = 0;
    for (int n = 0; n < 300; ++n) {
        const int w = pick(1, 40);
        const int h = pick(1, 40);
        Canvas window(w, h, kBlack);
        Canvas whole(w + 400, h + 400, kBlack);
        for (int k = 0; k < 3; ++k) {
            const int cx = pick(-10, w + 10);
            const int cy = pick(-10, h + 10);
            const int rx = pick((w + h) / 3, w + h + 30);
            const int ry = pick((w + h) / 3, w + h + 30);
            const Pen pen{PaletteColor[pick(0, 11)].color, styles[std::size_t(pick(0, 3))],
                          pick(1, 8), pick(0, 1) == 1, true};
            const Brush brush{PaletteColor[pick(0, 11)].color, pick(0, 2) == 0};
            filled += insideEllipse(w, h, cx - rx, cy - ry, cx + rx, cy + ry, 3 + pen.width);
            for (Canvas* c : {&window, &whole}) {
                const int d = c == &whole ? 200 : 0;
                c->setPen(pen);
                c->setBrush(brush);
                c->ellipse(cx - rx + d, cy - ry + d, cx + rx + d, cy + ry + d);
            }
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(window.pixel(x, y), whole.pixel(x + 200, y + 200))
                    << "case " << n << " window " << w << " × " << h << " at " << x << "," << y;
            }
        }
    }
    // Both ways are taken often.
    EXPECT_GT(filled, 200);
    EXPECT_LT(filled, 700);
}

// Strokes the line on the canvas, and with the painter's own pen on `painted`, an image holding
// the canvas `margin` pixels from its edges.
static void strokeOnBoth(Canvas& c, QImage& painted, int margin, const std::array<QPoint, 2>& line,
                         const Pen& pen)
{
    c.setPen(pen);
    StrokePolyline(line, c);
    QPainter p(&painted);
    QPen painterPen(QColor(toQRgb(pen.color)));
    painterPen.setWidth(pen.width);
    painterPen.setCapStyle(pen.flatEnds ? Qt::FlatCap : Qt::RoundCap);
    painterPen.setJoinStyle(Qt::RoundJoin);
    p.setPen(painterPen);
    const QPoint shift(margin, margin);
    const std::array<QPoint, 2> shifted{line[0] + shift, line[1] + shift};
    p.drawPolyline(shifted.data(), 2);
}

TEST(CanvasLines, ShortStrokesDrawnAgainCoverWhatThePainterCovers)
{
    // The canvas keeps a short straight stroke as the pixels it covers and paints the next
    // stroke of the same pen, direction and length from them. Strokes in a few dozen
    // directions and lengths (so that each comes back many times), of several widths and
    // both kinds of end, in turns of colour, many across the edge: the picture must be the
    // painter's, drawn whole on a larger image.
    constexpr int kWidth = 90, kHeight = 70, kMargin = 120;
    std::mt19937 random(20261208);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::vector<QPoint> directions;
    for (int i = 0; i < 40; ++i) {
        directions.emplace_back(pick(-50, 50), pick(-50, 50));
    }
    directions.insert(directions.end(), {QPoint(0, 0), QPoint(1, 0), QPoint(0, -1), QPoint(1, 1),
                                         QPoint(-1, 2), QPoint(60, -45)});
    Canvas c(kWidth, kHeight, kBlack);
    QImage painted(kWidth + 2 * kMargin, kHeight + 2 * kMargin, QImage::Format_RGB32);
    painted.fill(Qt::black);
    const std::array<ColorRef, 3> colors{kWhite, 0x00C0FF, 0x0000FF};
    for (int i = 0; i < 3000; ++i) {
        const int width = std::array{1, 2, 3, 5, 8}[pick(0, 4)];
        const bool flat = pick(0, 1) == 0;
        const ColorRef color = colors[pick(0, 2)];
        const QPoint from(pick(-40, kWidth + 40), pick(-40, kHeight + 40));
        const std::array<QPoint, 2> line{from, from + directions[pick(0, 45)]};
        strokeOnBoth(c, painted, kMargin, line, Pen{color, PenStyle::Solid, width, true, flat});
    }
    const QImage window = painted.copy(kMargin, kMargin, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(toQRgb(c.pixel(x, y)), window.pixel(x, y)) << x << "," << y;
        }
    }
    // Most strokes came from their stamps: the comparison above is about them.
    EXPECT_GT(c.strokesStamped(), 2000);
}

TEST(CanvasLines, StrokesManyAtATimePaintWhatStrokingEachDoes)
{
    // Batches of strokes of one pen, in more directions and lengths than the batch keeps at
    // hand, some along a row or a column, some across the edge, over each other in turns of
    // colour: the picture and the position left must be those of stroking each in turn.
    std::mt19937 random(20261210);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::vector<QPoint> directions;
    for (int i = 0; i < 9; ++i) {
        directions.emplace_back(pick(-30, 30), pick(-30, 30));
    }
    directions.insert(directions.end(), {QPoint(0, 0), QPoint(7, 0), QPoint(0, -5)});
    Canvas batched(80, 60, kBlack);
    Canvas oneByOne(80, 60, kBlack);
    const std::array<ColorRef, 3> colors{kWhite, 0x00C0FF, 0x0000FF};
    for (int batch = 0; batch < 120; ++batch) {
        const Pen pen{colors[std::size_t(pick(0, 2))], PenStyle::Solid, pick(1, 6), true,
                      pick(0, 1) == 0};
        std::vector<QPoint> ends;
        for (int i = pick(1, 60); i > 0; --i) {
            const QPoint from(pick(-30, 110), pick(-30, 90));
            ends.push_back(from);
            ends.push_back(from + directions[std::size_t(pick(0, 11))]);
        }
        batched.setPen(pen);
        batched.strokeLines(ends);
        oneByOne.setPen(pen);
        for (std::size_t k = 0; k < ends.size(); k += 2) {
            oneByOne.strokeLine(ends[k], ends[k + 1]);
        }
        ASSERT_EQ(batched.image(), oneByOne.image()) << "batch " << batch;
        ASSERT_EQ(batched.position(), oneByOne.position());
    }
    EXPECT_GT(batched.strokesStamped(), 1000);

    // Strokes 2^15 pixels long to the right and to the left, with round ends (so that the
    // painter or a stamp draws them): neither may be painted as the other.
    Canvas c(64, 48, kBlack);
    Pen round{kWhite, PenStyle::Solid, 1, true, false};
    c.setPen(round);
    for (int k = 0; k < 3; ++k) {
        c.strokeLine(QPoint(40, 10), QPoint(40 - (1 << 15), 10));
        c.strokeLine(QPoint(20, 30), QPoint(20 + (1 << 15), 30));
    }
    EXPECT_EQ(rowString(c, 10, 0, 64), std::string(41, '#') + std::string(23, '.'));
    EXPECT_EQ(rowString(c, 30, 0, 64), std::string(20, '.') + std::string(44, '#'));
}

TEST(CanvasLines, LongStrokesCutByTheWindowDrawnAgainCoverWhatThePainterCovers)
{
    // Marks hundreds of pixels long that cross a small window, each direction and length
    // many times (the marks of copies of a circle): the canvas keeps them as the pixels of
    // the stroke drawn whole, read along the stroke only. The window must show what the
    // painter draws whole on an image holding every stroke.
    constexpr int kWidth = 64, kHeight = 48, kMargin = 1100;
    std::mt19937 random(20261209);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    std::vector<QPoint> directions;
    for (int i = 0; i < 24; ++i) {
        const double angle = pick(0, 3599) * std::numbers::pi / 1800;
        const int length = pick(150, 600);
        directions.emplace_back(int(std::lround(length * std::cos(angle))),
                                int(std::lround(length * std::sin(angle))));
    }
    directions.insert(directions.end(), {QPoint(700, 3), QPoint(-2, 900), QPoint(400, 401)});
    Canvas c(kWidth, kHeight, kBlack);
    QImage painted(kWidth + 2 * kMargin, kHeight + 2 * kMargin, QImage::Format_RGB32);
    painted.fill(Qt::black);
    const std::array<ColorRef, 3> colors{kWhite, 0x00C0FF, 0x0000FF};
    for (int i = 0; i < 800; ++i) {
        const int width = std::array{2, 3, 5}[pick(0, 2)];
        const bool flat = pick(0, 1) == 0;
        const ColorRef color = colors[pick(0, 2)];
        const QPoint d = directions[std::size_t(pick(0, int(directions.size()) - 1))];
        // Through a pixel of the window (or just beside it), somewhere along the stroke.
        const QPoint through(pick(-4, kWidth + 4), pick(-4, kHeight + 4));
        const double along = pick(0, 100) / 100.0;
        const QPoint from =
            through - QPoint(int(std::lround(d.x() * along)), int(std::lround(d.y() * along)));
        const std::array<QPoint, 2> line{from, from + d};
        strokeOnBoth(c, painted, kMargin, line, Pen{color, PenStyle::Solid, width, true, flat});
    }
    EXPECT_EQ(c.image(),
              painted.copy(kMargin, kMargin, kWidth, kHeight).convertToFormat(c.image().format()));
    EXPECT_GT(c.strokesStamped(), 500);
}

namespace {

constexpr ColorRef kRed = 0x0000FF; // as the palette holds colours: blue, green, red
constexpr ColorRef kBlue = 0xFF0000;

// The box around the pixels of `c` that are no longer `fill`, empty when none.
WrittenBox changedBox(const Canvas& c, ColorRef fill)
{
    WrittenBox box;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            if (c.pixel(x, y) != fill) {
                box.add(x, y, x + 1, y + 1);
            }
        }
    }
    return box;
}

} // namespace

// Copies drawn one by one on a layer are read only inside the box the canvas says it wrote:
// a pixel changed outside it would be lost from the figure and left on the layer for the
// next copy. Every way of writing pixels, in both pen modes, cut by the edges or not.
TEST(CanvasWritten, EveryPixelChangedLiesInTheBoxTheCanvasSaysItWrote)
{
    using Draw = std::function<void(Canvas&)>;
    const std::vector<std::pair<const char*, Draw>> drawings{
        {"line", [](Canvas& c) { c.moveTo(-30, 20), c.lineTo(90, 61); }},
        {"steep dashed line",
         [](Canvas& c) {
             c.setPenStyle(PenStyle::Dash);
             c.moveTo(40, -50), c.lineTo(55, 300);
         }},
        {"row", [](Canvas& c) { c.moveTo(10, 30), c.lineTo(150, 30); }},
        {"polyline",
         [](Canvas& c) {
             const std::array<QPoint, 4> p{QPoint(5, 5), QPoint(60, 90), QPoint(100, 10),
                                           QPoint(130, 70)};
             c.polyline(p);
         }},
        {"wide stroke",
         [](Canvas& c) {
             c.setPenWidth(7);
             c.strokeLine(QPoint(20, 20), QPoint(70, 50));
         }},
        {"wide straight stroke",
         [](Canvas& c) {
             c.setPenWidth(5);
             c.strokeLine(QPoint(20, 40), QPoint(90, 40));
         }},
        {"ellipse",
         [](Canvas& c) {
             c.setBrush(Brush{kRed, false});
             c.ellipse(30, 20, 80, 60);
         }},
        {"dashed ellipse across the edge",
         [](Canvas& c) {
             c.setPenStyle(PenStyle::Dot);
             c.ellipse(-40, 20, 60, 120);
         }},
        {"rectangle", [](Canvas& c) { c.rectangle(10, 10, 50, 40); }},
        {"polygon",
         [](Canvas& c) {
             const std::array<QPoint, 3> p{QPoint(20, 80), QPoint(60, 10), QPoint(100, 90)};
             c.polygon(p);
         }},
        {"small text", [](Canvas& c) { c.textOut(12, 14, QStringLiteral("12.5cm")); }},
        {"large text",
         [](Canvas& c) {
             c.setFontSize(72);
             c.textOut(-20, 30, QStringLiteral("3万"));
         }},
        {"fill", [](Canvas& c) { c.fillRect(20, 30, 60, 35, kRed); }},
        {"columns", [](Canvas& c) { c.fillColumns(-5, 17, 6, 3, 40, 70, kRed); }},
        {"masked rows",
         [](Canvas& c) {
             const std::vector<std::uint8_t> mask{0, 1, 1, 0, 1};
             c.paintMaskedRow(44, 70, mask, kRed);
             c.setMaskedRow(50, mask, kRed, kBlue);
         }},
        {"pixels",
         [](Canvas& c) {
             const std::array<QRgb, 3> p{0xff102030u, 0xff405060u, 0xff708090u};
             c.setPixels(99, 40, p.data(), 3);
             c.setPixel(150, 5, kRed);
         }},
        {"vertical lines",
         [](Canvas& c) {
             const std::array<Canvas::VerticalLine, 2> lines{
                 Canvas::VerticalLine{30, 70, kRed, PenStyle::Solid},
                 Canvas::VerticalLine{90, 120, kBlue, PenStyle::Dash}};
             c.verticalLines(lines, 20);
         }},
        {"path",
         [](Canvas& c) {
             c.setPenWidth(3);
             c.beginPath();
             c.moveTo(10, 100);
             c.bezierTo(QPoint(40, 20), QPoint(90, 140), QPoint(140, 60));
             c.endPath();
             c.strokePath();
         }},
        {"flood fill",
         [](Canvas& c) {
             c.rectangle(10, 10, 50, 40);
             c.forgetWritten();
             c.setBrush(Brush{kRed, false});
             c.floodFill(20, 20);
         }},
    };
    for (const PenMode mode : {PenMode::Copy, PenMode::Xor}) {
        for (const auto& [name, draw] : drawings) {
            Canvas c(160, 110, kBlack);
            c.setPenColor(kWhite);
            c.setFontColor(kWhite);
            c.setPenMode(mode);
            draw(c);
            const WrittenBox changed = changedBox(c, kBlack);
            const WrittenBox said = c.written();
            ASSERT_FALSE(changed.empty()) << name;
            EXPECT_LE(said.left, changed.left) << name;
            EXPECT_LE(said.top, changed.top) << name;
            EXPECT_GE(said.right, changed.right) << name;
            EXPECT_GE(said.bottom, changed.bottom) << name;
        }
    }
    // What the canvas writes itself is told tightly: a glyph, a line and a masked row are not
    // the whole canvas (a layer read whole for each copy was the cost of tens of seconds).
    Canvas c(160, 110, kBlack);
    c.setPenColor(kWhite);
    c.setFontColor(kWhite);
    c.textOut(12, 14, QStringLiteral("7"));
    c.moveTo(30, 80);
    c.lineTo(60, 90);
    c.forgetWritten();
    EXPECT_TRUE(c.written().empty());
    c.moveTo(30, 80);
    c.lineTo(60, 90);
    const WrittenBox line = c.written();
    EXPECT_EQ(line.left, 30);
    EXPECT_EQ(line.right, 59);
    EXPECT_EQ(line.top, 80);
    EXPECT_EQ(line.bottom, 90);
    c.forgetWritten();
    c.textOut(12, 14, QStringLiteral("7"));
    EXPECT_LT(c.written().right - c.written().left, 20);
}

TEST(CanvasGeometry, PaintedRunsFoundAWordAtATimeAreThoseOfAPixelByPixelScan)
{
    // Rows of painted and unpainted stretches from one pixel to over a hundred, read from
    // every start and to every end around words of 64 pixels: the runs found are the maximal
    // runs of painted pixels, in order, cut to the stretch read.
    std::mt19937 rng(64);
    for (int trial = 0; trial < 400; ++trial) {
        const int length = 1 + int(rng() % 300);
        std::vector<QRgb> row(std::size_t(length), kUnpaintedPixel);
        for (int x = 0; x < length;) {
            const int stretch = 1 + int(rng() % (rng() % 2 == 0 ? 6 : 130));
            const bool painted = rng() % 2 == 0;
            for (int k = x; k < std::min(length, x + stretch); ++k) {
                row[std::size_t(k)] = painted ? QRgb(1 + rng() % 0xFFFFFF) : kUnpaintedPixel;
            }
            x += stretch;
        }
        const int from = int(rng() % std::uint32_t(length));
        const int to = from + int(rng() % std::uint32_t(length - from + 1));
        std::vector<std::pair<int, int>> plain;
        for (int x = from; x < to; ++x) {
            if (row[std::size_t(x)] == kUnpaintedPixel) {
                continue;
            }
            if (!plain.empty() && plain.back().second == x) {
                plain.back().second = x + 1;
            } else {
                plain.emplace_back(x, x + 1);
            }
        }
        std::vector<std::pair<int, int>> found;
        eachPaintedRun(row.data(), from, to,
                       [&](int start, int end) { found.emplace_back(start, end); });
        ASSERT_EQ(found, plain) << "trial " << trial << ", pixels " << from << " to " << to;
    }
}

TEST(KeptCanvas, MemoryGivenBackIsUnpaintedEverywhereForTheNextCanvas)
{
    // A canvas on the thread's kept memory, drawn on by every means (fills, the painter, text,
    // lines, rows), then given back: the next canvas, smaller or as large, is on the same
    // memory and all unpainted. One asked for while it is in use is on other memory.
    const auto isUnpainted = [](const Canvas& c) {
        const QImage& image = c.image();
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (row[x] != kUnpaintedPixel) {
                    return false;
                }
            }
        }
        return true;
    };
    const uchar* memory = nullptr;
    {
        KeptCanvas c(300, 200);
        ASSERT_TRUE(isUnpainted(*c));
        c->fillRect(250, 150, 320, 230, kWhite);
        c->setPenColor(PaletteColor[3].color);
        c->setPenWidth(5);
        c->moveTo(-20, 10);
        c->lineTo(200, 190);
        c->setPenWidth(1);
        c->ellipse(40, 40, 90, 70);
        c->setFontColor(kWhite);
        c->textOut(120, 20, "12");
        std::fill_n(c->writableRow(199, 0, 300), 300, kWhite);
        memory = c->image().constBits();
    }
    // A repeated drawing on one scratch canvas makes it unpainted from its spans: rows of their
    // own, rows repeating the one above (a thick vertical line), pixels at the drawing's edges.
    const auto draw = [](Canvas& c, int x, int y) {
        c.fillRect(x - 20, y - 30, x - 14, y + 30, kWhite);
        c.setPenColor(PaletteColor[5].color);
        c.setPenWidth(3);
        c.moveTo(x - 25, y + 28);
        c.lineTo(x + 24, y - 29);
        c.setPixel(x - 25, y - 30, kWhite);
        c.setPixel(x + 24, y + 29, kWhite);
        c.setFontColor(kWhite);
        c.textOut(x, y, "47");
    };
    const uchar* drawn = nullptr;
    {
        const RepeatedDrawing once(Canvas(10, 10), QRect(-25, -30, 50, 60), draw);
        ASSERT_TRUE(once.usable());
        Canvas pasted(80, 80, kBlack);
        once.paint(pasted, 40, 40);
        EXPECT_GT(countColor(pasted, kWhite), 60);
    }
    {
        KeptCanvas after(50, 60);
        drawn = after->image().constBits();
        EXPECT_TRUE(isUnpainted(*after));
    }
    EXPECT_NE(drawn, nullptr);
    for (const QSize size : {QSize(300, 200), QSize(120, 90)}) {
        KeptCanvas again(size.width(), size.height());
        EXPECT_EQ(again->image().constBits(), memory);
        EXPECT_TRUE(isUnpainted(*again));
        again->fillRect(0, 0, size.width(), size.height(), kBlack);
        KeptCanvas meanwhile(size.width(), size.height());
        EXPECT_NE(meanwhile->image().constBits(), memory);
        EXPECT_TRUE(isUnpainted(*meanwhile));
    }
}

TEST(RowBits, CoversTellsWhetherEveryPixelOfABoxIsGathered)
{
    // Pictures mostly solid (so that words fill, down whole columns of them), some with a
    // hole, gathered at places on and off the image; boxes within what was gathered and
    // across its edges are covered exactly when every pixel of theirs on the image is. The
    // pixels painted at the end are those gathered, and nothing is left gathered after.
    std::mt19937 rng(53);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (const QSize size : {QSize(70, 40), QSize(200, 300), QSize(4200, 20)}) {
        const int w = size.width();
        const int h = size.height();
        RowBits bits;
        std::vector<char> plain(std::size_t(w) * std::size_t(h), 0);
        auto gathered = [&](int x, int y) {
            return plain[std::size_t(y) * std::size_t(w) + std::size_t(x)] != 0;
        };
        bool any = false;
        for (int n = 0; n < 300; ++n) {
            const int rows = pick(1, std::min(h, 200)); // across words of 64 rows
            const int width = pick(1, 150);
            const bool hole = pick(0, 4) == 0;
            const int holeRow = pick(0, rows - 1);
            const int holeColumn = pick(0, width - 1);
            std::vector<PixelRun> runs;
            for (int r = 0; r < rows; ++r) {
                if (hole && r == holeRow) {
                    if (holeColumn > 0) {
                        runs.push_back(PixelRun{r, 0, holeColumn});
                    }
                    if (holeColumn + 1 < width) {
                        runs.push_back(PixelRun{r, holeColumn + 1, width});
                    }
                } else {
                    runs.push_back(PixelRun{r, 0, width});
                }
            }
            const BitPicture picture = BitPicture::of(runs);
            const int x = pick(-width, w);
            const int y = pick(-rows, h);
            bits.add(picture, x, y, w, h);
            for (const PixelRun& run : runs) {
                for (int u = run.x0; u < run.x1; ++u) {
                    const int px = x + u;
                    const int py = y + run.dy;
                    if (px >= 0 && px < w && py >= 0 && py < h) {
                        plain[std::size_t(py) * std::size_t(w) + std::size_t(px)] = 1;
                        any = true;
                    }
                }
            }
            for (int b = 0; b < 6; ++b) {
                // Within the picture just gathered, or anywhere.
                const int left = b % 2 == 0 ? x + pick(0, width - 1) : pick(-5, w + 5);
                const int top = b % 2 == 0 ? y + pick(0, rows - 1) : pick(-5, h + 5);
                const int right = left + pick(0, b % 2 == 0 ? width : 90);
                const int bottom = top + pick(0, b % 2 == 0 ? rows : 40);
                bool expected = any;
                const int l = std::max(left, 0), r = std::min(right, w - 1);
                const int t = std::max(top, 0), d = std::min(bottom, h - 1);
                for (int py = t; expected && py <= d; ++py) {
                    for (int px = l; expected && px <= r; ++px) {
                        expected = gathered(px, py);
                    }
                }
                ASSERT_EQ(bits.covers(left, top, right, bottom, w, h), expected)
                    << w << "x" << h << " picture " << n << " box " << left << "," << top << " "
                    << right << "," << bottom;
            }
        }
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(0xFF000000);
        WrittenBox written;
        bits.paint(PixelTarget(image, written), 0xFFFFFFFF);
        for (int py = 0; py < h; ++py) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(py));
            for (int px = 0; px < w; ++px) {
                ASSERT_EQ(row[px] == 0xFFFFFFFF, gathered(px, py)) << px << "," << py;
            }
        }
        EXPECT_FALSE(bits.covers(0, 0, 0, 0, w, h));
    }
}
