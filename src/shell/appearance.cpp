#include "shell/appearance.h"

#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

static void init_pictures_resource() { Q_INIT_RESOURCE(pictures); }

namespace shell {

void install_font_substitutions() {
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("굴림"), QStringLiteral("NanumGothic"));
        QFont::insertSubstitution(QStringLiteral("굴림체"), QStringLiteral("NanumGothicCoding"));
        QFont::insertSubstitution(QStringLiteral("Gulim"), QStringLiteral("NanumGothic"));
        QFont::insertSubstitution(QStringLiteral("GulimChe"), QStringLiteral("NanumGothicCoding"));
        return true;
    }();
    (void)done;
}

bool install_korean_translation() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QStringLiteral("qtbase_ko"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

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
