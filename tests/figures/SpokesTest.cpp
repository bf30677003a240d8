// Rings of straight marks painted as one union against each mark stroked in turn: the
// annulus they are shown to cover is filled and each mark painted only where it leaves it.
#include "figures/Spokes.h"

#include "figures/RadialPoint.h"
#include "figures/Stroke.h"
#include "render/Canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace koyomi::figures;
using koyomi::render::Canvas;

namespace {

// The marks of a ring as the circle walks them: m divisions from a start of quarter turns,
// each from distance `from` to `to` along its direction.
std::vector<Spoke> ring(WidePoint centre, long long m, int quarters, long long from, long long to)
{
    std::vector<Spoke> spokes;
    for (long long h = 0; h < m; ++h) {
        const RadialDirection dir = radialDirection(4 * h + quarters * m, 4 * m);
        spokes.push_back(
            {radialPoint(centre.x, centre.y, from, dir), radialPoint(centre.x, centre.y, to, dir)});
    }
    return spokes;
}

bool sameImage(const Canvas& a, const Canvas& b)
{
    return a.image() == b.image();
}

} // namespace

TEST(Spokes, ARingPaintedAsOneUnionIsThePictureOfStrokingEachMark)
{
    // Rings outward, inward and across their circle, of every width, from a few marks far
    // apart to thousands closer than their width; a third of them with about as many marks as
    // just cover the circle at their outer end, where the shown annulus begins to reach it.
    std::mt19937 rng(7);
    auto between = [&](long long from, long long to) {
        return from + (long long)(rng() % std::uint64_t(to - from + 1));
    };
    int filled = 0;
    int reachingTheEnds = 0;
    int united = 0;
    const int trials = 100;
    for (int trial = 0; trial < trials; ++trial) {
        // Marks from a few pixels long to a few hundred: the short ones are stroked one by one.
        const long long r = between(0, 160);
        const long long s = trial % 4 == 0 ? between(1, 130) : between(130, 220);
        const int shape = trial % 3;
        const long long from = shape == 2 ? r + s : r;
        const long long to = shape == 0 ? r + s : r - s;
        LineSetting line;
        line.kind = 0;
        line.width = int(between(1, 12));
        const long long far = std::max(std::abs(from), std::abs(to));
        long long m = 0;
        if (trial % 3 == 0) {
            // About as many as cover the circle of radius `far` with strokes of their width.
            const double cover = 2 * std::numbers::pi * double(far) / line.width;
            m = std::max(1LL, (long long)(cover * (0.5 + double(rng() % 1000) / 500)));
        } else {
            m = (long long)std::exp(double(between(0, 900)) / 100); // 1 to 8000
        }
        // One ring in eight crosses the canvas's edge.
        const int size = int(2 * far + 2 * line.width + 12) / (trial % 8 == 0 ? 2 : 1);
        const WidePoint centre{size / 2, size / 2};
        const std::vector<Spoke> spokes = ring(centre, m, int(trial % 4), from, to);
        Canvas plain(size, size, koyomi::render::kBlack);
        Canvas together(size, size, koyomi::render::kBlack);
        const koyomi::render::ColorRef color = 0x30A0E0;
        for (const Spoke& spoke : spokes) {
            strokeBetween(plain, spoke.a, spoke.b, line, color);
        }
        united += paintSpokes(together, centre, spokes, line, color) ? 1 : 0;
        ASSERT_TRUE(sameImage(plain, together))
            << "trial " << trial << ": " << m << " marks from " << from << " to " << to
            << ", width " << line.width << ", canvas " << size;
        if (const auto a = solidAnnulus(centre, spokes, line.width);
            a && a->outer - a->inner > 10 && trial % 8 != 0) {
            ++filled;
            reachingTheEnds += a->outer > double(far) - 2 ? 1 : 0;
        }
    }
    // The union is taken often enough to be tried, out to the marks' ends on most rings.
    EXPECT_GT(filled, trials / 4);
    EXPECT_GT(reachingTheEnds, filled / 2);
    EXPECT_GT(united, trials / 5);
}

TEST(Spokes, AShownAnnulusHoldsOnlyPixelsTheMarksPaint)
{
    // The claim itself, on rings of marks across their circle whose ends are rounded every
    // way: each pixel whose middle lies in the annulus is painted by some mark, and a ring
    // of thousands of marks closer than their width is shown solid out to nearly its end.
    std::mt19937 rng(11);
    for (int trial = 0; trial < 12; ++trial) {
        const long long r = 20 + static_cast<long long>(rng() % 100);
        const long long s = 100 + static_cast<long long>(rng() % 100);
        LineSetting line;
        line.kind = 0;
        line.width = 2 + int(rng() % 6);
        const long long m = 8 * (r + s) + static_cast<long long>(rng() % 2000);
        const int size = int(2 * (r + s) + 40);
        const WidePoint centre{size / 2, size / 2};
        const std::vector<Spoke> spokes = ring(centre, m, int(trial % 4), r + s, r - s);
        Canvas plain(size, size, koyomi::render::kBlack);
        for (const Spoke& spoke : spokes) {
            strokeBetween(plain, spoke.a, spoke.b, line, 0xFFFFFF);
        }
        const auto a = solidAnnulus(centre, spokes, line.width);
        ASSERT_TRUE(a.has_value()) << trial;
        EXPECT_GT(a->outer, double(r + s) - 2) << trial;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double d = std::hypot(double(x - centre.x), double(y - centre.y));
                if (d >= a->inner && d <= a->outer) {
                    ASSERT_EQ(plain.pixel(x, y), koyomi::render::kWhite)
                        << trial << " at " << x << "," << y << ", " << d << " from the centre";
                }
            }
        }
    }
}

TEST(Spokes, ThePainterPaintsEveryPixelTheStrokesAreCountedOn)
{
    // What the union is built on, against the painter itself: a solid stroke two pixels wide
    // or more, with flat ends, paints each pixel whose middle lies an eighth of a pixel inside
    // its rectangle.
    std::mt19937 rng(13);
    for (int trial = 0; trial < 300; ++trial) {
        const int size = 160;
        auto at = [&] { return 20 + static_cast<long long>(rng() % std::uint32_t(size - 40)); };
        const WidePoint a{at(), at()};
        const WidePoint b{at(), at()};
        if (a == b) {
            continue;
        }
        LineSetting line;
        line.kind = 0;
        line.width = 2 + int(rng() % 8);
        Canvas c(size, size, koyomi::render::kBlack);
        strokeBetween(c, a, b, line, 0xFFFFFF);
        const double dx = double(b.x - a.x);
        const double dy = double(b.y - a.y);
        const double length = std::hypot(dx, dy);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double px = x + 0.5 - double(a.x);
                const double py = y + 0.5 - double(a.y);
                const double along = (px * dx + py * dy) / length;
                const double across = (dx * py - dy * px) / length;
                const bool counted = std::abs(across) <= line.width / 2.0 - 0.125 &&
                                     along >= 0.125 && along <= length - 0.125;
                if (counted) {
                    ASSERT_EQ(c.pixel(x, y), koyomi::render::kWhite)
                        << "trial " << trial << ", width " << line.width << ", (" << a.x << ","
                        << a.y << ") to (" << b.x << "," << b.y << ") at " << x << "," << y;
                }
            }
        }
    }
}
