#pragma once
// Teaching the companion: one key phrase with up to four replies appended to data4.dat as a
// free-talk entry ("*" + key, then the non-empty replies, each line ended by CR LF).

#include <array>
#include <filesystem>
#include <string>

namespace engine {

struct FreeTalkEntry {
    std::string key;                     // CP949
    std::array<std::string, 4> replies;  // CP949; empty ones after the first are left out
};

enum class FreeTalkResult {
    added,
    file_unavailable,  // data4.dat is missing or read-only: nothing written
    too_short,         // the key or the first reply is empty: nothing written
    star_in_reply,     // a reply holds "*", which would turn it into a key line: nothing written
};

// Appends the entry to `data4_path`. The file is never created. A write failure after a
// successful open throws text::FileError.
FreeTalkResult add_free_talk(const std::filesystem::path& data4_path, const FreeTalkEntry& entry);

// The message to show for a result other than `added` (UTF-8).
const char* free_talk_message(FreeTalkResult result);

}  // namespace engine
