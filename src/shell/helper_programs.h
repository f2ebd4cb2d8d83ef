#pragma once
// The companion's helper programs (the logo player, the music renderer): short-lived processes
// that keep libraries the companion would otherwise hold for the whole run out of it.

#include <filesystem>

namespace shell {

// Where the helper `name` is: beside the program (the program folder of a build), or in the
// helpers' folder beside an installed bin/ (lib/dasom: DASOM_HELPER_DIR in the build). The
// first place when it is in neither, for the message.
std::filesystem::path helper_program(const char* name);

}  // namespace shell
