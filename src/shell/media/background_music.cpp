#include "shell/media/background_music.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <iostream>
#include <mutex>
#include <system_error>
#include <thread>

#include "music/audio_output.h"
#include "music/midi_player.h"
#include "music/render_helper.h"
#include "shell/helper_programs.h"

namespace shell {
namespace {
// How long a stopped piece keeps its audio output: a switch back on within it goes on at
// once; after it the output closes, so that a silent player costs no processor time.
constexpr int kCloseAfterMs = 1000;

QByteArray audio_driver() {
    return qgetenv("DASOM_AUDIO_DRIVER");
}
}  // namespace

struct BackgroundMusic::Rendering {
    std::atomic<bool> cancel{false};
    std::thread thread;
};

// An output being opened. Once the music has closed (`abandoned`) the opening thread lets its
// output go instead of handing it over; the flag and the hand-over share the mutex, so the
// hand-over is never posted to a player that has gone.
struct BackgroundMusic::Opening {
    std::mutex mutex;
    bool abandoned = false;
};

// The opened output on its way to the window's thread: one nobody took is let go without
// waiting for it.
struct BackgroundMusic::OpenedOutput {
    std::unique_ptr<music::AudioOutput> output;
    std::string error;
    ~OpenedOutput() { music::close_in_background(std::move(output)); }
};

BackgroundMusic::BackgroundMusic(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("MediaPlayer1"));
    close_timer_ = new QTimer(this);
    close_timer_->setSingleShot(true);
    close_timer_->setInterval(kCloseAfterMs);
    connect(close_timer_, &QTimer::timeout, this, [this] {
        if (player_ && !player_->playing()) player_->stop_output();
    });
}

BackgroundMusic::~BackgroundMusic() {
    close();
}

bool BackgroundMusic::open(const std::filesystem::path& file) {
    file_ = file;
    player_ = music::MidiPlayer::open(file);
    return player_ != nullptr;
}

void BackgroundMusic::allow_output() {
    output_allowed_ = true;
    if (playing()) QTimer::singleShot(0, this, &BackgroundMusic::start_sound);
}

void BackgroundMusic::play() {
    if (!player_) return;
    close_timer_->stop();
    player_->play();
    if (output_allowed_) QTimer::singleShot(0, this, &BackgroundMusic::start_sound);
}

void BackgroundMusic::stop() {
    if (!player_) return;
    player_->stop();
    if (player_->output_running()) close_timer_->start();
}

bool BackgroundMusic::playing() const {
    return player_ && player_->playing();
}

void BackgroundMusic::close() {
    close_timer_->stop();
    if (render_) {
        // The thread waiting for the helper looks at the flag ten times a second and then
        // stops the helper.
        render_->cancel = true;
        if (render_->thread.joinable()) render_->thread.join();
        render_.reset();
    }
    if (opening_) {
        // The server may still not have answered: the thread is not waited for.
        const std::lock_guard lock(opening_->mutex);
        opening_->abandoned = true;
    }
    opening_.reset();
    player_.reset();  // the output, if any, closes on a thread of its own
}

void BackgroundMusic::start_sound() {
    if (!playing() || output_failed_ || !output_allowed_) return;
    const QByteArray driver = audio_driver();
    if (driver == "none") return;
    if (!player_->has_sound()) {
        start_rendering();
        return;
    }
    if (player_->output_running() || opening_) return;
    auto job = std::make_shared<Opening>();
    const QPointer<BackgroundMusic> self(this);
    try {
        std::thread([job, self, loop = player_->sound(), driver = driver.toStdString()] {
            auto opened = std::make_shared<OpenedOutput>();
            opened->output = music::AudioOutput::open(driver, loop, opened->error);
            const std::lock_guard lock(job->mutex);
            if (job->abandoned) return;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [job, self, opened] {
                    if (self) self->take_output(job, *opened);
                },
                Qt::QueuedConnection);
        }).detach();
    } catch (const std::system_error& failure) {
        give_up(failure.what());
        return;
    }
    opening_ = std::move(job);
}

void BackgroundMusic::take_output(const std::shared_ptr<Opening>& job, OpenedOutput& opened) {
    if (job != opening_) return;  // closed meanwhile: the output goes with `opened`
    opening_.reset();
    if (!opened.output) {
        give_up(opened.error);
        return;
    }
    player_->adopt_output(std::move(opened.output));
    // Switched off while the server was being asked: closed like any stopped output.
    if (!player_->playing()) close_timer_->start();
}

void BackgroundMusic::start_rendering() {
    if (render_) return;
    auto job = std::make_shared<Rendering>();
    const QPointer<BackgroundMusic> self(this);
    try {
        // The thread only waits for the helper that renders.
        job->thread = std::thread(
            [job, self, helper = shell::helper_program("dasom-render-music"), file = file_] {
                std::string error;
                auto piece = std::make_shared<std::optional<music::RenderedPiece>>(
                    music::render_piece_in_helper(helper, file, music::sound_font_path(),
                                                  music::kRenderRate, job->cancel, error));
                if (job->cancel) return;
                // The window's thread takes it over, if the window is still there.
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [job, self, piece, error] {
                        if (self) self->take_rendering(job, *piece, error);
                    },
                    Qt::QueuedConnection);
            });
    } catch (const std::system_error& failure) {
        give_up(failure.what());
        return;
    }
    render_ = std::move(job);
}

void BackgroundMusic::take_rendering(const std::shared_ptr<Rendering>& job,
                                     std::optional<music::RenderedPiece>& piece,
                                     const std::string& error) {
    if (job != render_) return;  // closed meanwhile
    if (render_->thread.joinable()) render_->thread.join();
    render_.reset();
    if (!piece) {
        give_up(error);
        return;
    }
    player_->set_sound(std::move(*piece));
    piece.reset();
    start_sound();
}

void BackgroundMusic::give_up(const std::string& error) {
    // Not the user's music file at fault: no box, one line for whoever looks.
    std::cerr << "dasom: 배경음악을 들려줄 수 없습니다. " << error << '\n';
    output_failed_ = true;
}

}  // namespace shell
