#include "audio_output.h"

#include <dlfcn.h>
#include <pulse/error.h>
#include <pulse/simple.h>

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "fluid_library.h"

namespace music {
namespace {

// The sound server holds this much, and asks for more when a quarter of it has played.
constexpr int kServerBufferMs = 2000;
constexpr int kServerRequestMs = 500;
// FluidSynth's drivers: its largest period, four of them (three quarters of a second).
constexpr int kDriverPeriodFrames = 8192;
constexpr int kDriverPeriods = 4;

// --- the sound server, through its simple interface (loaded when first used, like FluidSynth)

struct PulseLibrary {
    decltype(&::pa_simple_new) simple_new = nullptr;
    decltype(&::pa_simple_write) simple_write = nullptr;
    decltype(&::pa_simple_flush) simple_flush = nullptr;
    decltype(&::pa_simple_get_latency) simple_get_latency = nullptr;
    decltype(&::pa_simple_free) simple_free = nullptr;
    decltype(&::pa_strerror) strerror = nullptr;
};

const PulseLibrary* pulse_library(std::string& error) {
    static PulseLibrary loaded;
    static const PulseLibrary* library = []() -> const PulseLibrary* {
        void* simple = dlopen("libpulse-simple.so.0", RTLD_NOW | RTLD_LOCAL);
        void* pulse = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (simple == nullptr || pulse == nullptr) return nullptr;
        loaded.simple_new =
            reinterpret_cast<decltype(loaded.simple_new)>(dlsym(simple, "pa_simple_new"));
        loaded.simple_write =
            reinterpret_cast<decltype(loaded.simple_write)>(dlsym(simple, "pa_simple_write"));
        loaded.simple_flush =
            reinterpret_cast<decltype(loaded.simple_flush)>(dlsym(simple, "pa_simple_flush"));
        loaded.simple_get_latency = reinterpret_cast<decltype(loaded.simple_get_latency)>(
            dlsym(simple, "pa_simple_get_latency"));
        loaded.simple_free =
            reinterpret_cast<decltype(loaded.simple_free)>(dlsym(simple, "pa_simple_free"));
        loaded.strerror = reinterpret_cast<decltype(loaded.strerror)>(dlsym(pulse, "pa_strerror"));
        if (!loaded.simple_new || !loaded.simple_write || !loaded.simple_flush ||
            !loaded.simple_get_latency || !loaded.simple_free || !loaded.strerror) {
            return nullptr;
        }
        return &loaded;
    }();
    if (library == nullptr) error = "PulseAudio 라이브러리를 불러올 수 없습니다.";
    return library;
}

class ServerOutput : public AudioOutput {
  public:
    ServerOutput(const PulseLibrary& api, pa_simple* server, std::shared_ptr<SampleLoop> loop)
        : api_(api), server_(server), loop_(std::move(loop)), thread_(&ServerOutput::run, this) {}

    ~ServerOutput() override {
        {
            const std::lock_guard lock(mutex_);
            quit_ = true;
        }
        woken_.notify_all();
        thread_.join();
        api_.simple_free(server_);
    }

    void wake() override {
        { const std::lock_guard lock(mutex_); }
        woken_.notify_all();
    }

  private:
    void run() {
        const int rate = loop_->rate();
        std::vector<std::int16_t> block(2 * static_cast<std::size_t>(rate) * kServerRequestMs /
                                        1000);
        const int fade_frames = rate * SampleLoop::kFadeMilliseconds / 1000 + 1;
        bool unheard = false;  // sound written since the last stop
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                woken_.wait(lock, [&] { return quit_ || loop_->playing() || unheard; });
                // A stop not yet taken back is, even on the way out: playing again goes on
                // from what was heard.
                if (quit_ && (loop_->playing() || !unheard)) return;
            }
            int error = 0;
            if (!loop_->playing()) {
                // Stopped: what the server still holds is dropped, the loop goes back to what
                // was heard last, and fades out from there.
                const pa_usec_t latency = api_.simple_get_latency(server_, &error);
                api_.simple_flush(server_, &error);
                if (latency != static_cast<pa_usec_t>(-1)) {
                    loop_->take_back(static_cast<std::int64_t>(latency * rate / 1000000));
                }
                loop_->read(block.data(), fade_frames);
                api_.simple_write(server_, block.data(), 4 * static_cast<std::size_t>(fade_frames),
                                  &error);
                unheard = false;
                continue;
            }
            const int frames = static_cast<int>(block.size() / 2);
            loop_->read(block.data(), frames);
            unheard = true;
            // Waits while the server's buffer is full: the output's only pause.
            if (api_.simple_write(server_, block.data(), 4 * static_cast<std::size_t>(frames),
                                  &error) < 0) {
                return;  // the server went away; silence from here on
            }
        }
    }

    const PulseLibrary& api_;
    pa_simple* const server_;
    const std::shared_ptr<SampleLoop> loop_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool quit_ = false;
    std::thread thread_;
};

