#include "settings.h"

#include <cerrno>
#include <exception>
#include <string_view>
#include <system_error>

#include "profile_file.h"
#include "text/codec.h"
#include "text/file_error.h"
#include "text/line_reader.h"
#include "text/line_writer.h"

namespace settings {

namespace {

// Section and key names as the file holds them: CP949 bytes.
struct Names {
    std::string user = text::cp949("사용자정보");
    std::string computer = text::cp949("컴퓨터정보");
    std::string general = text::cp949("일반정보");
    std::string window = "Window";
    std::string history = text::cp949("히스토리");

    std::string user_name = text::cp949("사람이름");
    std::string computer_name = text::cp949("컴퓨터이름");
    std::string mood = text::cp949("기분값");
    std::string first_run = text::cp949("처음실행");
    std::string music_on = text::cp949("배경음악");
    std::string view_logo = "viewlogo";
    std::string tray_start = "TrayStart";
    std::string eng_mode = text::cp949("단어검색모드");
    std::string juso_mode = text::cp949("주소검색모드");

    std::string default_user = text::cp949("사람");
    std::string default_computer = text::cp949("다솜");
    std::string empty_slot = text::cp949("없음");
};

const Names& names() {
    static const Names n;
    return n;
}

std::string history_key(int slot) {
    return std::to_string(slot + 1);
}

std::string flag(bool on) {
    return on ? "1" : "0";
}

std::string utf8_path(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::path full = std::filesystem::absolute(path, ignored);
    if (full.empty()) full = path;
    const std::u8string bytes = full.u8string();
    return std::string(bytes.begin(), bytes.end());
}

// The file as it is on disk now. Only a missing file counts as empty: one that exists but cannot
// be read must not be replaced by a file that has lost everything else it held.
ProfileFile current_file(const std::filesystem::path& file) {
    try {
        return ProfileFile(text::read_file(file, kMaxProfileSize));
    } catch (const text::FileError&) {
        std::error_code error;
        const auto status = std::filesystem::symlink_status(file, error);
        if (status.type() == std::filesystem::file_type::not_found) return ProfileFile();
        throw WriteRefused(file);
    }
}

}  // namespace

Settings::Settings() : user_name(names().default_user), computer_name(names().default_computer) {
    history.fill(names().empty_slot);
}

namespace {

// WriteRefused is thrown while the write's own FileError is being handled: that error's reason
// is why the settings could not be written.
std::string refusal_reason() {
    try {
        if (const std::exception_ptr cause = std::current_exception()) std::rethrow_exception(cause);
    } catch (const text::FileError& error) {
        return error.reason();
    } catch (...) {
    }
    return text::system_reason(EACCES);
}

}  // namespace

WriteRefused::WriteRefused(const std::filesystem::path& path)
    : std::runtime_error("설정을 " + utf8_path(path) + "에 쓰지 못했습니다 (" + refusal_reason() +
                         ").") {}

Settings read_settings(const std::filesystem::path& file, std::string* problem) {
    const Names& n = names();
    const ProfileFile ini = ProfileFile::load(file, problem);
    Settings s;
    s.user_name = ini.read_string(n.user, n.user_name, s.user_name);
    s.computer_name = ini.read_string(n.computer, n.computer_name, s.computer_name);
    s.mood = ini.read_int(n.computer, n.mood, s.mood);
    s.first_run = ini.read_bool(n.general, n.first_run, s.first_run);
    s.music_on = ini.read_bool(n.general, n.music_on, s.music_on);
    s.view_logo = ini.read_bool(n.general, n.view_logo, s.view_logo);
    s.tray_start = ini.read_bool(n.general, n.tray_start, s.tray_start);
    s.eng_mode = ini.read_bool(n.general, n.eng_mode, s.eng_mode);
    s.juso_mode = ini.read_bool(n.general, n.juso_mode, s.juso_mode);
    s.left = ini.read_int(n.window, "Left", s.left);
    s.top = ini.read_int(n.window, "Top", s.top);
    s.width = ini.read_int(n.window, "Width", s.width);
    s.height = ini.read_int(n.window, "Height", s.height);
    for (int slot = 0; slot < kHistorySize; ++slot) {
        s.history[slot] = ini.read_string(n.history, history_key(slot), s.history[slot]);
    }
    return s;
}

void write_settings(const std::filesystem::path& file, const Settings& values) {
    const Names& n = names();
    ProfileFile ini = current_file(file);
    ini.write(n.user, n.user_name, values.user_name);
    ini.write(n.computer, n.computer_name, values.computer_name);
    ini.write(n.computer, n.mood, std::to_string(values.mood));
    // Whatever it was: the set-up dialog has had its chance.
    ini.write(n.general, n.first_run, "0");
    ini.write(n.general, n.music_on, flag(values.music_on));
    ini.write(n.general, n.view_logo, flag(values.view_logo));
    ini.write(n.general, n.tray_start, flag(values.tray_start));
    ini.write(n.general, n.eng_mode, flag(values.eng_mode));
    ini.write(n.general, n.juso_mode, flag(values.juso_mode));
    ini.write(n.window, "Left", std::to_string(values.left));
    ini.write(n.window, "Top", std::to_string(values.top));
    ini.write(n.window, "Width", std::to_string(values.width));
    ini.write(n.window, "Height", std::to_string(values.height));
    for (int slot = 0; slot < kHistorySize; ++slot) {
        ini.write(n.history, history_key(slot), values.history[slot]);
    }
    try {
        text::replace_file(file, ini.bytes());
    } catch (const text::FileError&) {
        throw WriteRefused(file);
    }
}

}  // namespace settings
