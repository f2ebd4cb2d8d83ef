// dasom.ini as the fuzzer writes it: reading never fails, and what is written back reads back
// as the same settings, and writing those again changes no byte. A key written into any profile
// reads back as written.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "program_folder.h"
#include "settings/profile_file.h"
#include "settings/settings.h"
#include "text/line_reader.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "settings_fuzz: %s\n", what);
    std::abort();
}

// What a value may become once written: a line break cannot be stored inside a value (a value
// read with a lone CR in it is kept as it is when it is written back unchanged).
std::string storable(std::string value) {
    for (char& c : value) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return value;
}

bool same(const settings::Settings& a, const settings::Settings& b) {
    return storable(a.user_name) == storable(b.user_name) &&
           storable(a.computer_name) == storable(b.computer_name) && a.mood == b.mood &&
           !b.first_run && a.music_on == b.music_on && a.view_logo == b.view_logo &&
           a.tray_start == b.tray_start && a.word_search_by_word == b.word_search_by_word &&
           a.address_search_by_name == b.address_search_by_name && a.left == b.left &&
           a.top == b.top && a.width == b.width && a.height == b.height && [&] {
               for (std::size_t i = 0; i < a.history.size(); ++i) {
                   if (storable(a.history[i]) != storable(b.history[i])) return false;
               }
               return true;
           }();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(12);
    const std::string key = input.ConsumeRandomLengthString(12);
    const std::string value = input.ConsumeRandomLengthString(40);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    settings::ProfileFile profile(bytes);
    profile.read_int(section, key, 0);
    profile.write(section, key, value);
    // Names are trimmed and values cut when read, and an empty name never makes a line that
    // reads as a key, so only plain names and short values must read back exactly.
    const bool plain = !section.empty() && !key.empty() &&
                       section.find_first_of("[]\r\n") == std::string::npos &&
                       key.find_first_of("=;[\r\n") == std::string::npos &&
                       section.find_first_of(" \t") == std::string::npos &&
                       key.find_first_of(" \t") == std::string::npos;
    if (plain && settings::ProfileFile(profile.bytes()).read(section, key) != storable(value)) {
        fail("a written key does not read back");
    }

    const auto file = fuzzing::program_folder() / settings::kFileName;
    fuzzing::put_file(settings::kFileName, bytes);
    const settings::Settings first = settings::read_settings(file);
    settings::write_settings(file, first);
    const std::string written = text::read_file(file);
    const settings::Settings second = settings::read_settings(file);
    if (!same(first, second)) fail("the settings written do not read back");
    settings::write_settings(file, second);
    if (text::read_file(file) != written) fail("writing the same settings again changed the file");
    fuzzing::restore_file(settings::kFileName);
    return 0;
}
