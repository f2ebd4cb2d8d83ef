// The three books as the fuzzer writes them, through everything that reads them: the launcher
// (started programs are only recorded), both lookups in both modes, and a deletion walk of
// finds, deletions, edits and a confirmation or cancel. No input may crash, hang or read out of
// bounds. Properties: a cancelled walk leaves the book byte for byte; a confirmed walk that
// deleted and edited nothing and never held back a record with an empty line keeps every
// non-empty line in its order; temp.$$$ never stays.
//
// The input is a search text, the book (0-2), a list of steps, then the book's bytes.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "books/book_files.h"
#include "books/launcher.h"
#include "books/lookup.h"
#include "books/record_deletion.h"
#include "engine/quiet_host.h"
#include "program_folder.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "books_fuzz: %s\n", what);
    std::abort();
}

class AnsweringHost : public engine::QuietHost {
  public:
    explicit AnsweringHost(std::string answer) : answer_(std::move(answer)) {}
    std::string input_box(const std::string&, const std::string&, const std::string&) override {
        return answer_;
    }

  private:
    std::string answer_;
};

// The lines as the program reads them, the empty ones left out.
std::vector<std::string> filled_lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        std::size_t lf = bytes.find('\n', begin);
        const bool last = lf == std::string::npos;
        if (last) lf = bytes.size();
        std::string line = bytes.substr(begin, lf - begin);
        if (!last && !line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        begin = lf + 1;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string search = input.ConsumeRandomLengthString(40);
    const auto kind = static_cast<engine::Book>(input.ConsumeIntegralInRange(0, 2));
    const std::string steps = input.ConsumeRandomLengthString(12);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    const std::string name = books::book_file_name(kind);
    const auto& folder = fuzzing::program_folder();
    fuzzing::put_file(name, bytes);

    AnsweringHost host(search);
    try {
        if (kind == engine::Book::commands) {
            books::LauncherState state;
            books::launch_by_name(folder, host, state);
        } else if (kind == engine::Book::addresses) {
            books::search_address_book(folder, host, true);
            books::search_address_book(folder, host, false);
        } else {
            books::search_word_book(folder, host, true);
            books::search_word_book(folder, host, false);
        }
    } catch (const text::FileError&) {
    }

    bool changed = false;   // a deletion or an edit
    bool dropped = false;   // a record held back with an empty line is dropped by design
    bool confirmed = false;
    {
        books::RecordDeletion walk(folder / name, folder / books::kTempFile, kind);
        books::Record boxes;
        for (const char step : steps) {
            const int what = static_cast<unsigned char>(step) % 5;
            if (what == 0 || what == 1) {
                if (!boxes.name.empty() || !boxes.mean.empty()) dropped |= !boxes.pending();
                const auto found = walk.find(what == 0 ? search : search.substr(0, 1), boxes);
                if (found.pending_written) boxes = {};
                if (found.record) boxes = *found.record;
            } else if (what == 2) {
                changed = true;
                boxes = {};
            } else if (what == 3) {
                changed = true;
                boxes.mean += "x";
            } else {
                if (!boxes.name.empty() || !boxes.mean.empty()) dropped |= !boxes.pending();
                walk.confirm(boxes);
                confirmed = true;
                break;
            }
        }
        if (!confirmed) walk.cancel();
    }
    const std::string after = text::read_file(folder / name);
    if (!confirmed && after != bytes) fail("a cancelled walk changed the book");
    if (confirmed && !changed && !dropped && filled_lines(after) != filled_lines(bytes)) {
        fail("a confirmed walk that changed nothing lost or reordered lines");
    }
    if (std::filesystem::exists(std::filesystem::symlink_status(folder / books::kTempFile))) {
        fail("temp.$$$ stayed behind");
    }
    fuzzing::restore_file(name);
    return 0;
}
