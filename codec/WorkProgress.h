// How far a long piece of work has come, and whether the person waiting for
// it asked it to stop: the worker writes it and checks the stop between
// steps, the window that shows the progress reads it.  Plain C++.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>

namespace kovra {

class WorkProgress {
public:
    void SetTotal(std::int64_t total) { total_.store(total, std::memory_order_relaxed); }
    void SetDone(std::int64_t done) { done_.store(done, std::memory_order_relaxed); }
    void Advance(std::int64_t steps = 1) { done_.fetch_add(steps, std::memory_order_relaxed); }

    // 0 … 1000; 0 while the total is not known.
    int Permille() const
    {
        const std::int64_t total = total_.load(std::memory_order_relaxed);
        const std::int64_t done = done_.load(std::memory_order_relaxed);
        if (total <= 0 || done <= 0)
            return 0;
        return done >= total ? 1000 : static_cast<int>(done * 1000 / total);
    }

    void Stop() { stopped_.store(true, std::memory_order_relaxed); }
    bool Stopped() const { return stopped_.load(std::memory_order_relaxed); }

private:
    std::atomic<std::int64_t> total_{0};
    std::atomic<std::int64_t> done_{0};
    std::atomic<bool> stopped_{false};
};

// Thrown by a step that finds the work stopped, where the work has no other
// way to end early; whoever runs the work treats it as an ordinary failure
// (a temporary file abandoned, nothing put in place).
struct WorkStopped : std::exception {
    const char* what() const noexcept override { return "stopped"; }
};

} // namespace kovra
