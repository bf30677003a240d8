// One canvas row's cover against the plain marking of every pixel, across the ways the cover
// takes its shortcuts: runs marked straight in until their lengths add up to the row and as
// differences after that, a first pattern laid over what a cleared row still holds, and a
// clear that leaves its bytes to the next write.
#include "figures/RowCoverage.h"

#include <gtest/gtest.h>

#include <random>

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
            EXPECT_EQ(covered(row.finish()), plain.mask);
            row.clear();
        }
    }
}
