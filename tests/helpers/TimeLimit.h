#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace testing_helpers
{
/** Ends the test process, naming the input at work, when one input takes longer than the limit,
    so that a hang (a parser that never returns, a read that waits for good) fails its test
    instead of stopping the suite. CTest runs every test in a process of its own. start() gives
    the next input the whole limit again. */
class TimeLimit
{
public:
    explicit TimeLimit (std::chrono::seconds perInput) : limit (perInput) {}

    ~TimeLimit()
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            done = true;
        }

        wake.notify_one();
        watcher.join();
    }

    void start (std::string input)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        what = std::move (input);
        deadline = Clock::now() + limit;
    }

private:
    using Clock = std::chrono::steady_clock;

    void watch()
    {
        std::unique_lock<std::mutex> lock (mutex);

        while (! done)
        {
            if (Clock::now() >= deadline)
            {
                std::fprintf (stderr, "Time limit of %d s exceeded: %s\n", (int) limit.count(),
                              what.c_str());
                std::abort();
            }

            wake.wait_until (lock, deadline);
        }
    }

    const std::chrono::seconds limit;
    std::mutex mutex;
    std::condition_variable wake;
    std::string what = "the first input";
    Clock::time_point deadline = Clock::now() + limit;
    bool done = false;
    std::thread watcher { [this] { watch(); } };
};
} // namespace testing_helpers
