// The window program: the companion's main window, run until it closes.

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/program_folder.h"
#include "settings/program_info.h"
#include "shell/appearance.h"
#include "shell/display_platform.h"
#include "shell/help_text.h"
#include "shell/message_boxes.h"
#include "shell/window/exit_signals.h"
#include "shell/window/main_window.h"
#include "shell/window/window_per_folder.h"

namespace {

const char* const kNoDisplay =
    "다솜 창을 띄울 화면에 연결하지 못했습니다(DISPLAY나 WAYLAND_DISPLAY를 확인해 주세요).\n"
    "터미널에서는 dasom-chat으로 다솜과 이야기할 수 있습니다.";

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before anything needs a display.
    if (const std::optional<int> answered = settings::answer_help_or_version(
            argc, argv, shell::kHelpText, shell::kOptionsWithValue))
        return *answered;
    // The logo video plays through GStreamer unless the user chose another media backend: the
    // other one Debian ships aborts where there is no audio device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
    std::vector<std::string> arguments = shell::platform_arguments(
        {argv, argv + argc}, std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE"),
        std::getenv("DISPLAY"), std::getenv("QT_QPA_PLATFORM"));
    if (!shell::window_system_named(arguments, std::getenv("WAYLAND_DISPLAY"),
                                    std::getenv("XDG_SESSION_TYPE"), std::getenv("DISPLAY"),
                                    std::getenv("QT_QPA_PLATFORM"))) {
        std::fprintf(stderr, "%s\n", kNoDisplay);
        return 1;
    }
    std::vector<char*> qt_argv;
    for (std::string& argument : arguments) qt_argv.push_back(argument.data());
    qt_argv.push_back(nullptr);
    int qt_argc = static_cast<int>(arguments.size());

    // Qt aborts when the display it was given cannot be reached (a stale DISPLAY, a compositor
    // that has gone): say that in Korean and end with 1 instead of dumping core.
    static QtMessageHandler qt_handler = nullptr;
    qt_handler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (qt_handler) qt_handler(type, context, message);
            if (type != QtFatalMsg) return;
            std::fprintf(stderr, "%s\n", kNoDisplay);
            std::_Exit(1);
        });
    QApplication app(qt_argc, qt_argv.data());
    qInstallMessageHandler(qt_handler);
    QApplication::setApplicationName(QStringLiteral("다솜V1.0"));
    // The desktop entry's name: Wayland compositors find the icon through it.
    QGuiApplication::setDesktopFileName(QStringLiteral("dasom"));
    // The window hides in the tray and dialogs close while it is hidden: only the main
    // window's own close ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    shell::install_font_substitutions();
    shell::install_korean_translation();
    QApplication::setWindowIcon(shell::program_icon());

    QCommandLineParser options;
    const QCommandLineOption folder_option(
        QStringLiteral("folder"), QStringLiteral("Use DIR as the program folder."),
        QStringLiteral("DIR"));
    options.addOption(folder_option);
    options.process(app);
    // Absolute: launching a program changes the current folder, the data files must not move.
    std::optional<std::filesystem::path> requested;
    if (options.isSet(folder_option))
        requested = std::filesystem::path(options.value(folder_option).toStdU16String());
    const settings::ProgramFolder folder = settings::choose_program_folder(
        {requested, settings::executable_folder(argv[0]), settings::user_data_folder()});
    if (folder.defaults_only) {
        // Everything the window keeps would land among the installed files.
        shell::message_boxes().error(nullptr, QString::fromStdString(folder.problem) +
                                                  QStringLiteral("\n다솜 창은 사용자 폴더가 있어야 "
                                                                 "시작할 수 있습니다."));
        return 1;
    }
    if (!folder.problem.empty())
        shell::message_boxes().error(nullptr, QString::fromStdString(folder.problem));

    shell::WindowPerFolder one_window(folder.folder);
    switch (one_window.start()) {
        case shell::WindowPerFolder::Start::first:
            break;
        case shell::WindowPerFolder::Start::forwarded:
            return 0;
        case shell::WindowPerFolder::Start::unanswered:
            std::fprintf(stderr, "%s\n", "이 폴더에서 다솜 창이 이미 실행 중이지만 대답하지 않습니다.");
            return 1;
    }

    // From here on logout, shutdown and Ctrl+C end the program through the window's own exit.
    shell::ExitSignals exit_signals;
    shell::MainWindow* ready = nullptr;  // the window, once built
    QObject::connect(&exit_signals, &shell::ExitSignals::received, &app, [&ready] {
        if (ready) {
            ready->close();
        } else {
            // Still starting (the set-up dialog is open): its loop ends, and so does the start.
            QCoreApplication::exit(0);
        }
    });
    QObject::connect(&one_window, &shell::WindowPerFolder::come_forward_requested, &app, [&ready] {
        if (ready) ready->come_forward();
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->raise();
            dialog->activateWindow();
        }
    });

    shell::MainWindow window(folder.folder);
    // Ended while starting: the window's destruction keeps what was set so far.
    if (shell::ExitSignals::arrived()) return 0;
    ready = &window;
    QObject::connect(&window, &shell::MainWindow::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // The desktop session ends: whatever waits to be saved is saved now.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window] { window.save_settings_now(); });
    window.show();
    return app.exec();
}
