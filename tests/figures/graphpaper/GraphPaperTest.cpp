#include "figures/graphpaper/GraphPaper.h"
#include "CanvasProbe.h"
#include "Watchdog.h"
#include "figures/Drawn.h"
#include "figures/Visible.h"
#include "figures/WindowProbe.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <random>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::test::columnString;
using koyomi::test::countColor;
using koyomi::test::rowString;

using koyomi::test::Drawn;

namespace {

constexpr ColorRef kRed = 0x0000FF;

GraphPaperParams smallBlock(int hCount, int vCount, int spacing)
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.hLineCount = hCount;
    p.vLineCount = vCount;
    p.hLineSpacing = spacing;
    p.vLineSpacing = spacing;
    return p;
}

void drawInWindowAndOnLargeCanvas(Canvas& small, const GraphPaperParams& p, int d)
{
    koyomi::test::expectWindowMatchesLargeCanvas(
        small, d, [&](Canvas& c, const Frame& f) { drawGraphPaper(c, p, f); });
}

} // namespace

TEST(GraphPaper, DefaultsOnBlackAreNineByNineCellsOfFiftyPixelsCentred)
{
    Drawn d(GraphPaperParams::defaults(false));
    const Canvas& c = d.canvas;
    // Block 450 × 450: left = (800 − 450) div 2, top = (570 − 450) div 2.
    const int x0 = 175, y0 = 60;
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(rowString(c, y0 + 50 * k, x0 - 1, x0 + 452), "." + std::string(451, '#') + ".");
        EXPECT_EQ(columnString(c, x0 + 50 * k, y0 - 1, y0 + 452),
                  "." + std::string(451, '#') + ".");
    }
    EXPECT_EQ(countColor(c, kWhite), 20 * 451 - 100);
    EXPECT_EQ(countColor(c, kWhite) + countColor(c, kBlack), 800 * 570);

    Drawn white(GraphPaperParams::defaults(true), 800, 570, true);
    EXPECT_EQ(countColor(white.canvas, kBlack), 20 * 451 - 100);
}

TEST(GraphPaper, OneOrTwoHorizontalLinesDegenerateAsTheBlockDoes)
{
    GraphPaperParams p = smallBlock(1, 5, 20);
    p.risingDiagonals.kind = kSolidIndex;
    p.numberingOn = true;
    p.numberText = "1,2,3,4,";
    Drawn one(p, 200, 100);
    // No height: the top and bottom sides coincide and each vertical line is one pixel long.
    const int x0 = (200 - 80) / 2, y0 = 50;
    EXPECT_EQ(rowString(one.canvas, y0, x0, x0 + 82), std::string(81, '#') + ".");
    EXPECT_EQ(countColor(one.canvas, kWhite), 81);

    p.hLineCount = 2;
    Drawn two(p, 200, 100);
    const int top = (100 - 20) / 2;
    // Only the sides run horizontally; the single cell row has its diagonals and labels.
    EXPECT_EQ(countColor(two.canvas, kWhite, x0 + 1, top + 1, x0 + 80, top + 20) > 4 * 19, true);
    for (int y = top + 1; y < top + 20; ++y) {
        ASSERT_EQ(rowString(two.canvas, y, x0 - 2, x0 + 1), "..#") << y;
    }
}

TEST(GraphPaper, TouchingBlocksEachHaveTheirSidesAndRestartTheirLabels)
{
    GraphPaperParams p = smallBlock(3, 3, 40);
    p.countAcross = 3;
    p.gapAcross = 0;
    p.numberingOn = true;
    p.numberText = "1,2,3,4,5,6,7,8,9,10,11,12,";
    Drawn d(p, 400, 200);
    const int x0 = (400 - 240) / 2, y0 = (200 - 80) / 2;
    // Every block looks the same, labels included: they restart at "1" in each.
    for (int b = 1; b < 3; ++b) {
        for (int y = y0; y <= y0 + 80; ++y) {
            for (int x = 1; x < 80; ++x) {
                ASSERT_EQ(d.canvas.pixel(x0 + x, y), d.canvas.pixel(x0 + 80 * b + x, y))
                    << b << ":" << x << "," << y;
            }
        }
    }
    EXPECT_GT(countColor(d.canvas, kWhite, x0 + 1, y0 + 1, x0 + 40, y0 + 40), 0); // a label
}

