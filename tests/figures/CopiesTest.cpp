#include "figures/Copies.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <random>

using namespace koyomi::figures;
using namespace koyomi::render;

namespace {

// One copy: thin lines and a dashed ellipse reaching 300 pixels, which leave pixels between
// them open however many copies lie over each other, filled boxes and a label. Its first line
// takes the pen colour the canvas has; every copy leaves the pen red, so the copies are alike
// after the first.
void drawOne(Canvas& c, long long x, long long y)
{
    const int cx = int(x);
    const int cy = int(y);
    c.moveTo(cx - 290, cy - 3);
    c.lineTo(cx + 290, cy + 4);
    c.setPenColor(PaletteColor[kRedIndex].color);
    c.moveTo(cx + 100, cy - 290);
    c.lineTo(cx + 97, cy + 299);
    c.setPenStyle(PenStyle::Dash);
    c.setBrushClear(true);
    c.ellipse(cx - 250, cy - 100, cx + 250, cy + 100);
    c.setPenStyle(PenStyle::Solid);
    // Boxes are filled, not outlined: the painter draws an outline cut by the window's edge
    // a pixel short at its far corner, which a copy drawn whole does not show.
    c.fillRect(cx - 20, cy - 10, cx + 21, cy + 11, PaletteColor[3].color);
    c.setFontColor(kWhite);
    c.textOut(cx - 4, cy - 6, "7");
    // Narrow bars above and below in colours of their own: where copies far apart down
    // overlap, which comes last shows.
    c.fillRect(cx - 30, cy - 299, cx - 26, cy - 60, PaletteColor[4].color);
    c.fillRect(cx + 10, cy + 60, cx + 14, cy + 299, PaletteColor[5].color);
}

constexpr CopyReach kReach{-300, -300, 300, 300};

void drawPicture(Canvas& c, int w, int h)
{
    c.setPenColor(PaletteColor[2].color);
    for (int x = 0; x < w; x += 3) {
        c.moveTo(x, 0);
        c.lineTo(x, h);
    }
    c.setPenColor(kWhite);
}

} // namespace

TEST(CopiesOfAFigure, CopiesDrawnOnceAndPastedGiveThePictureOfDrawingEachInOrder)
{
    // Copies a few pixels apart over each other (drawn from the last back, the window decided
    // by the last few or pasted from one copy under them), rows or columns of copies far
    // apart (a band of the window each, or a strip of the copy each), and grids of both, on
    // windows of every size.
    std::mt19937 rng(11);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 150; ++n) {
        CopyGrid g;
        const int kind = n % 5;
        // Rows far apart on a low window, columns far apart (and side by side, never over each
        // other) on a narrow one, columns over each other but each showing a narrow window a
        // strip of its own, or copies a few pixels apart.
        const int w = kind == 2 ? pick(13, 36) : kind == 4 ? pick(1, 40) : pick(1, 90);
        const int h = kind == 1 ? pick(1, 30) : pick(1, 70);
        const int sign = pick(0, 1) ? 1 : -1;
        g.stepX = kind == 2   ? pick(601, 589 + w)
                  : kind == 4 ? sign * pick(2 * w, 2 * w + 150)
                              : pick(-6, 50);
        g.stepY = kind == 1 ? sign * pick(100, 590) : pick(-6, 50);
        // Two columns far apart reach a narrow window only from either side of it.
        g.x0 = kind == 2 ? pick(-300, -290) : pick(-80, 80);
        g.y0 = pick(-80, 80);
        // The copies within reach of the window, as a figure passes them.
        g.cols =
            stepRange(g.x0, g.stepX, pick(-3, 0), pick(0, 30), -kReach.right, w - 1 - kReach.left);
        g.rows =
            stepRange(g.y0, g.stepY, pick(-3, 0), pick(0, 30), -kReach.bottom, h - 1 - kReach.top);
        // Copies cut to the window are drawn first only beside scratch images of millions of
        // pixels; here from four windows.
        const long long layersFrom = n % 8 < 4 ? 4LL * w * h : kLayersFromPixels;
        for (const CopiesAlike alike : {CopiesAlike::All, CopiesAlike::AfterTheFirst}) {
            Canvas copies(w, h, kBlack);
            Canvas each(w, h, kBlack);
            drawPicture(copies, w, h);
            drawPicture(each, w, h);
            if (alike == CopiesAlike::All) {
                // Every copy then starts red, as the first would leave it.
                copies.setPenColor(PaletteColor[kRedIndex].color);
                each.setPenColor(PaletteColor[kRedIndex].color);
            }
            drawCopies(copies, g, kReach, alike, drawOne, layersFrom);
            for (long long j = g.rows.first; j <= g.rows.last; ++j) {
                for (long long i = g.cols.first; i <= g.cols.last; ++i) {
                    drawOne(each, g.x0 + i * g.stepX, g.y0 + j * g.stepY);
                }
            }
            ASSERT_EQ(copies.image(), each.image())
                << "case " << n << (alike == CopiesAlike::All ? " (all alike)" : "") << ": steps "
                << g.stepX << ", " << g.stepY << " columns " << g.cols.first << ".." << g.cols.last
                << " rows " << g.rows.first << ".." << g.rows.last << " window " << w << " × " << h;
            EXPECT_EQ(copies.pen(), each.pen()) << "case " << n;
        }
    }
}

