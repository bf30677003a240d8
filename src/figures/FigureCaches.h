// What drawing the figures keeps for the next drawing: the stamps of marks, the label table
// of a text, the directions of a ring. Owned by whoever draws repeatedly (the presentation
// window, the command, a benchmark) and handed to the renderers, so that a redraw while the
// teacher changes another field finds them made; a renderer handed none keeps what it finds
// for that one drawing only, and draws the same pixels.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace koyomi::figures {

class FigureCaches
{
public:
    // The part of type T, each renderer's own type, made empty on first use.
    template <class T> T& part()
    {
        std::shared_ptr<void>& slot = m_parts[std::type_index(typeid(T))];
        if (!slot) {
            slot = std::make_shared<T>();
        }
        return *static_cast<T*>(slot.get());
    }

private:
    std::unordered_map<std::type_index, std::shared_ptr<void>> m_parts;
};

// The caches handed in, or `own` (for one drawing) when none was.
inline FigureCaches& cachesOr(FigureCaches* given, FigureCaches& own)
{
    return given ? *given : own;
}

// The last few values made, under their keys, the most recently asked for first.
template <class Key, class Value> class RecentlyKept
{
public:
    explicit RecentlyKept(std::size_t most) : m_most(most) {}

    // The value kept under `key`, or the one make() gives, which is then kept.
    template <class Make> Value get(const Key& key, Make&& make)
    {
        for (auto it = m_kept.begin(); it != m_kept.end(); ++it) {
            if (it->first == key) {
                std::rotate(m_kept.begin(), it, it + 1);
                return m_kept.front().second;
            }
        }
        Value made = make();
        m_kept.insert(m_kept.begin(), {key, made});
        if (m_kept.size() > m_most) {
            m_kept.pop_back();
        }
        return made;
    }

private:
    std::size_t m_most;
    std::vector<std::pair<Key, Value>> m_kept;
};

} // namespace koyomi::figures
