#pragma once
// Starting a launched program: detached in its own session, with standard input and output on
// the null device, never waited for and nothing left to reap. No shell ever sees the words.

#include <string>
#include <vector>

namespace books {

// `words`: the program, then its arguments, as the file system takes them (UTF-8 here). A
// program without a "/" is looked up in PATH. Returns 0 once the program runs, otherwise the
// system's error number (ENOENT: no such program; EACCES: it may not be run; ENOEXEC: not a
// program); an empty list is ENOENT.
int start_detached(const std::vector<std::string>& words);

}  // namespace books
