#include "program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <map>

#include "data_files.h"
#include "text/line_reader.h"
#include "text/line_writer.h"

namespace fuzzing {

namespace {

struct Folder {
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    std::filesystem::path path;
    std::map<std::string, std::string> defaults;
};

Folder& folder() {
    static Folder folder;
    if (folder.path.empty()) {
        Folder& f = folder;
        f.path =
            std::filesystem::temp_directory_path() / ("dasom-fuzz-" + std::to_string(::getpid()));
        std::filesystem::remove_all(f.path);
        tools::install_data_folder(DASOM_SOURCE_DATA, f.path);
        for (const auto& entry : std::filesystem::directory_iterator(f.path)) {
            f.defaults[entry.path().filename().string()] = text::read_file(entry.path());
        }
    }
    return folder;
}

void write_bytes(const std::filesystem::path& path, std::string_view bytes) {
    std::FILE* file = text::open_file(path, "wb");
    if (!file) std::abort();
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) std::abort();
}

}  // namespace

const std::filesystem::path& program_folder() {
    return folder().path;
}

void put_file(const std::string& name, std::string_view bytes) {
    write_bytes(folder().path / name, bytes);
}

void restore_file(const std::string& name) {
    Folder& f = folder();
    const auto found = f.defaults.find(name);
    if (found == f.defaults.end()) {
        std::error_code ignored;
        std::filesystem::remove(f.path / name, ignored);
    } else {
        write_bytes(f.path / name, found->second);
    }
}

bool is_default(const std::string& name) {
    Folder& f = folder();
    const auto found = f.defaults.find(name);
    return found != f.defaults.end() && text::read_file(f.path / name) == found->second;
}

}  // namespace fuzzing
