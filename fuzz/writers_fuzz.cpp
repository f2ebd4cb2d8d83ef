// The appending writers on a file as the fuzzer writes it: a free-talk entry to data4.dat and a
// record to eng.dat. No input may crash. Properties: an entry or record that is added follows
// the old bytes whole (with a line end put in first where the last line had none), and one that
// is refused leaves the file byte for byte. (settings_fuzz covers the settings writer.)
//
// The input is a key, four replies, a name and a meaning, then the file's bytes.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "books/record_entry.h"
#include "engine/free_talk_entry.h"
#include "program_folder.h"
#include "text/line_reader.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "writers_fuzz: %s\n", what);
    std::abort();
}

std::string with_line_end(const std::string& bytes) {
    return bytes.empty() || bytes.back() == '\n' ? bytes : bytes + "\r\n";
}

void check(const std::string& file, const std::string& old_bytes, bool added,
           const std::string& added_lines) {
    const std::string now = text::read_file(fuzzing::program_folder() / file);
    if (added ? now != with_line_end(old_bytes) + added_lines : now != old_bytes) {
        fail(added ? "an append is not the old bytes and the new lines" : "a refusal changed the file");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    engine::FreeTalkEntry entry;
    entry.key = input.ConsumeRandomLengthString(30);
    for (std::string& reply : entry.replies) reply = input.ConsumeRandomLengthString(30);
    const std::string name = input.ConsumeRandomLengthString(30);
    const std::string mean = input.ConsumeRandomLengthString(30);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    fuzzing::put_file("data4.dat", bytes);
    const bool taught = engine::add_free_talk(fuzzing::program_folder() / "data4.dat", entry) ==
                        engine::FreeTalkResult::added;
    std::string entry_lines = "*" + entry.key + "\r\n" + entry.replies[0] + "\r\n";
    for (std::size_t i = 1; i < entry.replies.size(); ++i) {
        if (!entry.replies[i].empty()) entry_lines += entry.replies[i] + "\r\n";
    }
    check("data4.dat", bytes, taught, entry_lines);

    fuzzing::put_file("eng.dat", bytes);
    const bool added = books::add_record(fuzzing::program_folder() / "eng.dat", name, mean) ==
                       books::AddResult::added;
    check("eng.dat", bytes, added, name + "\r\n" + mean + "\r\n");

    fuzzing::restore_file("data4.dat");
    fuzzing::restore_file("eng.dat");
    return 0;
}