TEST(GraphPaper, EmphasisHitsEveryNthInnerLineAndNeverTheSides)
{
    GraphPaperParams p = smallBlock(21, 3, 10);
    p.emphasis[HEmphasis1].on = true;
    p.emphasis[HEmphasis1].skip = 4;
    p.emphasis[HEmphasis1].line.color = kRedIndex;
    Drawn d(p, 100, 300);
    const int x0 = (100 - 20) / 2, y0 = (300 - 200) / 2;
    for (int k = 0; k <= 20; ++k) {
        const bool red = k % 5 == 0 && k != 0 && k != 20;
        EXPECT_EQ(d.canvas.pixel(x0 + 5, y0 + 10 * k), red ? kRed : kWhite) << k;
    }
    // The second row wins where both apply.
    p.emphasis[HEmphasis2].on = true;
    p.emphasis[HEmphasis2].skip = 9;
    p.emphasis[HEmphasis2].line.color = 9; // yellow
    Drawn both(p, 100, 300);
    EXPECT_EQ(both.canvas.pixel(x0 + 5, y0 + 50), kRed);
    EXPECT_EQ(both.canvas.pixel(x0 + 5, y0 + 100), 0x00FFFFu);
    // A skip field typed as −1 emphasises nothing rather than dividing by zero.
    p.emphasis[HEmphasis1].skip = -1;
    p.emphasis[HEmphasis2].on = false;
    Drawn none(p, 100, 300);
    EXPECT_EQ(countColor(none.canvas, kRed), 0);
}

TEST(GraphPaper, OnWhiteTheFirstVerticalEmphasisIsAlwaysBlack)
{
    GraphPaperParams p = GraphPaperParams::defaults(true);
    p.emphasis[VEmphasis1] = EmphasisRow{true, 1, LineSetting{0, 1, kRedIndex}};
    p.emphasis[VEmphasis2] = EmphasisRow{true, 3, LineSetting{0, 1, kRedIndex}};
    p.emphasis[HEmphasis1] = EmphasisRow{true, 1, LineSetting{0, 1, kRedIndex}};
    Drawn d(p, 800, 570, true);
    const int x0 = 175, y0 = 60;
    EXPECT_EQ(d.canvas.pixel(x0 + 100, y0 + 25), kBlack); // k = 2: first row, forced black
    EXPECT_EQ(d.canvas.pixel(x0 + 200, y0 + 25), kRed);   // k = 4: second row keeps its red
    EXPECT_EQ(d.canvas.pixel(x0 + 25, y0 + 100), kRed);   // horizontal rows have no such rule
    // On black the first row is drawn in its own colour.
    p = GraphPaperParams::defaults(false);
    p.emphasis[VEmphasis1] = EmphasisRow{true, 1, LineSetting{0, 1, kRedIndex}};
    Drawn black(p);
    EXPECT_EQ(black.canvas.pixel(x0 + 100, y0 + 25), kRed);
}

TEST(GraphPaper, WidthThreeTopSideCoversThreeRowsAndReachesPastTheFarSide)
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.topSide.width = 3;
    p.topSide.color = kRedIndex;
    Drawn d(p);
    const int x0 = 175, y0 = 60, bw = 450;
    for (int y = y0; y <= y0 + 2; ++y) {
        EXPECT_EQ(rowString(d.canvas, y, x0 - 1, x0 + bw + 4, kRed),
                  "." + std::string(bw + 3, '#') + ".")
            << y;
    }
    EXPECT_EQ(d.canvas.pixel(x0 + 25, y0 + 3), kBlack);
}

