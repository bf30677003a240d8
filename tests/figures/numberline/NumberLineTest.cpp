#include "figures/numberline/NumberLine.h"
#include "CanvasProbe.h"
#include "Watchdog.h"
#include "figures/Drawn.h"
#include "figures/WindowProbe.h"
#include "render/Palette.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::test::countColor;
using koyomi::test::rowString;

// An 800 × 570 window: the default line runs from x = 175 to 625 at y = 285.
using koyomi::test::Drawn;

namespace {

} // namespace

TEST(NumberLine, DefaultsAreTenUpwardTicksFiftyApartOnACentredLine)
{
    const Drawn d(NumberLineParams::defaults(false));
    // The line from the first tick to the last (its end point left out, but the last tick
    // reaches down onto the line).
    EXPECT_EQ(rowString(d.canvas, 285, 170, 630),
              std::string(5, '.') + std::string(451, '#') + std::string(4, '.'));
    // Ticks 10 up, touching the line, at 175, 225 … 625.
    std::string above(451, '.');
    for (int k = 0; k < 10; ++k) {
        above[std::size_t(50 * k)] = '#';
    }
    EXPECT_EQ(rowString(d.canvas, 276, 175, 626), above);
    EXPECT_EQ(rowString(d.canvas, 275, 175, 626), above);
    EXPECT_EQ(countColor(d.canvas, kWhite, 0, 0, 800, 275), 0);
    EXPECT_EQ(countColor(d.canvas, kWhite, 0, 286, 800, 570), 0);
}

TEST(NumberLine, OneTickHasALineOnlyWhenExtended)
{
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickCount = 1;
    const Drawn one(p);
    EXPECT_EQ(countColor(one.canvas, kWhite), 11); // the tick alone, 10 up and on the line
    p.axisExtended = true;
    const Drawn extended(p);
    EXPECT_EQ(rowString(extended.canvas, 285, 340, 460),
              std::string(10, '.') + std::string(100, '#') + std::string(10, '.'));
}

TEST(NumberLine, LabelTextsAndScales)
{
    EXPECT_EQ(numberLineLabel(-2, 0, true, "cm"), "-2cm");
    EXPECT_EQ(numberLineLabel(0, 0, true, "cm"), "0");
    EXPECT_EQ(numberLineLabel(1, 0, true, "cm"), "+1cm");
    EXPECT_EQ(numberLineLabel(2, 0, false, ""), "2");
    // Tenths from 0 in steps of 5: 0, 0.5, 1.0, 1.5, with a decimal point in every locale.
    const char* saved = std::setlocale(LC_NUMERIC, nullptr);
    const std::string savedLocale = saved ? saved : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(numberLineLabel(5, 1, false, ""), "0.5");
    EXPECT_EQ(numberLineLabel(10, 1, false, ""), "1.0");
    EXPECT_EQ(numberLineLabel(15, 1, false, ""), "1.5");
    EXPECT_EQ(numberLineLabel(-7, 4, false, "m"), "-0.0007m");
    EXPECT_EQ(numberLineLabel(12345, 3, true, ""), "+12.345");
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, savedLocale.c_str());
}

