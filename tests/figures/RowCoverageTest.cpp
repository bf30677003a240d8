// One canvas row's cover against the plain marking of every pixel, across the ways the cover
// takes its shortcuts: runs marked straight in until their lengths add up to the row and as
// differences after that, a first pattern laid over what a cleared row still holds, and a
// clear that leaves its bytes to the next write.
#include "figures/RowCoverage.h"

#include "render/Canvas.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <stdexcept>
#include <string>

using namespace koyomi::figures;

namespace {

// The plain row: one byte per pixel, each operation marking what it covers.
struct PlainRow
{
    std::vector<std::uint8_t> mask;
    explicit PlainRow(i64 width) : mask(std::size_t(width), 0) {}
    void addRun(i64 from, i64 to)
    {
        for (i64 x = std::max<i64>(from, 0); x < std::min<i64>(to, i64(mask.size())); ++x) {
            mask[std::size_t(x)] = 1;
        }
    }
    void addPattern(i64 from, i64 to, i64 origin, const std::vector<std::uint8_t>& pattern)
    {
        const i64 n = i64(pattern.size());
        for (i64 x = std::max<i64>(from, 0); x < std::min<i64>(to, i64(mask.size())); ++x) {
            mask[std::size_t(x)] |= pattern[std::size_t(((x - origin) % n + n) % n)];
        }
    }
    void addBits(const std::vector<i64>& xs)
    {
        for (i64 x : xs) {
            if (x >= 0 && x < i64(mask.size())) {
                mask[std::size_t(x)] = 1;
            }
        }
    }
};

std::vector<std::uint8_t> covered(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> flags;
    for (std::uint8_t b : bytes) {
        flags.push_back(b != 0);
    }
    return flags;
}

} // namespace

TEST(RowCoverage, RunsAtTheEdgeOfTheRowsLengthMarkWhatThePlainRowMarks)
{
    // 40 pixels: runs adding up to 40 exactly are marked straight in; the 41st pixel's run
    // goes to the differences, overlapping what was marked.
    RowCover row(40);
    PlainRow plain(40);
    for (auto [from, to] : {std::pair{0, 10}, {5, 25}, {30, 35}, {-5, 0}, {20, 21}, {8, 30}}) {
        row.addRun(from, to);
        plain.addRun(from, to);
    }
    EXPECT_EQ(covered(row.finish()), plain.mask);
    // A run reaching past both ends is cut to the row.
    row.clear();
    PlainRow again(40);
    row.addRun(-100, 100);
    again.addRun(-100, 100);
    EXPECT_EQ(covered(row.finish()), again.mask);
}

TEST(RowCoverage, RandomRowsAfterClearsGiveThePlainCover)
{
    std::mt19937 rng(11);
    for (int trial = 0; trial < 400; ++trial) {
        const i64 width = 1 + rng() % 300;
        RowCover row(width);
        for (int line = 0; line < 4; ++line) {
            PlainRow plain(width);
            const int operations = int(rng() % 6);
            for (int k = 0; k < operations; ++k) {
                const i64 a = i64(rng() % (width + 40)) - 20;
                const i64 b = a + i64(rng() % (width + 1));
                switch (rng() % 3) {
                case 0:
                    row.addRun(a, b);
                    plain.addRun(a, b);
                    break;
                case 1: {
                    std::vector<std::uint8_t> pattern(1 + rng() % 9);
                    for (auto& p : pattern) {
                        p = std::uint8_t(rng() % 2);
                    }
                    // Now and then over the whole row, where the first one is laid straight in.
                    const bool whole = rng() % 2;
                    const i64 from = whole ? 0 : a;
                    const i64 to = whole ? width : b;
                    const i64 origin = i64(rng() % 50) - 25;
                    row.addPattern(from, to, origin, pattern);
                    plain.addPattern(from, to, origin, pattern);
                    break;
                }
                default: {
                    BitRow bits(width, 64);
                    std::vector<i64> xs;
                    for (int n = 0; n < 5; ++n) {
                        xs.push_back(i64(rng() % (width + 20)) - 10);
                        bits.set(xs.back());
                    }
                    row.addBits(bits);
                    plain.addBits(xs);
                    break;
                }
                }
            }
            SCOPED_TRACE(::testing::Message() << "trial " << trial << " line " << line);
            const std::vector<std::uint8_t> mask = covered(row.finish());
            EXPECT_EQ(mask, plain.mask);
            // Only the extent is painted: nothing may be marked outside it.
            const auto [lo, hi] = row.extent();
            for (i64 x = 0; x < width; ++x) {
                if (x < lo || x >= hi) {
                    ASSERT_EQ(mask[std::size_t(x)], 0) << x << " outside " << lo << ".." << hi;
                }
            }
            row.clear();
        }
    }
}