TEST(GraphPaper, LabelsFillCellsRowByRowAtTheirPlace)
{
    GraphPaperParams p = smallBlock(3, 4, 50);
    p.numberingOn = true;
    p.numberColor = kRedIndex;
    p.numberText = "10,8,6,4,2,0,\nignored,second,line";
    Drawn d(p, 400, 300);

    // The same figure without labels, with each label written where it belongs.
    GraphPaperParams bare = p;
    bare.numberingOn = false;
    Canvas expected(400, 300);
    drawGraphPaper(expected, bare, Frame{400, 300, false});
    expected.setFontSize(10);
    expected.setFontColor(kRed);
    const int x0 = (400 - 150) / 2, y0 = (300 - 100) / 2;
    const char* labels[] = {"10", "8", "6", "4", "2", "0"};
    for (int n = 0; n < 6; ++n) {
        const int i = n / 3 + 1, j = n % 3 + 1;
        const int len = int(std::strlen(labels[n]));
        expected.textOut(x0 + (j - 1) * 50 + 25 - len * 5 + 5, y0 + (i - 1) * 50 + 25 - 5,
                         labels[n]);
    }
    EXPECT_EQ(d.canvas.image(), expected.image());

    // A quoted item is one label, blanks and commas kept.
    p.numberText = "\"a b,c\" X";
    Drawn quoted(p, 400, 300);
    Canvas one(400, 300);
    drawGraphPaper(one, bare, Frame{400, 300, false});
    one.setFontSize(10);
    one.setFontColor(kRed);
    one.textOut(x0 + 25 - 5 * 5 + 5, y0 + 20, "a b,c");
    one.textOut(x0 + 50 + 25 - 5 + 5, y0 + 20, "X");
    EXPECT_EQ(quoted.canvas.image(), one.image());
}

// Labels many times larger than cells of one or two pixels, gathered as one union and taken
// spread over the block, a stretch of cells passed over where the union covers it: the
// picture is that of writing every label at its place in turn. Numbers of one to six
// characters; a table with a word of other characters is bounded label by label only.
TEST(GraphPaper, CrowdedLabelsGiveThePictureOfWritingEachAtItsPlace)
{
    struct Case
    {
        int hCount, vCount, spacing, size;
        bool word;
    };
    for (const Case& k : {Case{41, 61, 2, 12, false}, Case{61, 101, 1, 40, false},
                          Case{41, 61, 2, 12, true}, Case{31, 91, 1, 24, false}}) {
        SCOPED_TRACE(k.size);
        GraphPaperParams p = smallBlock(k.hCount, k.vCount, k.spacing);
        for (LineSetting* s : {&p.topSide, &p.bottomSide, &p.leftSide, &p.rightSide, &p.innerHLines,
                               &p.innerVLines}) {
            s->kind = kNoLineIndex;
        }
        p.numberingOn = true;
        p.numberColor = kRedIndex;
        p.numberSize = k.size;
        QStringList labels;
        for (int n = 0; n < (k.hCount - 1) * (k.vCount - 1); ++n) {
            labels << (k.word && n == 777 ? QStringLiteral("目盛")
                                          : QString::number(n * 7919 % 200000 - 50000));
        }
        p.numberText = labels.join(u',');
        const int w = 160, h = 90;
        Canvas drawn(w, h);
        drawGraphPaper(drawn, p, Frame{w, h, false});

        Canvas expected(w, h);
        expected.setFontSize(k.size);
        expected.setFontColor(kRed);
        const int x0 = (w - (k.vCount - 1) * k.spacing) / 2;
        const int y0 = (h - (k.hCount - 1) * k.spacing) / 2;
        for (int n = 0; n < labels.size(); ++n) {
            const int i = n / (k.vCount - 1) + 1, j = n % (k.vCount - 1) + 1;
            const int len = int(labels[n].size()) * (k.word && n == 777 ? 2 : 1);
            expected.textOut(x0 + (j - 1) * k.spacing + k.spacing / 2 - len * k.size / 2 +
                                 k.size / 2,
                             y0 + (i - 1) * k.spacing + k.spacing / 2 - k.size / 2, labels[n]);
        }
        EXPECT_EQ(drawn.image(), expected.image());
        EXPECT_GT(countColor(drawn, kBlack), 0);
    }
}

