#include "shell/logo_window.h"

#include <QCoreApplication>
#include <QLibrary>

#include <cstdint>

#include "shell/dialogs.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace shell {
namespace {

LogoWindow installed = nullptr;

LogoWindow from_module(QString& error) {
    // Next to the program (the program folder), or in lib/dasom beside an installed bin/.
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& name : {folder + QStringLiteral("/dasom_logo"),
                                folder + QStringLiteral("/../lib/dasom/dasom_logo")}) {
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
    // The media layer opens the file on this thread: a FIFO or a device in its place would
    // freeze the window, so only a regular file (or none, which the player reports) goes on.
    try {
        const text::InputFile probe(video, UINTMAX_MAX, text::InputFile::Missing::reads_as_empty);
    } catch (const text::FileError& refused) {
        dialogs().error(parent, QStringLiteral("logo.avi를 재생할 수 없습니다.\n%1")
                                    .arg(QString::fromStdString(refused.reason())));
        return;
    }
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
