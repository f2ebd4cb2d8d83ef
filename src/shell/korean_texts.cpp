// The fonts and Qt's own texts every window of the program uses, the helper programs' windows
// included (declared in appearance.h).
#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "shell/appearance.h"

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

}  // namespace shell
