// The module dasom_logo: the logo window with Qt Multimedia, loaded by the program when the logo
// is first shown (see logo_window.h).

#include <QtGlobal>

#include "shell/logo_form.h"

extern "C" Q_DECL_EXPORT void dasom_show_logo(const std::filesystem::path& video, QWidget* parent) {
    TLogoForm form(video, parent);
    form.exec();
}
