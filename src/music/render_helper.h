#pragma once
// Rendering the piece in a short-lived process of its own, the program dasom-render-music:
// FluidSynth, the sound font and the dozens of libraries they bring never enter the companion,
// all their memory goes back to the system when the helper ends, and a file FluidSynth chokes
// on harms no more than the helper.

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>

#include "rendered_piece.h"

namespace music {

// The helper's side: writes `piece` to the file descriptor `fd` in the form
// render_piece_in_helper() reads. False when the descriptor takes no more.
bool write_rendered_piece(int fd, const RenderedPiece& piece);

// Runs `helper` on `midi_file` and reads the piece it renders with `font` at `rate` frames a
// second (render_piece()). Any thread. Nothing, with the reason in `error` (the helper's own
// message when it gives one), when the helper cannot be started, fails or writes anything else;
// nothing, with an empty error, soon after `cancel` becomes true (the helper is stopped).
std::optional<RenderedPiece> render_piece_in_helper(const std::filesystem::path& helper,
                                                    const std::filesystem::path& midi_file,
                                                    const std::filesystem::path& font, int rate,
                                                    const std::atomic<bool>& cancel,
                                                    std::string& error);

}  // namespace music
