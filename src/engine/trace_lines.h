#pragma once
// Line numbers for the turn's trace, counted only while a trace is kept.

#include <cstddef>

#include "text/line_reader.h"

namespace engine {

// Passes over lines as LineReader::skip_lines_while does. With `count`, adds the number of lines
// passed over to it; without, nothing is counted on the way, so the bulk pass stays as lean as
// it is without a trace.
template <class Pass>
void skip_lines_while(text::LineReader& reader, Pass pass, std::size_t keep, int* count) {
    if (count != nullptr) {
        *count += static_cast<int>(reader.skip_lines_while(pass, keep));
    } else {
        reader.skip_lines_while(pass, keep);
    }
}

}  // namespace engine
