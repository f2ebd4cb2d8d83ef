#include "settings.h"

#include <cerrno>
#include <exception>
#include <string_view>
#include <system_error>
#include <vector>

#include "profile_file.h"
#include "text/codec.h"
#include "text/file_error.h"
#include "text/folder_lock.h"
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
    std::string word_search_by_word = text::cp949("단어검색모드");
    std::string address_search_by_name = text::cp949("주소검색모드");
    std::string no_tray_notice = text::cp949("트레이없음알림");

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

Settings read_values(const ProfileFile& ini) {
    const Names& n = names();
    Settings s;
    s.user_name = ini.read_string(n.user, n.user_name, s.user_name);
    s.computer_name = ini.read_string(n.computer, n.computer_name, s.computer_name);
    s.mood = ini.read_int(n.computer, n.mood, s.mood);
    s.first_run = ini.read_bool(n.general, n.first_run, s.first_run);
    s.music_on = ini.read_bool(n.general, n.music_on, s.music_on);
    s.view_logo = ini.read_bool(n.general, n.view_logo, s.view_logo);
    s.tray_start = ini.read_bool(n.general, n.tray_start, s.tray_start);
    s.word_search_by_word = ini.read_bool(n.general, n.word_search_by_word, s.word_search_by_word);
    s.address_search_by_name =
        ini.read_bool(n.general, n.address_search_by_name, s.address_search_by_name);
    s.left = ini.read_int(n.window, "Left", s.left);
    s.top = ini.read_int(n.window, "Top", s.top);
    s.width = ini.read_int(n.window, "Width", s.width);
    s.height = ini.read_int(n.window, "Height", s.height);
    for (int slot = 0; slot < kHistorySize; ++slot) {
        s.history[slot] = ini.read_string(n.history, history_key(slot), s.history[slot]);
    }
    s.no_tray_notice_given = ini.read_bool(n.general, n.no_tray_notice, s.no_tray_notice_given);
    return s;
}

// One key with the text written for it.
struct KeyText {
    const std::string& section;
    std::string key;
    std::string value;
    // Left out of a file that lacks it while it has its default.
    bool only_when_set = false;
};

// Every key in the order of a file written from nothing.
std::vector<KeyText> key_texts(const Settings& values) {
    const Names& n = names();
    std::vector<KeyText> keys = {
        {n.user, n.user_name, values.user_name},
        {n.computer, n.computer_name, values.computer_name},
        {n.computer, n.mood, std::to_string(values.mood)},
        {n.general, n.first_run, flag(values.first_run)},
        {n.general, n.music_on, flag(values.music_on)},
        {n.general, n.view_logo, flag(values.view_logo)},
        {n.general, n.tray_start, flag(values.tray_start)},
        {n.general, n.word_search_by_word, flag(values.word_search_by_word)},
        {n.general, n.address_search_by_name, flag(values.address_search_by_name)},
        {n.window, "Left", std::to_string(values.left)},
        {n.window, "Top", std::to_string(values.top)},
        {n.window, "Width", std::to_string(values.width)},
        {n.window, "Height", std::to_string(values.height)},
    };
    for (int slot = 0; slot < kHistorySize; ++slot) {
        keys.push_back({n.history, history_key(slot), values.history[slot]});
    }
    keys.push_back({n.general, n.no_tray_notice, flag(values.no_tray_notice_given), true});
    return keys;
}

void put(ProfileFile& ini, const KeyText& key) {
    if (key.only_when_set && key.value == flag(false) && !ini.read(key.section, key.key)) return;
    ini.write(key.section, key.key, key.value);
}

// Called with the folder's lock held: what it calls must not take that lock again (flock
// locks are not nested; a second one in the same process would wait for ever).
void replace(const std::filesystem::path& file, const ProfileFile& ini) {
    try {
        text::replace_file(file, ini.bytes());
    } catch (const text::FileError&) {
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
    return read_values(ProfileFile::load(file, problem));
}

void write_settings(const std::filesystem::path& file, const Settings& values) {
    const text::FolderLock lock(file.parent_path());
    ProfileFile ini = current_file(file);
    Settings written = values;
    // Whatever it was: the set-up dialog has had its chance.
    written.first_run = false;
    for (const KeyText& key : key_texts(written)) put(ini, key);
    replace(file, ini);
}

void save_settings(const std::filesystem::path& file, const Settings& before, const Settings& now,
                   SaveKeys keys) {
    const std::vector<KeyText> old_texts = key_texts(before);
    const std::vector<KeyText> new_texts = key_texts(now);
    std::vector<bool> changed(new_texts.size());
    bool any = false;
    for (std::size_t i = 0; i < new_texts.size(); ++i) {
        changed[i] = new_texts[i].value != old_texts[i].value;
        any = any || changed[i];
    }
    if (keys == SaveKeys::changed && !any) return;

    const text::FolderLock lock(file.parent_path());
    ProfileFile ini = current_file(file);
    // What the file holds now, in the form it is written in (so "TrayStart=2" becomes 1, as
    // it always has at exit).
    const std::vector<KeyText> file_texts = key_texts(read_values(ini));
    for (std::size_t i = 0; i < new_texts.size(); ++i) {
        if (changed[i]) {
            put(ini, new_texts[i]);
        } else if (keys == SaveKeys::every) {
            put(ini, file_texts[i]);
        }
    }
    replace(file, ini);
}

}  // namespace settings