// The same figure drawn on a small canvas and in the middle of a larger one that holds all
// of it: culling what is outside the small canvas must not change a single pixel inside it.
TEST(GraphPaper, SkippingWhatIsOutsideTheWindowChangesNoPixel)
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.hLineCount = 9;
    p.vLineCount = 7;
    p.hLineSpacing = 23;
    p.vLineSpacing = 31;
    p.countAcross = 4;
    p.gapAcross = 12;
    p.countDown = 3;
    p.gapDown = 6;
    p.risingDiagonals = LineSetting{1, 3, 7};
    p.fallingDiagonals = LineSetting{3, 2, 9};
    p.innerHLines = LineSetting{2, 2, 4};
    p.innerVLines = LineSetting{4, 1, 10};
    p.leftSide.width = 4;
    p.bottomSide = LineSetting{1, 3, 6};
    p.emphasis[HEmphasis1] = EmphasisRow{true, 2, LineSetting{1, 2, 7}};
    p.emphasis[VEmphasis2] = EmphasisRow{true, 1, LineSetting{2, 3, 8}};
    p.numberingOn = true;
    p.numberSize = 12;
    p.numberText = "1,22,333,方眼,55555,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,";
    // Whole arrangement 4·186 + 36 = 780 by 3·184 + 12 = 564; the window shows its middle.
    Canvas small(300, 200);
    drawInWindowAndOnLargeCanvas(small, p, 300);
    EXPECT_GT(countColor(small, kRed), 0);
}

// Labels far larger than their cells reach into the window from blocks that lie just outside
// it, on every side: those blocks must still be drawn.
TEST(GraphPaper, LargeLabelsOfBlocksJustOutsideTheWindowAreStillDrawn)
{
    for (const int size : {24, 40, 72, -60}) {
        GraphPaperParams p = GraphPaperParams::defaults(false);
        p.hLineCount = p.vLineCount = 3;
        p.hLineSpacing = p.vLineSpacing = 20;
        p.countAcross = 11;
        p.gapAcross = 23;
        p.countDown = 9;
        p.gapDown = 31;
        p.numberingOn = true;
        p.numberSize = size;
        p.numberColor = kRedIndex;
        // Long labels reach far beyond their 20-pixel cells, several blocks away.
        p.numberText = "8888,方眼方眼方眼方眼,-7777777777,1,";
        SCOPED_TRACE(size);
        Canvas small(300, 200);
        drawInWindowAndOnLargeCanvas(small, p, 900);
        EXPECT_GT(countColor(small, kRed), 0);
    }
}

// Labels of one row differ in length; each is skipped only when no pixel of it can reach the
// window. Windows whose edges cut through labels of every kind (digits, a minus sign,
// full-width characters, a surrogate pair, a combining accent) at many places.
TEST(GraphPaper, LabelsTheWindowsEdgeCutsKeepWhatIsInside)
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.hLineCount = 7;
    p.vLineCount = 9;
    p.hLineSpacing = p.vLineSpacing = 6;
    p.numberingOn = true;
    p.numberSize = 30;
    p.numberColor = kRedIndex;
    p.numberText = QString::fromUtf8(
        "1,-7777777777,方眼方眼,22,\U0001F600\U0001F600,ＡＢＣ,e\u0301e\u0301,WWWW,\"q,q\",");
    // Window sizes of the block's parity, so that centring halves exactly in both.
    for (int w = 10; w <= 120; w += 14) {
        for (int h : {8, 40}) {
            SCOPED_TRACE(testing::Message() << w << " x " << h);
            Canvas small(w, h);
            drawInWindowAndOnLargeCanvas(small, p, 260);
        }
    }
}

