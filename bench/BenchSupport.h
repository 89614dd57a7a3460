#pragma once

#include "Prompter.h"

#include <chrono>

// What the benchmarks share: a clock, and a player who answers Yes to every question.
namespace bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

class AlwaysYes final : public Prompter {
public:
    void inform(const Message&) override {}
    bool ask(const Message&) override { return true; }
};

} // namespace bench
