// Ends the test program when a piece of work does not finish: a hang is reported as a failed
// run instead of stalling the suite. It guards against endless loops, not slowness, so its
// limit is generous.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace koyomi::test {

template <class Work> void runWithWatchdog(const char* what, Work&& work, int seconds = 120)
{
    std::mutex m;
    std::condition_variable done;
    bool finished = false;
    std::thread dog([&] {
        std::unique_lock lock(m);
        if (!done.wait_for(lock, std::chrono::seconds(seconds), [&] { return finished; })) {
            std::fprintf(stderr, "watchdog: \"%s\" did not finish in %d s\n", what, seconds);
            std::_Exit(3);
        }
    });
    work();
    {
        const std::lock_guard lock(m);
        finished = true;
    }
    done.notify_one();
    dog.join();
}

} // namespace koyomi::test
