#pragma once
// FluidSynth, loaded the first time a piece is to sound rather than when the program starts:
// the library and the dozens it pulls in (sound servers, codecs) cost start-up time and memory
// that a program with its music switched off should not pay. It renders the piece once, and
// gives its audio drivers to an output that the sound server does not serve.

#include <fluidsynth.h>

#include <string>

namespace music {

#define DASOM_FLUID_FUNCTIONS(X) \
    X(fluid_set_log_function)    \
    X(new_fluid_settings)        \
    X(delete_fluid_settings)     \
    X(fluid_settings_setint)     \
    X(fluid_settings_setnum)     \
    X(fluid_settings_setstr)     \
    X(new_fluid_synth)           \
    X(delete_fluid_synth)        \
    X(fluid_synth_sfload)        \
    X(fluid_synth_write_s16)     \
    X(new_fluid_player)          \
    X(delete_fluid_player)       \
    X(fluid_player_add_mem)      \
    X(fluid_player_play)         \
    X(fluid_player_stop)         \
    X(fluid_player_get_status)   \
    X(fluid_player_get_total_ticks) \
    X(new_fluid_audio_driver2)   \
    X(delete_fluid_audio_driver)

struct FluidLibrary {
#define DASOM_FLUID_POINTER(name) decltype(&::name) name = nullptr;
    DASOM_FLUID_FUNCTIONS(DASOM_FLUID_POINTER)
#undef DASOM_FLUID_POINTER
    // ALSA's hook for its own error output; nullptr where FluidSynth came without ALSA.
    using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    int (*set_alsa_error_handler)(AlsaErrorHandler) = nullptr;
};

// The library, loaded once for the life of the process; nullptr with the reason in `error` when
// it cannot be loaded. Its log is collected (take_fluid_log_message) instead of going to
// standard error, so that a failure becomes one line of ours.
const FluidLibrary* fluid_library(std::string& error);

// The last error or warning FluidSynth logged since the last call, else `fallback`.
std::string take_fluid_log_message(const std::string& fallback);

// Holds back ALSA's own complaints on standard error while it lives (FluidSynth trying a
// device), so that a machine without sound gets the one line the caller writes.
class AlsaQuiet {
  public:
    explicit AlsaQuiet(const FluidLibrary& api);
    ~AlsaQuiet();
    AlsaQuiet(const AlsaQuiet&) = delete;
    AlsaQuiet& operator=(const AlsaQuiet&) = delete;

  private:
    const FluidLibrary& api_;
};

}  // namespace music
