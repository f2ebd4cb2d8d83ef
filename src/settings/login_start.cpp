#include "settings/login_start.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "settings/program_folder.h"
#include "text/file_error.h"
#include "text/line_writer.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace settings {

namespace fs = std::filesystem;

namespace {

bool same_folder(const fs::path& a, const fs::path& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error)) return true;
    return a.lexically_normal() / "" == b.lexically_normal() / "";
}

// One word of an Exec line: quoted when it holds a character the line reserves, with `"`, `` ` ``,
// `$` and `\` escaped inside the quotes; then `%` doubled (no field code) and every backslash
// doubled once more for the entry's string escapes, which a reader undoes first.
std::string exec_word(const std::string& word) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    for (const unsigned char c : word) {
        if (c < 0x20 || c == 0x7f)
            throw std::invalid_argument("로그인할 때 시작할 명령에 쓸 수 없는 글자가 있습니다: " + word);
    }
    std::string quoted;
    if (word.empty() || word.find_first_of(kReserved) != std::string::npos) {
        quoted += '"';
        for (const char c : word) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
            quoted += c;
        }
        quoted += '"';
    } else {
        quoted = word;
    }
    std::string line;
    for (const char c : quoted) {
        if (c == '%') line += '%';
        if (c == '\\') line += '\\';
        line += c;
    }
    return line;
}

#ifndef _WIN32
// A new file of the entry's folder under a name no other process uses, written and synced, then
// renamed over the entry: the rename replaces whatever lies at the entry's name, a link
// included, and nothing is ever written through a link.
void write_new_file(const fs::path& path, std::string_view bytes) {
    std::string temp = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkstemp(temp.data());
    if (descriptor < 0) throw text::FileError(path, errno);
    bool ok = ::fchmod(descriptor, 0644) == 0;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) written += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(descriptor) == 0;
    int error = errno;
    ok = ::close(descriptor) == 0 && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        throw text::FileError(path, error ? error : EIO);
    }
}
#endif

// Creates `folder` and every missing folder above it, readable by the user alone as the XDG
// rules ask of the folders they name (~/.config itself may be missing on a new account).
void create_private_folders(const fs::path& folder) {
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error)) return;
    if (folder.has_relative_path() && folder.parent_path() != folder)
        create_private_folders(folder.parent_path());
#ifdef _WIN32
    fs::create_directory(folder, error);
    if (error) throw text::FileError(folder, error.value());
#else
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw text::FileError(folder, errno);
#endif
}

}  // namespace

fs::path autostart_folder() {
    if (const char* config_home = std::getenv("XDG_CONFIG_HOME"); config_home && *config_home) {
        const fs::path path(config_home);
        if (path.is_absolute()) return path / "autostart";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return fs::path(home) / ".config" / "autostart";
    }
    return {};
}

std::vector<std::string> login_command(const fs::path& program_file, const fs::path& program_folder) {
    const fs::path own = program_file.parent_path();
    std::error_code ignored;
    const bool chosen_by_itself =
        same_folder(program_folder, own) ||
        (!fs::exists(own / kDataMarker, ignored) && !user_data_folder().empty() &&
         same_folder(program_folder, user_data_folder()));
    std::vector<std::string> command{program_file.string()};
    if (!chosen_by_itself) command.insert(command.end(), {"--folder", program_folder.string()});
    return command;
}

std::string login_entry_text(const std::vector<std::string>& command) {
    std::string exec;
    for (const std::string& word : command) {
        if (!exec.empty()) exec += ' ';
        exec += exec_word(word);
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Dasom\n"
           "Name[ko]=다솜\n"
           "Comment=Talk in Korean with Nuri, a companion on your desktop\n"
           "Comment[ko]=바탕화면의 친구 누리와 한국어로 이야기합니다\n"
           "Exec=" + exec + "\n"
           "Icon=dasom\n"
           "Terminal=false\n";
}

bool login_entry_present(const fs::path& folder) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(folder / kLoginEntryName, ignored));
}

void write_login_entry(const fs::path& folder, const std::vector<std::string>& command) {
    const std::string text = login_entry_text(command);
    create_private_folders(folder);
#ifdef _WIN32
    text::replace_file(folder / kLoginEntryName, text);
#else
    write_new_file(folder / kLoginEntryName, text);
#endif
}

void remove_login_entry(const fs::path& folder) {
    const fs::path entry = folder / kLoginEntryName;
    std::error_code error;
    fs::remove(entry, error);
    if (error) throw text::FileError(entry, error.value());
}

}  // namespace settings
