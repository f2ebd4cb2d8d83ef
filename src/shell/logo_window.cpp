#include "shell/logo_window.h"

#include <QCoreApplication>
#include <QLibrary>

#include "shell/dialogs.h"

namespace shell {
namespace {

LogoWindow installed = nullptr;

LogoWindow from_module(QString& error) {
    // Next to the program (the program folder), or in the module folder beside an installed
    // bin/ (lib/<architecture>/dasom on Debian).
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& name : {folder + QStringLiteral("/dasom_logo"),
                                folder + QLatin1String("/../" DASOM_MODULE_DIR "/dasom_logo")}) {
        // Never unloaded: the media libraries it brings stay for the rest of the run.
        QLibrary module(name);
        module.setLoadHints(QLibrary::PreventUnloadHint);
        if (auto show = reinterpret_cast<LogoWindow>(module.resolve("dasom_show_logo"))) {
            return show;
        }
        if (error.isEmpty()) error = module.errorString();
    }
    return nullptr;
}

}  // namespace

void show_logo_window(const std::filesystem::path& video, QWidget* parent) {
    if (installed != nullptr) {
        installed(video, parent);
        return;
    }
    static QString error;
    static const LogoWindow module = from_module(error);
    if (module != nullptr) {
        module(video, parent);
        return;
    }
    dialogs().error(parent, QStringLiteral("로고 창을 열 수 없습니다.\n%1").arg(error));
}

void set_logo_window(LogoWindow replacement) {
    installed = replacement;
}

}  // namespace shell
