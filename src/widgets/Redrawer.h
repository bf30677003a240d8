// One user action draws once: handlers open a scope and ask for their figure; nested
// handlers (a master row setting the rows it governs) only add to the request, and the
// outermost scope draws each asked-for figure once when it closes, before control returns
// to the event loop.
#pragma once

#include <exception>
#include <functional>
#include <vector>

namespace koyomi::widgets {

class Redrawer
{
public:
    explicit Redrawer(std::function<void(int kind)> draw) : m_draw(std::move(draw)) {}

    class Scope
    {
    public:
        explicit Scope(Redrawer& r) : m_r(r), m_exceptions(std::uncaught_exceptions())
        {
            ++m_r.m_depth;
        }
        ~Scope() noexcept(false);
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

        void request(int kind) { m_r.request(kind); }

    private:
        Redrawer& m_r;
        int m_exceptions;
    };

    // How many figures have been drawn; tests and benchmarks count redraws with it.
    long long drawCount() const { return m_drawn; }

private:
    void request(int kind);

    std::function<void(int)> m_draw;
    std::vector<int> m_pending;
    int m_depth = 0;
    long long m_drawn = 0;
};

inline void Redrawer::request(int kind)
{
    for (int k : m_pending) {
        if (k == kind) {
            return;
        }
    }
    m_pending.push_back(kind);
}

inline Redrawer::Scope::~Scope() noexcept(false)
{
    if (--m_r.m_depth > 0) {
        return;
    }
    std::vector<int> kinds;
    kinds.swap(m_r.m_pending);
    if (std::uncaught_exceptions() > m_exceptions) {
        return; // the handler failed: its error is shown, nothing is drawn
    }
    for (int kind : kinds) {
        ++m_r.m_drawn;
        m_r.m_draw(kind);
    }
}

} // namespace koyomi::widgets
