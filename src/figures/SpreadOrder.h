#pragma once

#include <cstdint>

namespace koyomi::figures {

// 0 … count − 1 in the order n = 0 … end() − 1, spread out (or else in turn): the n-th is n
// with its bits reversed in as many bits as count needs, so each next one falls halfway
// between two taken; end() is the next power of two, and at(n) is −1 past count.
class SpreadOrder
{
public:
    SpreadOrder(std::int64_t count, bool spread) : m_count(count), m_spread(spread)
    {
        while ((std::int64_t(1) << m_bits) < count) {
            ++m_bits;
        }
    }
    std::int64_t end() const { return m_count > 0 ? std::int64_t(1) << m_bits : 0; }
    std::int64_t at(std::int64_t n) const
    {
        std::int64_t k = n;
        if (m_spread) {
            k = 0;
            for (int b = 0; b < m_bits; ++b) {
                k |= ((n >> b) & 1) << (m_bits - 1 - b);
            }
        }
        return k < m_count ? k : -1;
    }

private:
    std::int64_t m_count;
    bool m_spread;
    int m_bits = 0;
};

} // namespace koyomi::figures
