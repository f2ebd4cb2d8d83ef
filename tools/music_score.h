#pragma once
// The background music is kept in git as a score in a small text form and turned into a
// Standard MIDI File at build time.
//
//   ; a comment runs to the end of its line
//   tempo 72                      quarter notes a minute
//   meter 3/4                     beats a bar / beat unit
//   voice harp program 46 volume 90 pan 50 reverb 70 velocity 55
//   | f3:e c4 f4 a4 f4 c4 | ...   notes of the last voice named
//
// A note is a pitch (a-g, an optional # or b, an octave 0-9; "r" rests), several pitches joined
// by "+" sound together, and ":" names its length: w h q e s (whole to sixteenth), "." adds
// half. A note without a length takes the one before. "v=NN" sets the velocity of the notes
// that follow. "|" marks a bar line; every bar must be full, and every voice as long as the
// others, so that the piece loops without a seam.

#include <cstdint>
#include <string>
#include <string_view>

namespace tools {

// The Standard MIDI File (format 1, 480 ticks a quarter: a tempo track, then one track a voice,
// every track ending at the piece's end) for `score`. Throws std::runtime_error naming
// `source_name` and the line of the first mistake.
std::string midi_from_score(std::string_view score, const std::string& source_name);

}  // namespace tools
