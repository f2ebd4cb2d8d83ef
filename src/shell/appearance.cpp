#include "shell/appearance.h"

static void init_pictures_resource() { Q_INIT_RESOURCE(pictures); }

namespace shell {

void init_pictures() {
    static const bool done = [] {
        init_pictures_resource();
        return true;
    }();
    (void)done;
}

QIcon program_icon() {
    // Drawn at build time (tools/render_icon.cpp); the application, the window and the tray
    // share one icon.
    static const QIcon icon = [] {
        init_pictures();
        QIcon loaded;
        // The sizes the build drew (DASOM_ICON_SIZES in src/shell/CMakeLists.txt).
        for (const int size : {DASOM_ICON_SIZES}) {
            loaded.addFile(QStringLiteral(":/pictures/icon/%1.png").arg(size), QSize(size, size));
        }
        return loaded;
    }();
    return icon;
}

}  // namespace shell
