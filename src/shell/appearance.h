#pragma once
// Fonts and pictures shared by the program's windows.

#include <QIcon>
#include <QString>

namespace shell {

// The program's fonts are requested by their Korean names; fontconfig does not know them, so
// they are mapped onto an installed Korean font. Safe to call more than once.
void install_font_substitutions();

// Loads Qt's own Korean texts (확인/취소, the edit menus), whatever the locale: every text of
// the program is Korean. False when the translation is not installed; Qt's texts stay English.
bool install_korean_translation();

// Makes the embedded pictures available (the resources live in a static library). Safe to
// call more than once.
void init_pictures();

// Resource paths of the embedded pictures.
inline const QString kBackgroundPicture = QStringLiteral(":/pictures/background.svg");
inline const QString kCharacterPicture = QStringLiteral(":/pictures/nuri.svg");
inline const QString kAboutPicture = QStringLiteral(":/pictures/about.svg");

// The program's icon, at the sizes task bars and trays ask for.
QIcon program_icon();

}  // namespace shell
