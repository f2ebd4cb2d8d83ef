#pragma once
// Helpers shared by the engine tests.

#include <algorithm>
#include <string>

#include "fake_host.h"
#include "text/file_error.h"

namespace testing_support {

// The text of the last debug box, or empty.
inline std::string last_debug(const FakeHost& host) {
    for (auto it = host.calls.rbegin(); it != host.calls.rend(); ++it) {
        if (it->rfind("debug:", 0) == 0) return it->substr(6);
    }
    return {};
}

}  // namespace testing_support
