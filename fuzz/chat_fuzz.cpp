// Whole conversations on the default program folder: a few fuzzed sentences in a row, each a
// chat turn, with a monologue line between them. No sentence may crash, hang or read out of
// bounds, and the data files are never changed by a turn.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "engine/engine.h"
#include "engine/quiet_host.h"
#include "program_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    engine::QuietHost host;
    std::mt19937 random(input.ConsumeIntegral<std::uint32_t>());
    engine::Engine engine(fuzzing::program_folder(), host, random);
    engine.user_name = input.ConsumeRandomLengthString(20);
    engine.mood = input.ConsumeIntegral<std::int32_t>();
    for (int turn = 0; turn < 4 && input.remaining_bytes() > 0; ++turn) {
        engine.chat_turn(input.ConsumeRandomLengthString(300));
        engine.say_monologue_line();
    }
    for (const char* name : {"reserve.dat", "data1.dat", "data2.dat", "data3.dat", "data4.dat",
                             "vowel.dat", "mal.dat"}) {
        if (!fuzzing::is_default(name)) std::abort();
    }
    return 0;
}
