// The window program: the companion's main window, run until it closes.

#include <QApplication>
#include <QCommandLineParser>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/program_folder.h"
#include "settings/program_info.h"
#include "shell/appearance.h"
#include "shell/dialogs.h"
#include "shell/display_platform.h"
#include "shell/help_text.h"
#include "shell/main_window.h"

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
    std::vector<char*> qt_argv;
    for (std::string& argument : arguments) qt_argv.push_back(argument.data());
    qt_argv.push_back(nullptr);
    int qt_argc = static_cast<int>(arguments.size());

    QApplication app(qt_argc, qt_argv.data());
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
    if (!folder.problem.empty()) shell::dialogs().error(nullptr, QString::fromStdString(folder.problem));

    TMainForm window(folder.folder);
    QObject::connect(&window, &TMainForm::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
