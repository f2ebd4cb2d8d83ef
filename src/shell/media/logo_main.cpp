// dasom-logo: plays the logo video in its window (shell::LogoVideoWindow) and ends, so that the
// media libraries behind it never stay in the companion (logo_window.h). A helper of the companion,
// not a program for users.
//
//   dasom-logo VIDEO [--over WINDOW-ID]
//
// --over names the companion's window on X11, which the logo window then stays above. Ends with
// 0 when the logo has been shown (to its end, or closed early), 1 after an error box.

#include <QApplication>
#include <QStringList>
#include <QWindow>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "shell/appearance.h"
#include "shell/media/logo_video_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Ends the process at a deadline, from a thread of its own, whatever the window's thread is
// stuck in: the logo window never outlives its deadline, even when the media layer hangs.
class ExitDeadline {
  public:
    explicit ExitDeadline(std::chrono::milliseconds from_now) : deadline_(Clock::now() + from_now) {
        std::thread([this] { watch(); }).detach();
    }

    // A new deadline from now; a negative one lifts it.
    void move_to(std::chrono::milliseconds from_now) {
        {
            const std::lock_guard lock(mutex_);
            armed_ = from_now.count() >= 0;
            deadline_ = Clock::now() + from_now;
        }
        changed_.notify_all();
    }

  private:
    void watch() {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (!armed_) {
                changed_.wait(lock);
            } else if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
                       Clock::now() >= deadline_) {
                std::_Exit(0);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = true;
    Clock::time_point deadline_;
};

// What a window that never hears from its media layer waits at most, with a margin for the
// window's own timer to do it first.
constexpr std::chrono::milliseconds kMargin(2000);

}  // namespace

int main(int argc, char* argv[]) {
    // Answered without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "--version") == 0) {
            std::printf(
                "dasom-logo 1.0: 다솜의 로고 영상을 한 번 보여 줍니다.\n"
                "사용법: dasom-logo 영상파일 [--over 창번호]\n");
            return 0;
        }
    }
    // Never destroyed: the process ends with std::_Exit.
    auto* deadline =
        new ExitDeadline(std::chrono::milliseconds(shell::LogoVideoWindow::kNoLengthMs) + kMargin);
    // The other media backend Debian ships aborts where there is no audio device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("다솜V1.0"));
    shell::install_font_substitutions();
    shell::install_korean_translation();

    const QStringList arguments = QApplication::arguments();
    QString video;
    WId over = 0;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--over") && i + 1 < arguments.size()) {
            over = static_cast<WId>(arguments[++i].toULongLong());
        } else {
            video = arguments[i];
        }
    }
    if (video.isEmpty()) {
        std::fprintf(stderr, "사용법: dasom-logo 영상파일 [--over 창번호]\n");
        return 2;
    }

    shell::LogoVideoWindow logo(std::filesystem::path(video.toStdU16String()), nullptr);
    QObject::connect(
        &logo, &shell::LogoVideoWindow::deadline_changed, [deadline](qint64 milliseconds) {
            deadline->move_to(milliseconds < 0 ? std::chrono::milliseconds(-1)
                                               : std::chrono::milliseconds(milliseconds) + kMargin);
        });
    if (over != 0) {
        logo.winId();
        if (QWindow* companion = QWindow::fromWinId(over)) {
            logo.windowHandle()->setTransientParent(companion);
        }
    }
    const int result = logo.exec();
    std::fflush(stdout);
    std::fflush(stderr);
    // The media layer is not waited for on the way out: its memory goes with the process.
    std::_Exit(result == QDialog::Accepted ? 0 : 1);
}