std::unique_ptr<AudioOutput> open_server(const std::shared_ptr<SampleLoop>& loop,
                                         std::string& error) {
    const PulseLibrary* api = pulse_library(error);
    if (api == nullptr) return nullptr;
    const pa_sample_spec format{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(loop->rate()), 2};
    const std::uint32_t bytes_a_second = 4 * static_cast<std::uint32_t>(loop->rate());
    pa_buffer_attr buffer{};
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = bytes_a_second * kServerBufferMs / 1000;
    buffer.minreq = bytes_a_second * kServerRequestMs / 1000;
    // Playing starts at once, also after a stop has dropped the buffer and left only the fade.
    buffer.prebuf = bytes_a_second * SampleLoop::kFadeMilliseconds / 1000;
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    int code = 0;
    pa_simple* server = api->simple_new(nullptr, "다솜", PA_STREAM_PLAYBACK, nullptr, "배경음악",
                                        &format, nullptr, &buffer, &code);
    if (server == nullptr) {
        error = std::string("pulseaudio: ") + api->strerror(code);
        return nullptr;
    }
    try {
        return std::make_unique<ServerOutput>(*api, server, loop);
    } catch (const std::system_error&) {
        api->simple_free(server);
        error = "오디오 출력 스레드를 만들 수 없습니다.";
        return nullptr;
    }
}

// --- FluidSynth's drivers, fed from the loop

class DriverOutput : public AudioOutput {
  public:
    DriverOutput(const FluidLibrary& api, std::shared_ptr<SampleLoop> loop)
        : api_(api), loop_(std::move(loop)) {}

    ~DriverOutput() override {
        if (driver_ != nullptr) api_.delete_fluid_audio_driver(driver_);
        if (settings_ != nullptr) api_.delete_fluid_settings(settings_);
    }

    bool open(const std::string& name, std::string& error) {
        settings_ = api_.new_fluid_settings();
        if (settings_ == nullptr) {
            error = name + ": " + take_fluid_log_message("알 수 없는 오류");
            return false;
        }
        api_.fluid_settings_setstr(settings_, "audio.driver", name.c_str());
        api_.fluid_settings_setnum(settings_, "synth.sample-rate", loop_->rate());
        api_.fluid_settings_setint(settings_, "audio.period-size", kDriverPeriodFrames);
        api_.fluid_settings_setint(settings_, "audio.periods", kDriverPeriods);
        const AlsaQuiet quiet(api_);
        driver_ = api_.new_fluid_audio_driver2(settings_, &DriverOutput::fill, this);
        if (driver_ == nullptr) {
            error = name + ": " + take_fluid_log_message("알 수 없는 오류");
            return false;
        }
        return true;
    }

    // The driver reads on; a stop fades out within its next period.
    void wake() override {}

  private:
    static int fill(void* data, int frames, int, float*[], int outputs, float* out[]) {
        if (outputs >= 2) static_cast<DriverOutput*>(data)->loop_->read(out[0], out[1], frames);
        return FLUID_OK;
    }

    const FluidLibrary& api_;
    const std::shared_ptr<SampleLoop> loop_;
    fluid_settings_t* settings_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
};

std::unique_ptr<AudioOutput> open_driver(const std::string& name,
                                         const std::shared_ptr<SampleLoop>& loop,
                                         std::string& error) {
    const FluidLibrary* api = fluid_library(error);
    if (api == nullptr) return nullptr;
    auto output = std::make_unique<DriverOutput>(*api, loop);
    if (!output->open(name, error)) return nullptr;
    return output;
}

// --- outputs let go

struct Closing {
    std::mutex mutex;
    std::condition_variable done;
    int pending = 0;
};

Closing& closing() {
    // Never destroyed: a closing thread may still run while the program ends.
    static Closing* const state = new Closing;
    return *state;
}

}  // namespace

std::unique_ptr<AudioOutput> AudioOutput::open(const std::string& driver,
                                               std::shared_ptr<SampleLoop> loop,
                                               std::string& error) {
    error.clear();
    std::string reason;
    if (driver.empty() || driver == "pulseaudio") {
        if (auto output = open_server(loop, reason)) return output;
        error = reason;
        if (!driver.empty()) return nullptr;
    }
    if (auto output = open_driver(driver.empty() ? "alsa" : driver, loop, reason)) return output;
    error += (error.empty() ? "" : "; ") + reason;
    return nullptr;
}

void close_in_background(std::unique_ptr<AudioOutput> output) {
    if (!output) return;
    Closing& state = closing();
    {
        const std::lock_guard lock(state.mutex);
        ++state.pending;
    }
    auto close = [](std::unique_ptr<AudioOutput> closing_output) {
        closing_output.reset();
        Closing& closed = closing();
        {
            const std::lock_guard lock(closed.mutex);
            --closed.pending;
        }
        closed.done.notify_all();
    };
    try {
        std::thread(close, std::move(output)).detach();
    } catch (const std::system_error&) {
        close(std::move(output));  // no thread to spare: closed here
    }
}

bool wait_for_closed_outputs(std::chrono::milliseconds limit) {
    Closing& state = closing();
    std::unique_lock lock(state.mutex);
    return state.done.wait_for(lock, limit, [&] { return state.pending == 0; });
}

}  // namespace music