// Large labels over cells of a few pixels: for every window, many lie just beyond its edges,
// where only the laid-out text tells whether a pixel of it (a descender, an accent or a stack of
// them, a mark before any letter, a glyph from another font) reaches in. The window must show
// every pixel that reaches.
TEST(GraphPaper, LabelsJustBeyondTheWindowsEdgesPaintWhatReachesIn)
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.hLineCount = 10;
    p.vLineCount = 8;
    p.hLineSpacing = 5;
    p.vLineSpacing = 3;
    p.numberingOn = true;
    p.numberColor = kRedIndex;
    p.numberText = QString::fromUtf8("jq,Wf,e\u0301_,\U0001F600,方,-_-,gy,Ｗ,(j),"
                                     "ÅÇ,|,/\\/,ijk,@,W\u0301\u0301\u0301,\u0332\u0332x");
    for (const int size : {-12, 2, 5, 28, 45}) {
        p.numberSize = size;
        // Odd sizes, as the block's (21 x 45): centring then halves exactly in both.
        for (int w = 5; w <= 65; w += 6) {
            for (int h : {5, 11, 27}) {
                SCOPED_TRACE(testing::Message() << size << ": " << w << " x " << h);
                Canvas small(w, h);
                drawInWindowAndOnLargeCanvas(small, p, 200);
            }
        }
    }
}

// The labels read for one drawing serve the next while the text stays the same. A drawing
// after another text of the same length and count, or the same text in another size, must
// show its own labels, cut by the window's edges as its own font draws them.
TEST(GraphPaper, LabelsFollowTheTextAndSizeOfEachDrawing)
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.hLineCount = 4;
    p.vLineCount = 5;
    p.hLineSpacing = p.vLineSpacing = 12;
    p.numberingOn = true;
    p.numberColor = kRedIndex;
    auto drawn = [&](const GraphPaperParams& q) {
        Canvas c(40, 30);
        drawGraphPaper(c, q, Frame{40, 30, false});
        return c.image();
    };
    auto readAfresh = [&](const GraphPaperParams& q) {
        GraphPaperParams other = q;
        other.vLineCount += 1; // another count of cells: the labels are read again
        drawn(other);
        return drawn(q);
    };
    // Labels far wider than their cells, so that the window's left edge cuts some of them.
    const QStringList texts{"1111111111,2222222222,3333333333,4444444444",
                            "9999999999,8888888888,7777777777,6666666666",
                            "WWWWWWWWWW,WWWWWWWWWW,WWWWWWWWWW,WWWWWWWWWW"};
    for (const QString& text : texts) {
        for (const int size : {6, 40, 6}) {
            p.numberSize = size;
            p.numberText = text;
            const QImage afterAnother = drawn(p);
            EXPECT_EQ(afterAnother, readAfresh(p)) << size << " " << text.toStdString();
        }
    }
}

// Cells of a pixel under labels many times larger: the labels soon cover the whole window,
// and those left are not drawn. The window must be what the same labels make of it on a
// canvas large enough that they never cover it.
TEST(GraphPaper, LabelsThatCoverTheWholeWindowGiveThePictureOfDrawingEveryLabel)
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.hLineCount = p.vLineCount = 120;
    p.hLineSpacing = p.vLineSpacing = 1;
    for (LineSetting* s :
         {&p.topSide, &p.bottomSide, &p.leftSide, &p.rightSide, &p.innerHLines, &p.innerVLines}) {
        s->kind = kNoLineIndex; // lines a pixel apart would cover the labels
    }
    p.numberingOn = true;
    p.numberColor = kRedIndex;
    QStringList numbers;
    for (int k = 1; k <= 119 * 119; ++k) {
        numbers << QString::number(k * 7919 % 100000);
    }
    p.numberText = numbers.join(u',');
    for (const int size : {9, 30}) {
        p.numberSize = size;
        SCOPED_TRACE(size);
        Canvas small(36, 24);
        drawInWindowAndOnLargeCanvas(small, p, 300);
        EXPECT_EQ(countColor(small, kRed), 36 * 24);
    }

    // Labels of 100 points over a block of 150 rows of a thousand cells a pixel wide: about
    // 23,000 reach the window in turn, but a row of them covers a band of it 70 pixels tall,
    // and rows taken far apart first cover it after about 1,700.
    p.hLineCount = 151;
    p.vLineCount = 1000;
    numbers.clear();
    for (int k = 1; k <= 150 * 999; ++k) {
        numbers << QString::number(k);
    }
    p.numberText = numbers.join(u',');
    p.numberSize = 100;
    Canvas window(64, 48);
    drawGraphPaper(window, p, Frame{64, 48, false});
    EXPECT_EQ(countColor(window, kRed), 64 * 48);
    EXPECT_LT(window.textsLaidOut(), 4000);
}