// Copies `step` pixels apart both ways, from −1000 to 1000, those whose reach meets a canvas
// w × h.
static CopyGrid gridOver(long long step, const CopyReach& reach, int w, int h)
{
    CopyGrid g;
    g.stepX = step;
    g.stepY = step;
    g.cols = stepRange(g.x0, g.stepX, -1000, 1000, -reach.right, w - 1 - reach.left);
    g.rows = stepRange(g.y0, g.stepY, -1000, 1000, -reach.bottom, h - 1 - reach.top);
    return g;
}

// Every copy of the grid drawn in order, rows outer: the picture drawCopies must give.
template <class Draw> static void drawEachInOrder(Canvas& canvas, const CopyGrid& g, Draw draw)
{
    for (long long j = g.rows.first; j <= g.rows.last; ++j) {
        for (long long i = g.cols.first; i <= g.cols.last; ++i) {
            draw(canvas, g.x0 + i * g.stepX, g.y0 + j * g.stepY);
        }
    }
}

TEST(CopiesOfAFigure, CopiesThatPaintNothingOnTheWindowDoNotUseUpTheLayers)
{
    // Squares 25 pixels wide, 20 pixels apart, reaching 300 pixels as far as the grid knows
    // (as a circle's labels may reach where its ink does not). Drawn from the last back, the
    // last 12 rows of copies paint nothing on the window; the rows after them decide every
    // pixel, with no scratch image of the whole reach drawn at all.
    constexpr CopyReach reach{-300, -300, 300, 300};
    constexpr int w = 40, h = 30;
    const CopyGrid g = gridOver(20, reach, w, h);
    long long drawnLarger = 0;
    auto square = [&](Canvas& c, long long x, long long y) {
        drawnLarger += c.width() > w || c.height() > h;
        // A smaller square of another colour on top: which copy comes last shows.
        c.fillRect(int(x) - 12, int(y) - 12, int(x) + 13, int(y) + 13, PaletteColor[3].color);
        c.fillRect(int(x) - 2, int(y) - 2, int(x) + 3, int(y) + 3, PaletteColor[kRedIndex].color);
    };
    Canvas copies(w, h, kBlack);
    drawCopies(copies, g, reach, CopiesAlike::All, square, 4LL * w * h);
    Canvas each(w, h, kBlack);
    drawEachInOrder(each, g, square);
    EXPECT_EQ(copies.image(), each.image());
    EXPECT_EQ(drawnLarger, 0);
}

