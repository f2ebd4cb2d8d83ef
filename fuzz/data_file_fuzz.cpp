// One data file of the program folder replaced by the fuzzer's bytes, every other file at its
// default, then everything the engine does with a sentence: a whole chat turn, the placeholders
// of a reply, free talk, a computer question and a monologue line. No input may crash, hang or
// read out of bounds; the only errors allowed out are the two the core reports to the user.
//
// The input is a sentence (up to the first lone backslash), two names and a flag, then the
// file's bytes. The file is named by DASOM_FUZZ_FILE at build time.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <random>
#include <string>

#include "engine/engine.h"
#include "engine/quiet_host.h"
#include "program_folder.h"
#include "text/file_error.h"

namespace {

template <typename Call>
void allowing_reported_errors(Call call) {
    try {
        call();
    } catch (const text::FileError&) {
    } catch (const text::ConversionError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string sentence = input.ConsumeRandomLengthString(300);
    const std::string user_name = input.ConsumeRandomLengthString(20);
    const std::string computer_name = input.ConsumeRandomLengthString(20);
    const bool debug_mode = input.ConsumeBool();
    fuzzing::put_file(DASOM_FUZZ_FILE, input.ConsumeRemainingBytesAsString());

    engine::QuietHost host;
    std::mt19937 random(static_cast<std::uint32_t>(size));
    engine::Engine engine(fuzzing::program_folder(), host, random);
    engine.user_name = user_name;
    engine.computer_name = computer_name;
    engine.debug_mode = debug_mode;
    allowing_reported_errors([&] { engine.chat_turn(sentence); });
    allowing_reported_errors([&] { engine.fill_placeholders(sentence); });
    allowing_reported_errors([&] { engine.answer_from_free_talk(sentence); });
    allowing_reported_errors([&] { engine.ask_question_back(); });
    allowing_reported_errors([&] { engine.say_monologue_line(); });
    fuzzing::restore_file(DASOM_FUZZ_FILE);
    return 0;
}
