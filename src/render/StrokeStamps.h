#pragma once

#include "render/PixelRuns.h"

#include <QPoint>

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace koyomi::render {

// The pixels a short straight stroke covers, as runs relative to its start. Strokes are
// drawn without antialiasing between whole-pixel points, so a stroke of one pen, direction
// and length covers the same pixels wherever it is drawn.
struct StrokeStamp
{
    enum class State
    {
        Seen, // drawn once by the painter; the second drawing makes the stamp
        Usable,
        Unusable, // partly covered pixels: always drawn by the painter
    };
    std::vector<PixelRun> runs;
    State state = State::Seen;
};

// Stamps of the strokes drawn on any canvas of a thread. A ring of thousands of dashed marks
// draws its dashes in a few hundred directions and lengths; a painter call for each dash cost
// several times what painting its few dozen pixels costs. A stroke drawn only once (a solid
// mark of its own length) costs the painter and one look-up.
class StrokeStamps
{
public:
    // The stroke's key: its end relative to its start (each within ±2^15), its width (below
    // 2^15) and whether its ends are flat.
    static std::uint64_t key(QPoint d, int width, bool flatEnds)
    {
        return (std::uint64_t(std::uint16_t(d.x())) << 32) |
               (std::uint64_t(std::uint16_t(d.y())) << 16) | (std::uint64_t(width) << 1) |
               std::uint64_t(flatEnds);
    }

    // The entry of the stroke, or nullptr when it is new: it is then noted as seen.
    StrokeStamp* seen(std::uint64_t key)
    {
        if (const auto it = m_stamps.find(key); it != m_stamps.end()) {
            return &it->second;
        }
        // Bounded memory: past the limit the stamps start again from none.
        if (m_runs > kMaxRuns || m_stamps.size() >= kMaxStamps) {
            m_stamps.clear();
            m_runs = 0;
            ++m_generation;
        }
        m_stamps.emplace(key, StrokeStamp{});
        return nullptr;
    }

    // The stamp of the stroke when it can be painted from, or nullptr.
    const StrokeStamp* usable(std::uint64_t key) const
    {
        const auto it = m_stamps.find(key);
        return it != m_stamps.end() && it->second.state == StrokeStamp::State::Usable ? &it->second
                                                                                      : nullptr;
    }

    // Changes whenever the stamps start again from none, which ends every pointer to them.
    std::uint64_t generation() const { return m_generation; }

    void settle(StrokeStamp& stamp, StrokeStamp made)
    {
        m_runs += made.runs.size();
        stamp = std::move(made);
    }

private:
    // 24 MB of runs: a ring of 1,500 marks a thousand pixels long, cut by the window, keeps
    // a run for each of their rows.
    static constexpr std::size_t kMaxRuns = std::size_t(1) << 21;
    static constexpr std::size_t kMaxStamps = std::size_t(1) << 16;
    std::unordered_map<std::uint64_t, StrokeStamp> m_stamps;
    std::size_t m_runs = 0;
    std::uint64_t m_generation = 0;
};

} // namespace koyomi::render