// Many blocks closer together than they reach are drawn once and copied when every line
// names its colour and kind. Blocks that overlap, lines of every kind, colours left unnamed,
// labels larger than their cells, cut by every edge: each case against every block drawn in
// its place.
TEST(GraphPaper, BlocksCopiedFromOneDrawnMatchEveryBlockDrawnInItsPlace)
{
    std::mt19937 rng(5);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto line = [&] { return LineSetting{pick(0, 5), pick(0, 3), pick(-1, 11)}; };
    for (int n = 0; n < 150; ++n) {
        GraphPaperParams p = GraphPaperParams::defaults(pick(0, 1) == 1);
        p.hLineCount = pick(0, 6);
        p.vLineCount = pick(0, 6);
        p.hLineSpacing = pick(-4, 12);
        p.vLineSpacing = pick(-4, 12);
        p.countAcross = pick(1, 12);
        p.gapAcross = pick(-30, 10);
        p.countDown = pick(1, 12);
        p.gapDown = pick(-30, 10);
        for (LineSetting* s : {&p.topSide, &p.bottomSide, &p.leftSide, &p.rightSide, &p.innerHLines,
                               &p.innerVLines, &p.risingDiagonals, &p.fallingDiagonals}) {
            *s = line();
        }
        p.emphasis[pick(0, 3)] = EmphasisRow{true, pick(0, 2), line()};
        p.numberingOn = pick(0, 2) > 0;
        p.numberSize = pick(-20, 30);
        p.numberColor = pick(0, 11);
        p.numberText = "1,22,方眼,-4444,5,6,7,8,9,10,11,12,";
        const int w = pick(1, 160);
        const int h = pick(1, 120);
        const Frame frame{pick(-40, 200), pick(-40, 150), pick(0, 1) == 1};
        Canvas copied(w, h);
        Canvas inPlace(w, h);
        drawGraphPaper(copied, p, frame);
        drawGraphPaperBlockByBlock(inPlace, p, frame);
        ASSERT_TRUE(copied.image() == inPlace.image()) << "case " << n;
    }
}

TEST(GraphPaper, ValuesTypedFarOutOfRangeDrawAndEndAndNeverCrash)
{
    for (int v : {INT_MAX, INT_MIN, -1, 0, 1000000}) {
        GraphPaperParams p = GraphPaperParams::defaults(false);
        p.hLineCount = v;
        p.vLineCount = v;
        p.countAcross = v;
        p.countDown = v;
        koyomi::test::runWithWatchdog("counts far out of range", [&] { Drawn a(p, 320, 200); });
        p = GraphPaperParams::defaults(false);
        p.hLineSpacing = v;
        p.vLineSpacing = v;
        p.gapAcross = v;
        p.topSide.width = v;
        p.innerVLines.width = v;
        p.emphasis[HEmphasis1] = EmphasisRow{true, v, LineSetting{1, v, 3}};
        p.numberingOn = true;
        p.numberSize = v;
        p.numberText = "1,2,3";
        p.risingDiagonals = LineSetting{1, 2, 3};
        koyomi::test::runWithWatchdog("spacings far out of range", [&] { Drawn b(p, 320, 200); });
        p = GraphPaperParams::defaults(false);
        p.hLineSpacing = 0; // every horizontal line in one place
        p.hLineCount = v;
        p.emphasis[HEmphasis1] = EmphasisRow{true, 2, LineSetting{0, 1, kRedIndex}};
        koyomi::test::runWithWatchdog("coinciding lines", [&] { Drawn c(p, 320, 200); });
        // Diagonals of every drawn kind at the typed width (a width of 0 once never ended).
        for (int kind = 0; kind < 5; ++kind) {
            p = GraphPaperParams::defaults(false);
            p.risingDiagonals = LineSetting{kind, v, kRedIndex};
            p.fallingDiagonals = LineSetting{kind, v, 9};
            koyomi::test::runWithWatchdog("diagonals far out of range",
                                          [&] { Drawn d(p, 320, 200); });
        }
    }
}