// Runs joined into the few their union has, by sorting a few of them and by adding up many
// over their extent (the two ways meet at 32 runs, and where eight times the runs pass the
// extent), also where every run reaches one pixel, touches the others there, or stops a
// pixel short of them (every other trial): the same pixels as the runs marked one by one.
TEST(RowCoverage, RunsJoinedCoverWhatTheRunsCover)
{
    std::mt19937 rng(5);
    RunUnion unions;
    for (int trial = 0; trial < 1200; ++trial) {
        const i64 extent = 1 + rng() % 400;
        const std::size_t count = std::size_t(rng() % 3 == 0 ? 30 + rng() % 5 : rng() % 200);
        const bool aboutOne = trial % 2 == 1 && extent > 2;
        const i64 pixel = 1 + i64(rng() % std::uint32_t(std::max<i64>(extent - 2, 1)));
        std::vector<koyomi::figures::Run> runs;
        PlainRow plain(extent);
        for (std::size_t k = 0; k < count; ++k) {
            i64 a = i64(rng() % std::uint32_t(extent));
            i64 b = std::min<i64>(extent, a + 1 + i64(rng() % 12));
            if (aboutOne && trial % 4 == 1) {
                // Every run over the pixel.
                a = std::max<i64>(0, pixel - i64(rng() % 9));
                b = std::min<i64>(extent, pixel + 1 + i64(rng() % 9));
            } else if (aboutOne) {
                // Runs ending at the pixel and runs starting at it, or a pixel past it: one run,
                // or two a pixel apart.
                const i64 gap = trial % 8 == 3 ? 0 : 1;
                if (k % 2 == 0 || pixel + gap >= extent) {
                    a = std::max<i64>(0, pixel - 1 - i64(rng() % 9));
                    b = pixel;
                } else {
                    a = pixel + gap;
                    b = std::min<i64>(extent, a + 1 + i64(rng() % 9));
                }
            }
            runs.push_back(koyomi::figures::Run{std::int32_t(a), std::int32_t(b)});
            plain.addRun(a, b);
        }
        unions.merge(runs, 0, extent);
        PlainRow joined(extent);
        for (std::size_t k = 0; k < runs.size(); ++k) {
            joined.addRun(runs[k].from, runs[k].to);
            ASSERT_LT(runs[k].from, runs[k].to);
            if (k > 0) {
                ASSERT_GT(runs[k].from, runs[k - 1].to) << "joined runs neither touch nor overlap";
            }
        }
        ASSERT_EQ(joined.mask, plain.mask) << "trial " << trial << ", " << count << " runs";
    }
}

namespace {

// A stamp of random runs around its point, rows from `top` on.
Stamp randomStamp(std::mt19937& rng, i64 top, i64 rows, i64 reach)
{
    Stamp stamp;
    stamp.top = top;
    for (i64 r = 0; r < rows; ++r) {
        std::vector<Run> row;
        i64 x = -reach + i64(rng() % 4);
        while (x < reach && rng() % 4 != 0) {
            const i64 to = std::min(reach, x + 1 + i64(rng() % 6));
            row.push_back(Run{std::int32_t(x), std::int32_t(to)});
            x = to + 1 + i64(rng() % 5);
        }
        stamp.rows.push_back(row);
    }
    return stamp;
}

std::vector<QRgb> pixelsOf(const koyomi::render::Canvas& c)
{
    std::vector<QRgb> out;
    const QImage& image = c.image();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        out.insert(out.end(), row, row + image.width());
    }
    return out;
}

} // namespace