TEST(NumberLine, LabelCharacterCountsBoundTheWrittenLabel)
{
    // Labels are left out by their count of characters before they are written: the count
    // must hold the label as written, at every power of ten and at the ends of the range.
    std::vector<long long> values{0,
                                  1,
                                  -1,
                                  9,
                                  10,
                                  99,
                                  100,
                                  std::numeric_limits<long long>::max(),
                                  std::numeric_limits<long long>::min()};
    long long p = 1;
    for (int digits = 1; digits <= 18; ++digits) {
        p *= 10;
        for (long long v : {p - 1, p, p + 1, p / 10 * 19}) {
            values.push_back(v);
            values.push_back(-v);
        }
    }
    for (long long v : {9'007'199'254'740'991LL, 8'999'999'999'999'999LL, 99'999'999'999'999LL,
                        999'999'999'999'999'999LL}) {
        values.push_back(v);
        values.push_back(-v);
    }
    for (const long long v : values) {
        for (const int scale : {-1, 0, 1, 2, 3, 4, 5}) {
            for (const bool plus : {false, true}) {
                const LabelChars chars = numberLabelChars(v, scale, plus);
                const qsizetype written = numberLineLabel(v, scale, plus, "").size();
                EXPECT_LE(chars.low, written) << v << " scale " << scale;
                EXPECT_GE(chars.high, written) << v << " scale " << scale;
                EXPECT_LE(chars.high - chars.low, 1);
                if (std::abs(double(v)) < 1e14) {
                    EXPECT_EQ(chars.low, chars.high) << v;
                }
            }
        }
    }
}

TEST(NumberLine, SubdivisionsLabelsAndStackedLines)
{
    // Thirds of 50: ticks 16 and 32 after every main tick.
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickCount = 2;
    p.sub1Count = 3;
    p.sub1Length = 5;
    p.ticks.kind = kNoLineIndex;
    p.axis.kind = kNoLineIndex;
    const Drawn thirds(p);
    // One interval from x = 375 to 425: subdivision ticks at 391 and 407, 5 up.
    EXPECT_EQ(rowString(thirds.canvas, 282, 370, 430),
              std::string(21, '.') + "#" + std::string(15, '.') + "#" + std::string(22, '.'));

    // Three stacked lines 100 apart, centred: at y = 185, 285 and 385, labels in each.
    p = NumberLineParams::defaults(false);
    p.countDown = 3;
    p.gapDown = 100;
    p.labelsOn = true;
    const Drawn stacked(p);
    for (const int y : {185, 285, 385}) {
        EXPECT_EQ(stacked.canvas.pixel(300, y), kWhite) << y;
        // Labels above: top at y − 10 − 10 − 10, a line's height of text.
        EXPECT_GT(countColor(stacked.canvas, kWhite, 170, y - 30, 630, y - 16), 20) << y;
    }
    // The same labels start again in every line: the three label bands are alike.
    EXPECT_EQ(stacked.canvas.image().copy(0, 155, 800, 14),
              stacked.canvas.image().copy(0, 255, 800, 14));
}

TEST(NumberLine, DotTicksAreFilledWithTheirColour)
{
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickShape = int(NumberTick::Dot);
    p.tickLength = 6;
    p.ticks.color = kRedIndex;
    p.axis.kind = kNoLineIndex;
    const Drawn d(p);
    EXPECT_EQ(d.canvas.pixel(175, 285), PaletteColor[kRedIndex].color);
    EXPECT_EQ(d.canvas.pixel(175 + 50, 285 - 3), PaletteColor[kRedIndex].color);
}

TEST(NumberLine, SkippingWhatIsOutsideTheWindowChangesNoPixel)
{
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickCount = 12;
    p.tickSpacing = 22;
    p.countAcross = 3;
    p.gapAcross = 40;
    p.countDown = 7;
    p.gapDown = 36;
    p.sub1Count = 2;
    p.sub2Count = 5;
    p.sub2.kind = 1;
    p.axis.width = 3;
    p.axisExtended = true;
    p.labelsOn = true;
    p.labelStart = -3;
    p.labelUnit = "cm";
    p.tickShape = int(NumberTick::Through);
    Canvas small(260, 170);
    koyomi::test::expectWindowMatchesLargeCanvas(
        small, 300, [&](Canvas& c, const Frame& f) { drawNumberLine(c, p, f); });
    EXPECT_GT(countColor(small, kWhite), 0);
}

// Labels differ in length; one is left out only when none of its pixels can reach the
// window. Windows whose edges cut labels with units of every kind (a full-width one, a
// surrogate pair, a combining accent) at many places.
TEST(NumberLine, LabelsTheWindowsEdgeCutsKeepWhatIsInside)
{
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickCount = 25;
    p.tickSpacing = 4; // the line is 96 pixels long
    p.labelsOn = true;
    p.labelSize = 30;
    p.labelStart = -30;
    p.labelStep = 7;
    p.labelScale = 1;
    p.labelColor = kRedIndex;
    for (const char* unit : {"cm", "方眼", "\U0001F600", "e\u0301", "WW"}) {
        p.labelUnit = QString::fromUtf8(unit);
        // Window sizes of the line's parity, so that centring halves exactly in both.
        for (int w = 10; w <= 130; w += 12) {
            SCOPED_TRACE(testing::Message() << unit << " " << w);
            Canvas small(w, 40);
            koyomi::test::expectWindowMatchesLargeCanvas(
                small, 300, [&](Canvas& c, const Frame& f) { drawNumberLine(c, p, f); });
        }
    }
}

// Lines stacked a few pixels apart whose labels stand just above or below the window: a line's
// labels are left out only when no pixel of any can reach it (accents over the first character
// of the unit, a descender, a glyph from another font).
TEST(NumberLine, LabelsOfLinesJustBeyondTheWindowPaintWhatReachesIn)
{
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickCount = 9;
    p.tickSpacing = 6;
    p.countDown = 3;
    p.gapDown = 40;
    p.labelsOn = true;
    p.labelStart = -4;
    p.labelScale = 1;
    p.labelColor = kRedIndex;
    for (const char* unit : {"", "gj", "\u0301\u0301x", "\U0001F600", "方", "Å"}) {
        p.labelUnit = QString::fromUtf8(unit);
        for (const bool below : {false, true}) {
            p.labelsBelow = below;
            for (const int size : {14, 33}) {
                p.labelSize = size;
                // The lines' height is even (80): so are the windows'.
                for (int h = 2; h <= 64; h += 2) {
                    SCOPED_TRACE(testing::Message()
                                 << unit << " " << below << " " << size << " " << h);
                    Canvas small(60, h);
                    // Each line drawn in its place, not copied from a drawing of one whole.
                    koyomi::test::expectWindowMatchesLargeCanvas(
                        small, 200,
                        [&](Canvas& c, const Frame& f) { drawNumberLineTickByTick(c, p, f); });
                }
            }
        }
    }
}

TEST(NumberLine, RowsOfTicksGiveThePictureOfDrawingEveryTickInOrder)
{
    // Ticks of every shape, line kind and width, overlapping or apart, over both rows of
    // subdivisions (parts of several pixels, of one, and shorter than a pixel) and other lines,
    // cut by every edge; each case against the same line drawn tick by tick.
    std::mt19937 rng(11);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 400; ++n) {
        NumberLineParams p = NumberLineParams::defaults(pick(0, 1) == 1);
        p.tickShape = n < 150 ? int(NumberTick::Dot) : pick(0, 3);
        p.tickLength = pick(-8, 40);
        p.tickSpacing = pick(-6, 30);
        p.tickCount = pick(1, 60);
        p.ticks.kind = pick(0, 4);
        p.ticks.width = pick(0, 5);
        p.ticks.color = pick(0, 15);
        p.sub1Count = pick(0, 9);
        p.sub1Length = pick(-4, 30);
        p.sub1.kind = pick(0, 4);
        p.sub1.width = pick(0, 4);
        p.sub1.color = pick(0, 15);
        p.sub2Count = pick(0, 4);
        p.sub2Length = pick(-4, 30);
        p.sub2.kind = pick(0, 4);
        p.sub2.width = pick(0, 4);
        p.sub2.color = pick(-1, 15);
        p.countAcross = pick(1, 4);
        p.gapAcross = pick(-20, 40);
        p.countDown = pick(1, 5);
        p.gapDown = pick(0, 30);
        const int w = pick(1, 240);
        const int h = pick(1, 160);
        const Frame frame{pick(-60, 300), pick(-60, 200), p.ticks.color == 0};
        Canvas stamped(w, h);
        Canvas oneByOne(w, h);
        drawNumberLine(stamped, p, frame);
        drawNumberLineTickByTick(oneByOne, p, frame);
        ASSERT_EQ(stamped.image(), oneByOne.image())
            << "case " << n << ": shape " << p.tickShape << " length " << p.tickLength
            << " spacing " << p.tickSpacing << " count " << p.tickCount << " kind " << p.ticks.kind
            << " canvas " << w << "×" << h;
    }
}

