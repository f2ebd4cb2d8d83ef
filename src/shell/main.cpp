// The window program: the companion's main window, run until it closes.

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <filesystem>

#include "shell/appearance.h"
#include "shell/main_window.h"

int main(int argc, char* argv[]) {
    // The logo video plays through GStreamer unless the user chose another media backend: the
    // other one Debian ships aborts where there is no audio device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("다솜V1.0"));
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
    options.addHelpOption();
    options.process(app);
    // Absolute: launching a program changes the current folder, the data files must not move.
    const QString folder = options.isSet(folder_option)
                               ? QFileInfo(options.value(folder_option)).absoluteFilePath()
                               : QCoreApplication::applicationDirPath();

    TMainForm window(std::filesystem::path(folder.toStdU16String()));
    QObject::connect(&window, &TMainForm::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