// One stamp at every place of a lattice, or at any places, covered row by row: the same pixels
// as the stamp painted at each place in turn, for lattices of one row and one column, steps
// below the stamp's width and of zero, places over the canvas's edges and far beyond them.
TEST(RowCoverage, StampsCoveredRowByRowPaintWhatEachStampPaints)
{
    using koyomi::render::Canvas;
    std::mt19937 rng(17);
    const koyomi::render::ColorRef ink = 0x3366CC;
    for (int trial = 0; trial < 300; ++trial) {
        const i64 reach = 1 + rng() % 12;
        Stamp stamp = randomStamp(rng, -i64(rng() % 8), 1 + rng() % 16, reach);
        // Rows repeated down the stamp, as a tick's are, now and then.
        for (std::size_t r = 1; trial % 2 == 0 && r < stamp.rows.size(); ++r) {
            if (rng() % 3 != 0) {
                stamp.rows[r] = stamp.rows[r - 1];
            }
        }
        // And the lattice at a few offsets across, overlapping or not.
        std::vector<i64> shifts;
        for (int n = trial % 3 == 0 ? 1 + int(rng() % 4) : 0; n > 0; --n) {
            shifts.push_back(i64(rng() % 25) - 12);
        }
        const int w = 20 + int(rng() % 60);
        const int h = 10 + int(rng() % 40);
        auto pick = [&](i64 size) {
            const i64 count = rng() % 5 == 0 ? 1 : 1 + i64(rng() % 40);
            const i64 step = count == 1 ? 0 : i64(rng() % 9) - 2;
            return Progression{i64(rng() % std::uint32_t(size + 40)) - 20, step, count};
        };
        const Progression xs = pick(w);
        const Progression ys = pick(h);
        SCOPED_TRACE(::testing::Message()
                     << "trial " << trial << ": x " << xs.origin << "+" << xs.step << "·"
                     << xs.count << ", y " << ys.origin << "+" << ys.step << "·" << ys.count);
        Canvas lattice(w, h, koyomi::render::kBlack);
        Canvas each(w, h, koyomi::render::kBlack);
        std::vector<Place> places;
        const std::vector<i64> atPlace = shifts.empty() ? std::vector<i64>{0} : shifts;
        for (i64 j = 0; j < ys.count; ++j) {
            for (i64 i = 0; i < xs.count; ++i) {
                for (const i64 shift : atPlace) {
                    places.push_back(
                        Place{xs.origin + i * xs.step + shift, ys.origin + j * ys.step});
                    paintStamp(each, stamp, places.back().x, places.back().y, ink);
                }
            }
        }
        paintStampLattice(lattice, stamp, xs, ys, ink, shifts);
        ASSERT_EQ(pixelsOf(lattice), pixelsOf(each)) << shifts.size() << " shifts";
        // A place a billion pixels away is left out, whatever its runs' offsets.
        places.push_back(Place{i64(1) << 31, 3});
        std::shuffle(places.begin(), places.end(), rng);
        Canvas anywhere(w, h, koyomi::render::kBlack);
        paintStampAt(anywhere, stamp, places, ink);
        ASSERT_EQ(pixelsOf(anywhere), pixelsOf(each));
    }
}

// A stamp of one run a row (a filled dot, now and then a row left empty) at places close
// together, apart, and a run's width apart: its runs on a canvas row joined without sorting
// them, where every run meets the one grown from the first, paint what each stamp paints.
TEST(RowCoverage, StampsOfOneRunARowAtAnyPlacesPaintWhatEachStampPaints)
{
    using koyomi::render::Canvas;
    std::mt19937 rng(29);
    const koyomi::render::ColorRef ink = 0x3366CC;
    for (int trial = 0; trial < 400; ++trial) {
        Stamp stamp;
        stamp.top = -i64(rng() % 10);
        const i64 width = 1 + i64(rng() % 12);
        for (i64 r = 0, rows = 1 + i64(rng() % 16); r < rows; ++r) {
            std::vector<koyomi::figures::Run> row;
            if (rng() % 8 != 0) {
                const i64 from = i64(rng() % 9) - 4;
                row.push_back(koyomi::figures::Run{std::int32_t(from),
                                                   std::int32_t(from + 1 + i64(rng() % width))});
            }
            stamp.rows.push_back(row);
        }
        const int w = 10 + int(rng() % 60);
        const int h = 5 + int(rng() % 30);
        // Places spread over a few pixels (runs overlapping), over the canvas (apart), or a
        // stamp's width apart along a row (runs touching or a pixel apart).
        std::vector<Place> places;
        const int kind = trial % 3;
        for (int n = 1 + int(rng() % 60); n > 0; --n) {
            const i64 x = kind == 0   ? w / 2 + i64(rng() % 7) - 3
                          : kind == 1 ? i64(rng() % std::uint32_t(w + 20)) - 10
                                      : i64(rng() % 8) * (width + i64(rng() % 2)) - 2;
            places.push_back(Place{x, i64(rng() % std::uint32_t(h + 20)) - 10});
        }
        Canvas each(w, h, koyomi::render::kBlack);
        for (const Place& p : places) {
            paintStamp(each, stamp, p.x, p.y, ink);
        }
        Canvas joined(w, h, koyomi::render::kBlack);
        paintStampAt(joined, stamp, places, ink);
        ASSERT_EQ(pixelsOf(joined), pixelsOf(each)) << "trial " << trial;
    }
}

