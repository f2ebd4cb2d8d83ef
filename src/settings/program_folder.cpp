#include "settings/program_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "text/file_error.h"
#include "text/line_reader.h"
#include "text/line_writer.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace settings {

namespace fs = std::filesystem;

namespace {

bool holds_data(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / kDataMarker, error);
}

bool is_there(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

}  // namespace

fs::path executable_folder(const char* argv0) {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    if (length > 0) return fs::path(std::wstring(buffer, length)).parent_path();
#else
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
#endif
    std::error_code ignored;
    return fs::absolute(argv0 ? argv0 : "", ignored).parent_path();
}

fs::path user_data_folder() {
#ifdef _WIN32
    if (const wchar_t* appdata = _wgetenv(L"APPDATA"); appdata && *appdata) {
        return fs::path(appdata) / "dasom";
    }
    return {};
#else
    // A relative XDG_DATA_HOME is invalid and ignored, as the XDG rules say.
    if (const char* data_home = std::getenv("XDG_DATA_HOME"); data_home && *data_home) {
        const fs::path path(data_home);
        if (path.is_absolute()) return path / "dasom";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return fs::path(home) / ".local" / "share" / "dasom";
    }
    return {};
#endif
}

fs::path installed_defaults(const fs::path& executable_folder) {
    return executable_folder.parent_path() / "share" / "dasom";
}

bool folder_writable(const fs::path& folder) {
    const fs::path probe =
        folder / (".dasom-write-test-" + std::to_string(static_cast<long>(getpid())));
    std::FILE* file = text::open_file(probe, "wx");
    if (!file) return false;
    std::fclose(file);
    std::error_code ignored;
    fs::remove(probe, ignored);
    return true;
}

int fill_folder(const fs::path& defaults, const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw text::FileError(folder, error.value());

    std::vector<fs::path> sources;
    fs::directory_iterator entries(defaults, error);
    if (error) throw text::FileError(defaults, error.value());
    for (const fs::directory_entry& entry : entries) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored)) sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());

    int copied = 0;
    for (const fs::path& source : sources) {
        const fs::path destination = folder / source.filename();
        if (is_there(destination)) continue;
        // Through a temporary file and a rename: an interrupted copy never leaves a cut file
        // behind that a later start would keep as the user's own.
        text::replace_file(destination, text::read_file(source));
        ++copied;
    }
    return copied;
}

ProgramFolder choose_program_folder(const FolderPlaces& places,
                                    const std::function<bool(const fs::path&)>& writable) {
    std::error_code ignored;
    if (places.requested) return {fs::absolute(*places.requested, ignored), {}};

    const fs::path& own = places.executable_folder;
    if (holds_data(own) && writable(own)) return {own, {}};

    const fs::path defaults = installed_defaults(own);
    if (!holds_data(defaults) || (places.user_folder.empty() && holds_data(own))) {
        // Neither layout fits: the program's own folder, whose missing files are reported
        // where they are read.
        return {own, {}};
    }
    if (places.user_folder.empty()) {
        return {defaults,
                "사용자 폴더를 정할 수 없습니다: 환경 변수 HOME과 XDG_DATA_HOME이 "
                "모두 비어 있습니다.",
                true};
    }

    const fs::path user = fs::absolute(places.user_folder, ignored);
    try {
        fill_folder(defaults, user);
        return {user, {}};
    } catch (const std::exception& error) {
        const std::u8string shown = user.u8string();
        std::string problem = "사용자 폴더(" + std::string(shown.begin(), shown.end()) +
                              ")를 만들거나 기본 파일을 복사할 수 없습니다: " + error.what();
        // A folder that already holds the data files may hold the user's own: keep it whatever
        // is missing. Without them, the defaults can still be read where they lie.
        if (holds_data(user)) return {user, std::move(problem)};
        return {defaults, std::move(problem), true};
    }
}

}  // namespace settings
