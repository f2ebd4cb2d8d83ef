#include "engine/free_talk_entry.h"

#include <optional>

#include "text/file_error.h"
#include "text/line_writer.h"

namespace engine {

FreeTalkResult add_free_talk(const std::filesystem::path& data4_path, const FreeTalkEntry& entry) {
    // The file is opened before the fields are looked at: a missing or read-only data4.dat is
    // the first thing the user must hear about, even with empty fields.
    std::optional<text::LineAppender> file;
    try {
        file.emplace(data4_path);
    } catch (const text::FileError&) {
        return FreeTalkResult::file_unavailable;
    }
    if (entry.key.empty() || entry.replies[0].empty()) return FreeTalkResult::too_short;
    for (const std::string& reply : entry.replies) {
        if (reply.find('*') != std::string::npos) return FreeTalkResult::star_in_reply;
    }

    file->write_line("*" + entry.key);
    file->write_line(entry.replies[0]);
    for (std::size_t i = 1; i < entry.replies.size(); ++i) {
        if (!entry.replies[i].empty()) file->write_line(entry.replies[i]);
    }
    file->close();
    return FreeTalkResult::added;
}

const char* free_talk_message(FreeTalkResult result) {
    switch (result) {
        case FreeTalkResult::added:
            return "";
        case FreeTalkResult::file_unavailable:
            return "data4.dat화일이 없거나 읽기전용입니다.";
        case FreeTalkResult::too_short:
            return "최소한 한문장은 입력해야 합니다.";
        case FreeTalkResult::star_in_reply:
            return "대답에는 *를 쓸 수 없습니다.";
    }
    return "";
}

}  // namespace engine