TEST(NumberLine, LinesCrowdedTogetherCopiedFromOneDrawnMatchEachDrawnInPlace)
{
    // Lines a few pixels apart, down or across, each reaching over its neighbours with its
    // ticks and labels: drawn once and copied (after the first, when a colour or kind is left
    // unnamed). Every tick shape and line kind, colours named or not, both rows of
    // subdivisions, labels above and below, cut by every edge; each case against every line
    // drawn tick by tick in its place.
    std::mt19937 rng(17);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto line = [&] { return LineSetting{pick(0, 5), pick(0, 3), pick(-1, 11)}; };
    for (int n = 0; n < 120; ++n) {
        NumberLineParams p = NumberLineParams::defaults(pick(0, 1) == 1);
        p.tickShape = pick(0, 3);
        p.tickLength = pick(-6, 30);
        p.tickSpacing = pick(-5, 25);
        p.tickCount = pick(1, 20);
        p.axis = line();
        p.axisExtended = pick(0, 1) == 1;
        p.ticks = line();
        p.sub1Count = pick(0, 4);
        p.sub1Length = pick(-4, 12);
        p.sub1 = line();
        p.sub2Count = pick(0, 3);
        p.sub2Length = pick(-4, 12);
        p.sub2 = line();
        p.labelsOn = pick(0, 3) > 0;
        p.labelsBelow = pick(0, 1) == 1;
        p.labelSize = pick(6, 28);
        p.labelColor = pick(0, 11);
        p.countAcross = pick(1, 30);
        p.gapAcross = pick(-300, 4);
        p.countDown = pick(1, 40);
        p.gapDown = pick(-3, 4);
        const int w = pick(1, 200);
        const int h = pick(1, 150);
        const Frame frame{pick(-60, 260), pick(-60, 190), pick(0, 1) == 1};
        Canvas copied(w, h);
        Canvas inPlace(w, h);
        drawNumberLine(copied, p, frame);
        drawNumberLineTickByTick(inPlace, p, frame);
        ASSERT_EQ(copied.image(), inPlace.image()) << "case " << n;
    }
}

