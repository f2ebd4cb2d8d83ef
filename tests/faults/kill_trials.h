#pragma once
// Killing a program in the middle of a write: a child process repeats a write over and over
// and is killed with SIGKILL after a random delay, so that over many trials the kill lands at
// every moment of the write.

#include <chrono>
#include <functional>
#include <random>

namespace faults {

// Runs `work(0)`, `work(1)`, ... in a child process and kills it with SIGKILL a random time
// below `longest_delay` after it started; returns once the child is gone. The child must not
// touch anything the test itself reads.
void run_and_kill(const std::function<void(long)>& work, std::chrono::nanoseconds longest_delay,
                  std::mt19937& random);

// The average duration of `work` over a few calls.
std::chrono::nanoseconds time_of(const std::function<void()>& work);

// How many trials to run: $DASOM_KILL_TRIALS, or `default_count`.
int trial_count(int default_count);

}  // namespace faults
