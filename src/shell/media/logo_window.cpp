#include "shell/media/logo_window.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QWidget>

#include <cstdint>

#include "shell/helper_programs.h"
#include "shell/message_boxes.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace shell {
namespace {

LogoWindow installed = nullptr;

void run_helper(const std::filesystem::path& video, QWidget* parent) {
    QProcess helper;
    QStringList arguments{QString::fromStdU16String(video.u16string())};
    // On X11 the logo stays above the companion's window, as a window of its own would.
    const QString platform = QGuiApplication::platformName();
    if (platform == QStringLiteral("xcb") && parent != nullptr && parent->isVisible()) {
        arguments << QStringLiteral("--over") << QString::number(parent->window()->winId());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    helper.setProcessEnvironment(environment);
    helper.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop waiting;
    QObject::connect(&helper, &QProcess::finished, &waiting, &QEventLoop::quit);
    helper.start(QString::fromStdU16String(helper_program("dasom-logo").u16string()), arguments);
    if (!helper.waitForStarted()) {
        message_boxes().error(
            parent, QStringLiteral("로고 창을 열 수 없습니다.\n%1").arg(helper.errorString()));
        return;
    }
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    // A program that ends meanwhile leaves the loop early; the helper then goes with this one.
}

}  // namespace

void show_logo_window(const std::filesystem::path& video, QWidget* parent) {
    // The media layer opens the file on this thread: a FIFO or a device in its place would
    // freeze the window, so only a regular file (or none, which the player reports) goes on.
    try {
        const text::InputFile probe(video, UINTMAX_MAX, text::InputFile::Missing::reads_as_empty);
    } catch (const text::FileError& refused) {
        message_boxes().error(parent, QStringLiteral("logo.avi를 재생할 수 없습니다.\n%1")
                                          .arg(QString::fromStdString(refused.reason())));
        return;
    }
    if (installed != nullptr) {
        installed(video, parent);
        return;
    }
    run_helper(video, parent);
}

void set_logo_window(LogoWindow replacement) {
    installed = replacement;
}

}  // namespace shell