// Sets of runs placed along one progression, covered by the shortcuts coverPlaced takes (runs
// one by one at every position, periods of residues with bounds near the ends, short runs at
// many positions spread as bits, and sets far apart each covered alone): the pixels of every
// run marked at every position.
TEST(RowCoverage, PlacedSetsCoverWhatEveryRunAtEveryPositionCovers)
{
    std::mt19937 rng(23);
    Residues residues;
    for (int trial = 0; trial < 1500; ++trial) {
        // Now and then far left of the window: a short set of many runs, spread as bits, with
        // longer sets whose positions run across the window. What was spread from the origin
        // at every position must reach the window from there.
        const bool farLeft = trial % 7 == 3;
        const i64 width = 1 + i64(rng() % 400);
        const i64 step = 1 + i64(rng() % (trial % 3 == 0 || farLeft ? 4 : 30));
        const i64 origin = farLeft ? -300 - i64(rng() % 3000) : i64(rng() % 600) - 300;
        const i64 reach = 1 + i64(rng() % (trial % 2 == 0 ? 40 : 300));
        const int setCount = farLeft ? 2 + int(rng() % 2) : 1 + int(rng() % 3);
        std::vector<std::vector<koyomi::figures::Run>> runs(static_cast<std::size_t>(setCount));
        std::vector<Placed> sets;
        for (int s = 0; s < setCount; ++s) {
            // Many short runs now and then: the arms of crosses at points a pixel or two apart.
            const int count =
                farLeft ? 50 + int(rng() % 150) : 1 + int(rng() % (trial % 4 == 0 ? 200 : 12));
            i64 lo = std::numeric_limits<i64>::max();
            i64 hi = std::numeric_limits<i64>::min();
            for (int k = 0; k < count; ++k) {
                const i64 from = i64(rng() % std::uint32_t(2 * reach)) - reach;
                const i64 to = from + 1 + i64(rng() % (rng() % 4 == 0 ? 3 * step : 3));
                runs[std::size_t(s)].push_back(
                    koyomi::figures::Run{std::int32_t(from), std::int32_t(to)});
                lo = std::min(lo, from);
                hi = std::max(hi, to);
            }
            // Now and then far apart along the step (a row of centres broken in two at x = 0),
            // too far for the residues of all sets together.
            const i64 shift = s == 0           ? 0
                              : trial % 5 == 2 ? i64(rng() % 3000) - 1500
                                               : i64(rng() % 50) - 25;
            const i64 last = farLeft ? (s == 0 ? i64(rng() % 10) : 100 + i64(rng() % 400))
                                     : i64(rng() % (trial % 4 == 0 ? 200 : 30));
            sets.push_back(Placed{&runs[std::size_t(s)], lo, hi, shift, last});
        }
        // Twice with the same runs at another origin, as the block columns of a grid: what
        // was spread for the first may serve the second.
        for (const i64 at : {origin, origin + i64(rng() % 40) - 20}) {
            PlainRow plain(width);
            for (const Placed& set : sets) {
                for (i64 k = 0; k <= set.last; ++k) {
                    for (const auto& r : *set.runs) {
                        plain.addRun(at + set.shift + k * step + r.from,
                                     at + set.shift + k * step + r.to);
                    }
                }
            }
            RowCover row(width);
            coverPlaced(row, at, step, sets, trial, width, residues);
            ASSERT_EQ(covered(row.finish()), plain.mask)
                << "trial " << trial << ": width " << width << " step " << step << " origin " << at
                << " sets " << setCount;
        }
    }
}

TEST(RowCoverage, KnownCoversKeepTheFirstRowsWorkedOut)
{
    // After 600 rows the first 512 are found as they were kept, and the later ones were not
    // kept.
    KnownCovers known;
    auto keyOf = [](int row) { return std::string("row ") + std::to_string(row); };
    auto maskOf = [](int row) {
        return std::vector<std::uint8_t>{std::uint8_t(row % 251), std::uint8_t(row / 251)};
    };
    for (int row = 0; row < 600; ++row) {
        ASSERT_EQ(known.find(keyOf(row)), nullptr);
        known.keep(keyOf(row), maskOf(row));
    }
    for (int row = 0; row < 600; ++row) {
        const std::vector<std::uint8_t>* found = known.find(keyOf(row));
        if (row >= 512) {
            EXPECT_EQ(found, nullptr) << row;
        } else {
            ASSERT_NE(found, nullptr) << row;
            EXPECT_EQ(*found, maskOf(row)) << row;
        }
    }
}

