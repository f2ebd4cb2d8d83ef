#include "fluid_library.h"

#include <dlfcn.h>

#include <mutex>

namespace music {
namespace {

FluidLibrary loaded;
const FluidLibrary* library = nullptr;
std::string load_error;

std::mutex log_mutex;
std::string last_log_message;

void collect_log(int level, const char* message, void*) {
    if (level > FLUID_WARN || message == nullptr) return;
    const std::lock_guard lock(log_mutex);
    last_log_message = message;
}

void quiet_alsa(const char*, int, const char*, int, const char*, ...) {}

void load() {
    void* handle = nullptr;
    for (const char* name : {"libfluidsynth.so.3", "libfluidsynth.so"}) {
        handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) break;
    }
    if (handle == nullptr) {
        const char* reason = dlerror();
        load_error = std::string("FluidSynth를 불러올 수 없습니다: ") + (reason ? reason : "");
        return;
    }
#define DASOM_FLUID_RESOLVE(name)                                                \
    loaded.name = reinterpret_cast<decltype(loaded.name)>(dlsym(handle, #name)); \
    if (loaded.name == nullptr) {                                                \
        load_error = "FluidSynth에 " #name "이(가) 없습니다.";                   \
        return;                                                                  \
    }
    DASOM_FLUID_FUNCTIONS(DASOM_FLUID_RESOLVE)
#undef DASOM_FLUID_RESOLVE
    // FluidSynth brought ALSA along where it was built with it.
    if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD)) {
        loaded.set_alsa_error_handler = reinterpret_cast<decltype(loaded.set_alsa_error_handler)>(
            dlsym(alsa, "snd_lib_error_set_handler"));
    }
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        loaded.fluid_set_log_function(level, collect_log, nullptr);
    }
    library = &loaded;
}

}  // namespace

const FluidLibrary* fluid_library(std::string& error) {
    static std::once_flag once;
    std::call_once(once, load);
    if (library == nullptr) error = load_error;
    return library;
}

std::string take_fluid_log_message(const std::string& fallback) {
    const std::lock_guard lock(log_mutex);
    std::string message = last_log_message.empty() ? fallback : last_log_message;
    last_log_message.clear();
    return message;
}

AlsaQuiet::AlsaQuiet(const FluidLibrary& api) : api_(api) {
    if (api_.set_alsa_error_handler != nullptr) api_.set_alsa_error_handler(quiet_alsa);
}

AlsaQuiet::~AlsaQuiet() {
    if (api_.set_alsa_error_handler != nullptr) api_.set_alsa_error_handler(nullptr);
}

}  // namespace music