TEST(GraphPaper, DiagonalsOfWidthZeroOrBelowDrawAsWidthOne)
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.risingDiagonals = LineSetting{1, 1, kRedIndex};
    p.fallingDiagonals = LineSetting{2, 1, 9};
    const Drawn one(p, 640, 480);
    EXPECT_GT(countColor(one.canvas, kRed), 0);
    for (int width : {0, -3}) {
        p.risingDiagonals.width = width;
        p.fallingDiagonals.width = width;
        const Drawn other(p, 640, 480);
        EXPECT_EQ(other.canvas.image(), one.canvas.image()) << width;
    }
}

TEST(Visible, CoincidingLinesKeepTheLastLineOfEachStyleInOrder)
{
    // Styles by k: 0 for odd k, 1 for even k, 2 for multiples of 5.
    auto style = [](i64 k) { return k % 5 == 0 ? 2 : int(k % 2 == 0); };
    EXPECT_EQ(visibleSteps(10, 0, 1, 12, 0, 20, style), (std::vector<i64>{10, 11, 12}));
    EXPECT_EQ(visibleSteps(10, 0, 1, 12, 11, 20, style), std::vector<i64>{});
    EXPECT_EQ(visibleSteps(0, 7, 1, 100, 10, 30, style), (std::vector<i64>{2, 3, 4}));
    EXPECT_EQ(visibleSteps(0, -7, 1, 100, -30, -10, style), (std::vector<i64>{2, 3, 4}));

    // A far start moves by whole pattern periods: the dashes land where they would have.
    Canvas a(100, 3), b(100, 3);
    a.setPenColor(kWhite);
    b.setPenColor(kWhite);
    a.setPenStyle(PenStyle::DashDotDot);
    b.setPenStyle(PenStyle::DashDotDot);
    drawClippedLine(a, -1'000'000'007LL, 1, 5'000'000'000LL, 1);
    b.moveTo(-1'000'007, 1);
    b.lineTo(200, 1);
    EXPECT_EQ(a.image(), b.image());
}

// More than 256 cells' diagonals are painted from a stamp of one cell's; 256 and fewer are
// stroked. At the edge, for both directions, every line kind and widths up to five, blocks
// over each other cut by the window: the picture of stroking every diagonal.
TEST(GraphPaper, DiagonalsPaintedFromAStampAtTheirEdgeGiveThePictureOfEveryStroke)
{
    int n = 0;
    for (const int lines : {17, 18}) {
        for (int kind = 0; kind <= 4; ++kind) {
            for (const int width : {0, 1, 3, 5}) {
                GraphPaperParams p = GraphPaperParams::defaults(n % 2 == 0);
                p.hLineCount = 17; // 16 rows of cells
                p.vLineCount = lines;
                p.hLineSpacing = 3 + n % 3;
                p.vLineSpacing = 3 + n % 2;
                p.countAcross = 2;
                p.gapAcross = -30;
                p.risingDiagonals = LineSetting{kind, width, 3};
                p.fallingDiagonals = LineSetting{(kind + 2) % 5, 6 - width, 5};
                // Every cell inside the window, then the blocks cut by its right edge.
                for (const int frameWidth : {120, 170}) {
                    const Frame frame{frameWidth, 90, n % 2 == 0};
                    Canvas painted(120, 90);
                    Canvas stroked(120, 90);
                    drawGraphPaper(painted, p, frame);
                    drawGraphPaperBlockByBlock(stroked, p, frame);
                    ASSERT_TRUE(painted.image() == stroked.image())
                        << lines << " lines, kind " << kind << ", width " << width << ", frame "
                        << frameWidth;
                }
                ++n;
            }
        }
    }
}