TEST(NumberLine, HundredsOfStackedLinesOfTheLargestDotsAPixelApartEnd)
{
    // Every dot is in sight and each is 2001 pixels across: drawn one by one, minutes.
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickShape = int(NumberTick::Dot);
    p.tickLength = 1000;
    p.tickSpacing = 1;
    p.tickCount = 1000;
    p.ticks.kind = 1;
    p.countDown = 500;
    p.gapDown = 1;
    koyomi::test::runWithWatchdog("stacked dots", [&] { Drawn(p, 320, 200); });
}

TEST(NumberLine, LinesCopiedIntoOnePlaceDrawAsOne)
{
    // Copies with no distance between them, down or across, labels and subdivisions on:
    // thousands of them are the one line.
    NumberLineParams one = NumberLineParams::defaults(false);
    one.labelsOn = true;
    one.sub1Count = 5;
    one.tickShape = int(NumberTick::Dot);
    one.tickLength = 6;
    NumberLineParams many = one;
    many.countDown = 5000;
    many.gapDown = 0;
    many.countAcross = 3000;
    many.gapAcross = -(one.tickCount - 1) * one.tickSpacing;
    const Frame frame{640, 400, false};
    Canvas a(640, 400);
    Canvas b(640, 400);
    drawNumberLine(a, one, frame);
    koyomi::test::runWithWatchdog("lines in one place", [&] { drawNumberLine(b, many, frame); });
    EXPECT_EQ(a.image(), b.image());
    EXPECT_GT(countColor(a, kWhite), 0);
}

