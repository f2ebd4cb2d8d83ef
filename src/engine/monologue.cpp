// The monologue (mal.dat): a line of its own after the user has been idle.

#include "engine/data_names.h"
#include "engine/engine.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace engine {

void Engine::say_monologue_line() {
    // Read unchecked: a missing file reads as empty, and then the count fails to convert.
    text::LineReader lines(data_file(names::kMonologue), text::LineReader::Checking::unchecked);
    const int count = text::parse_int(lines.read_line(), data_file(names::kMonologue));
    if (count < 0) return;  // a negative count says nothing
    const int drawn = draw(count);
    // Past the end every line reads as empty, so a huge count need not be walked through.
    for (int i = 0; i < drawn && !lines.at_end(); ++i) lines.skip_line();
    host_.set_speech(lines.read_line());
    host_.show_speech();
}

}  // namespace engine
