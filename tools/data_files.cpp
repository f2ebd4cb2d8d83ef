#include "data_files.h"

#include <algorithm>
#include <stdexcept>

#include "text/codec.h"
#include "text/file_error.h"
#include "text/line_reader.h"
#include "text/line_writer.h"

namespace tools {

std::string convert_source(std::string_view utf8, const std::string& source_name) {
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 16);
    std::size_t line_number = 0;
    std::size_t start = 0;
    while (start < utf8.size()) {
        ++line_number;
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const text::Encoded encoded = text::from_utf8(line);
        if (!encoded.complete()) {
            throw std::runtime_error(source_name + ":" + std::to_string(line_number) +
                                     ": CP949로 쓸 수 없는 글자가 있습니다.");
        }
        out += encoded.bytes;
        out += text::kLineEnd;
        start = end + 1;
    }
    return out;
}

std::string open_syllables() {
    constexpr char16_t kFirstSyllable = 0xAC00;
    constexpr int kInitials = 19, kMedials = 21, kFinals = 28;
    std::u16string syllables;
    for (int initial = 0; initial < kInitials; ++initial) {
        for (int medial = 0; medial < kMedials; ++medial) {
            syllables +=
                static_cast<char16_t>(kFirstSyllable + (initial * kMedials + medial) * kFinals);
            syllables += u"\r\n";
        }
    }
    return text::from_utf16(syllables).bytes;
}

Installed install_file(const std::filesystem::path& destination, std::string_view bytes,
                       Existing existing) {
    if (std::filesystem::exists(destination) &&
        (existing == Existing::keep || text::read_file(destination) == bytes)) {
        return Installed::kept;
    }
    text::replace_file(destination, bytes);
    return Installed::written;
}

Installed install_asset(const std::filesystem::path& source,
                        const std::filesystem::path& program_folder, Existing existing) {
    const auto destination = program_folder / source.filename();
    if (existing == Existing::keep && std::filesystem::exists(destination)) return Installed::kept;
    return install_file(destination, text::read_file(source), existing);
}

int install_data_folder(const std::filesystem::path& source_folder,
                        const std::filesystem::path& program_folder, Existing existing) {
    std::filesystem::create_directories(program_folder);
    int written = 0;
    std::vector<std::filesystem::path> sources;
    for (const auto& entry : std::filesystem::directory_iterator(source_folder)) {
        // The data files and the help text; not the build files that lie beside them.
        const auto name = entry.path().filename();
        if (entry.is_regular_file() && (name.extension() == ".dat" || name == "readme.txt")) {
            sources.push_back(entry.path());
        }
    }
    std::sort(sources.begin(), sources.end());
    for (const auto& source : sources) {
        const auto destination = program_folder / source.filename();
        if (existing == Existing::keep && std::filesystem::exists(destination)) continue;
        const std::string converted =
            convert_source(text::read_file(source), source.filename().string());
        if (install_file(destination, converted, existing) == Installed::written) ++written;
    }
    if (install_file(program_folder / "vowel.dat", open_syllables(), existing) ==
        Installed::written) {
        ++written;
    }
    return written;
}

}  // namespace tools
