#pragma once
// Starting a program from the terminal companion: detached in its own session, with standard
// input and output on the null device (the replies own standard output), never waited for.

#include <string>
#include <vector>

namespace console {

// `words` (UTF-8): the program, then its arguments; the program is looked up in PATH unless it
// holds a "/". Nothing is reported, also when it cannot be started; nothing is left to reap.
void start_detached(const std::vector<std::string>& words);

}  // namespace console