TEST(NumberLine, SubdivisionsShorterThanAPixelAreTheTicksOfEveryInterval)
{
    // Parts of 0 pixels: each interval's subdivision ticks stand on its start. Larger than
    // the main ticks and in another colour, so that every one shows; against drawing them
    // interval by interval.
    for (int spacing : {1, 2, 3, -2}) {
        for (NumberTick shape : {NumberTick::Dot, NumberTick::Up, NumberTick::Through}) {
            NumberLineParams p = NumberLineParams::defaults(false);
            p.tickShape = int(shape);
            p.tickSpacing = spacing;
            p.tickCount = 120;
            p.tickLength = 2;
            p.sub1Count = 4;
            p.sub1Length = 9;
            p.sub1.color = 7; // red
            p.sub2Count = 5;
            p.sub2Length = 5;
            p.sub2.color = 10;
            p.countDown = 3;
            p.gapDown = 7;
            Canvas rows(200, 80);
            Canvas byInterval(200, 80);
            drawNumberLine(rows, p, Frame{200, 80, false});
            drawNumberLineTickByTick(byInterval, p, Frame{200, 80, false});
            ASSERT_EQ(rows.image(), byInterval.image()) << spacing << " " << int(shape);
            EXPECT_GT(countColor(rows, 0x0000FF), 0);
        }
    }
}

// Labels at non-default settings, placed by hand from the rules: five ticks 60 apart on an
// 800-wide window start at x0 = (800 − 240) div 2 = 280 on y0 = 285. Size 20 moves a label
// (20 div 5) × 2 = 8 right and (20 div 2) = 10 left per character: "-2cm" (4 characters)
// at 280 − 32 = 248, and the zero label "0", which carries no unit, at 400 − 2 = 398. Above
// "┸" ticks 10 long the text's top is at 285 − 10 − 20 − 10 = 245; below them at 285 + 5.
TEST(NumberLine, LabelsWithAUnitAndASignStandWhereTheirCharactersPutThem)
{
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickCount = 5;
    p.tickSpacing = 60;
    p.ticks.kind = kNoLineIndex;
    p.axis.kind = kNoLineIndex;
    p.labelsOn = true;
    p.labelStart = -2;
    p.labelPlusSign = true;
    p.labelUnit = QStringLiteral("cm");
    p.labelSize = 20;
    p.labelColor = kRedIndex;
    const struct
    {
        int x;
        const char* text;
    } labels[] = {{248, "-2cm"}, {308, "-1cm"}, {398, "0"}, {428, "+1cm"}, {488, "+2cm"}};
    for (const bool below : {false, true}) {
        p.labelsBelow = below;
        const Drawn d(p);
        Canvas expected(800, 570);
        expected.setFontSize(20);
        expected.setFontColor(0x0000FF); // red
        for (const auto& label : labels) {
            expected.textOut(label.x, below ? 290 : 245, QString::fromLatin1(label.text));
        }
        EXPECT_GT(countColor(expected, 0x0000FF), 100);
        EXPECT_EQ(d.canvas.image(), expected.image()) << below;
    }
}

// The horizontal line of width w is w one-pixel lines from y0 − w div 2 down, each from x0
// to its last tick, the end not painted: width 4 on y0 = 285 covers rows 283 to 286, from
// x = 280 to 519 (one spacing further each way when extended).
TEST(NumberLine, TheLineOfEveryWidthCoversItsOwnRows)
{
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickCount = 5;
    p.tickSpacing = 60;
    p.ticks.kind = kNoLineIndex;
    p.axis.color = kRedIndex;
    for (const int width : {1, 2, 3, 4, 5}) {
        for (const bool extended : {false, true}) {
            p.axis.width = width;
            p.axisExtended = extended;
            const Drawn d(p);
            const int first = 285 - width / 2;
            const int left = extended ? 220 : 280;
            const int right = extended ? 580 : 520;
            for (int y = 280; y <= 290; ++y) {
                const bool covered = y >= first && y < first + width;
                EXPECT_EQ(countColor(d.canvas, 0x0000FF, 0, y, 800, y + 1),
                          covered ? right - left : 0)
                    << "width " << width << " row " << y;
                if (covered) {
                    EXPECT_EQ(d.canvas.pixel(left, y), 0x0000FFu);
                    EXPECT_EQ(d.canvas.pixel(right - 1, y), 0x0000FFu);
                }
            }
        }
    }
}