TEST(RowCoverage, AStampsRunsAreExactlyThePixelsItsDrawingPaints)
{
    // Rows read a word of pixels at a time: runs of one pixel, runs across the words' edges
    // and along whole words, runs that reach the end of what was written, rows of every
    // density, against the same drawing on a plain canvas.
    std::mt19937 rng(17);
    const int reach = 150;
    const int side = 2 * reach + 1;
    for (int trial = 0; trial < 12; ++trial) {
        const int per = 1 + int(rng() % 40); // pixels a run at most
        const int runs = 50 + int(rng() % 2000);
        const std::uint32_t seed = rng();
        auto drawing = [&](koyomi::render::Canvas& c, int x, int y) {
            std::mt19937 own(seed);
            for (int k = 0; k < runs; ++k) {
                const int from = int(own() % std::uint32_t(side)) - reach;
                const int row = int(own() % std::uint32_t(side)) - reach;
                const int length = 1 + int(own() % std::uint32_t(per));
                c.fillRect(x + from, y + row, std::min(x + from + length, x + reach + 1),
                           y + row + 1, koyomi::render::kWhite);
            }
        };
        const auto stamp = makeStamp(reach, drawing);
        koyomi::render::Canvas plain(side, side, koyomi::render::kBlack);
        drawing(plain, reach, reach);
        QImage fromStamp(side, side, QImage::Format_RGB32);
        fromStamp.fill(koyomi::render::toQRgb(koyomi::render::kBlack));
        for (std::size_t r = 0; r < stamp->rows.size(); ++r) {
            int before = INT_MIN;
            for (const koyomi::figures::Run& run : stamp->rows[r]) {
                ASSERT_LT(before, run.from) << "runs in order, apart";
                ASSERT_LT(run.from, run.to);
                before = run.to;
                for (int x = run.from; x < run.to; ++x) {
                    fromStamp.setPixel(x + reach, int(stamp->top + i64(r)) + reach,
                                       koyomi::render::toQRgb(koyomi::render::kWhite));
                }
            }
        }
        EXPECT_EQ(fromStamp, plain.image()) << "trial " << trial;
    }
}

TEST(RowCoverage, AStampHoldsWhatItsOwnDrawingPaintsWhateverWasDrawnBefore)
{
    // Stamps share one scratch image from one to the next: a large one, a small one after it,
    // one made while another is being drawn, and one after a drawing that failed half way.
    auto pixelsOf = [](const Stamp& stamp) {
        i64 n = 0;
        for (const auto& row : stamp.rows) {
            for (const koyomi::figures::Run& run : row) {
                n += run.to - run.from;
            }
        }
        return n;
    };
    auto dot = [](koyomi::render::Canvas& c, int x, int y) {
        c.setPixel(x, y, koyomi::render::kWhite);
    };
    const auto large = makeStamp(200, [](koyomi::render::Canvas& c, int x, int y) {
        c.fillRect(x - 150, y - 150, x + 150, y + 150, koyomi::render::kWhite);
    });
    EXPECT_EQ(pixelsOf(*large), 300 * 300);
    const auto small = makeStamp(5, dot);
    EXPECT_EQ(pixelsOf(*small), 1);
    EXPECT_EQ(small->top, 0);
    std::shared_ptr<const Stamp> inner;
    const auto outer = makeStamp(100, [&](koyomi::render::Canvas& c, int x, int y) {
        c.fillRect(x - 50, y, x + 50, y + 1, koyomi::render::kWhite);
        inner = makeStamp(20, dot);
        c.fillRect(x, y - 50, x + 1, y + 50, koyomi::render::kWhite);
    });
    EXPECT_EQ(pixelsOf(*outer), 100 + 100 - 1);
    EXPECT_EQ(pixelsOf(*inner), 1);
    EXPECT_THROW(makeStamp(100,
                           [](koyomi::render::Canvas& c, int x, int y) {
                               c.fillRect(x - 80, y - 80, x + 80, y + 80, koyomi::render::kWhite);
                               throw std::runtime_error("failed half way");
                           }),
                 std::runtime_error);
    // Two pixels far apart: whatever lies between them on the scratch image is read.
    const auto apart = makeStamp(100, [](koyomi::render::Canvas& c, int x, int y) {
        c.setPixel(x - 90, y - 90, koyomi::render::kWhite);
        c.setPixel(x + 90, y + 90, koyomi::render::kWhite);
    });
    EXPECT_EQ(pixelsOf(*apart), 2);
}