TEST(CopiesOfAFigure, CopiesTooLargeToKeepAreDecidedFromTheLastBack)
{
    // Squares nearly 6,000 pixels wide, 7 pixels apart, each with a small square of another
    // colour at its middle: a drawing of one is larger than a scratch image may be. Drawn
    // cut to the window from the last back, the last rows that reach it decide every pixel,
    // and the hundreds of thousands of copies before them are not drawn.
    constexpr CopyReach reach{-3000, -3000, 3000, 3000};
    constexpr int w = 40, h = 30;
    const CopyGrid g = gridOver(7, reach, w, h);
    long long drawn = 0;
    auto square = [&](Canvas& c, long long x, long long y) {
        ++drawn;
        c.fillRect(int(x) - 2990, int(y) - 2990, int(x) + 2991, int(y) + 2991,
                   PaletteColor[3].color);
        c.fillRect(int(x) - 2, int(y) - 2, int(x) + 3, int(y) + 3, PaletteColor[kRedIndex].color);
    };
    Canvas copies(w, h, kBlack);
    drawCopies(copies, g, reach, CopiesAlike::All, square);
    const long long drawnCopies = drawn;
    Canvas each(w, h, kBlack);
    drawEachInOrder(each, g, square);
    EXPECT_EQ(copies.image(), each.image());
    EXPECT_GT(drawn - drawnCopies, 700'000);
    EXPECT_LT(drawnCopies, 20'000);
}

TEST(CopiesOfAFigure, CopiesPastedUnderTheLayersAreDrawnOnlyForTheRowsTheyReach)
{
    // Copies 20 pixels apart reaching 1,000 pixels: a dot at the far top left of each, which
    // decides a few pixels of the window from the last copies back and then nothing, so that
    // drawing them on layers is given up; and a square of 600 pixels at the middle, with a
    // smaller one of another colour on it, which decides every pixel once the copies pasted
    // from the last back come within reach. A drawing of the whole reach is 2,001 rows; the
    // copies that decide the window need the rows of a few hundred.
    constexpr CopyReach reach{-1000, -1000, 1000, 1000};
    constexpr int w = 40, h = 30;
    const CopyGrid g = gridOver(20, reach, w, h);
    long long rowsDrawn = 0;
    auto copy = [&](Canvas& c, long long x, long long y) {
        if (c.height() > h) {
            rowsDrawn += c.height();
        }
        const int cx = int(x), cy = int(y);
        c.fillRect(cx - 990, cy - 990, cx - 989, cy - 989, PaletteColor[5].color);
        c.fillRect(cx - 300, cy - 300, cx + 301, cy + 301, PaletteColor[3].color);
        c.fillRect(cx - 7, cy - 7, cx + 8, cy + 8, PaletteColor[kRedIndex].color);
    };
    Canvas copies(w, h, kBlack);
    drawCopies(copies, g, reach, CopiesAlike::All, copy);
    Canvas each(w, h, kBlack);
    drawEachInOrder(each, g, copy);
    EXPECT_EQ(copies.image(), each.image());
    EXPECT_GT(rowsDrawn, 0); // pasted from a drawing of some rows, not drawn copy by copy
    EXPECT_LT(rowsDrawn, 1000);
}

// Copies alike only after the first, too large to keep a drawing of: the first takes the pen
// colour set before any copy (green), and every copy leaves red for the next. Each copy is a
// dot at its point and the frame of a square 11,981 pixels wide around it, in the pen's
// colour; the points are 7 apart from (5, 5), 861 each way. On a 40 × 30 window: the first
// copy's dot at (5, 5) is green; the dots of the others that fall on it are red; the frames
// that cross it (of the copies 855 to 860 along, whose left sides stand at 0, 7, … 35, and
// likewise down) are red; every other pixel is black, painted by no copy.
TEST(CopiesOfAFigure, TheFirstCopyKeepsItsOwnColourAmongCopiesTooLargeToKeep)
{
    constexpr int half = 5990;
    constexpr CopyReach reach = CopyReach{-half, -half, half, half};
    constexpr int w = 40, h = 30;
    const CopyGrid g{5, 5, 7, 7, Range{0, 860}, Range{0, 860}};
    const ColorRef green = PaletteColor[5].color;
    const ColorRef red = PaletteColor[kRedIndex].color;
    auto copy = [&](Canvas& c, long long x, long long y) {
        const int cx = int(x), cy = int(y);
        const ColorRef color = c.pen().color;
        c.fillRect(cx - half, cy - half, cx - half + 1, cy + half + 1, color);
        c.fillRect(cx + half, cy - half, cx + half + 1, cy + half + 1, color);
        c.fillRect(cx - half, cy - half, cx + half + 1, cy - half + 1, color);
        c.fillRect(cx - half, cy + half, cx + half + 1, cy + half + 1, color);
        c.fillRect(cx, cy, cx + 1, cy + 1, color);
        c.setPenColor(red);
    };
    Canvas copies(w, h, kBlack);
    copies.setPenColor(green);
    drawCopies(copies, g, reach, CopiesAlike::AfterTheFirst, copy);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool frame = x % 7 == 0 || y % 7 == 0;
            const bool dot = x % 7 == 5 && y % 7 == 5;
            const ColorRef expected = frame ? red : !dot ? kBlack : x == 5 && y == 5 ? green : red;
            ASSERT_EQ(copies.pixel(x, y), expected) << x << "," << y;
        }
    }
}
