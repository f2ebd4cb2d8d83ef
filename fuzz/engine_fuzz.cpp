// Feeds the engine arbitrary data files and sentences: no input may crash, hang or read out
// of bounds. The input is split at 0x00 bytes into a sentence and the data files.
//
// Build and run with scripts/fuzz (see fuzz/CMakeLists.txt).

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "engine/engine.h"
#include "engine/quiet_host.h"
#include "program_folder.h"
#include "text/file_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const files[] = {"reserve.dat", "data1.dat", "data2.dat", "data3.dat",
                                        "data4.dat",   "vowel.dat", "mal.dat"};
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = input.find('\0');
    const std::string sentence = input.substr(0, start);
    for (const char* name : files) {
        std::string contents;
        if (start != std::string::npos) {
            const std::size_t end = input.find('\0', start + 1);
            contents = input.substr(start + 1, end == std::string::npos ? end : end - start - 1);
            start = end;
        }
        fuzzing::put_file(name, contents);
    }

    engine::QuietHost host;
    std::mt19937 random(size);
    engine::Engine engine(fuzzing::program_folder(), host, random);
    engine.user_name = "$#%[";
    engine.computer_name = "{]";
    for (int turn = 0; turn < 2; ++turn) {
        try {
            engine.chat_turn(sentence);
        } catch (const text::ConversionError&) {
        }
        try {
            engine.say_monologue_line();
        } catch (const text::ConversionError&) {
        }
    }
    return 0;
}
