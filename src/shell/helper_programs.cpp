#include "shell/helper_programs.h"

#include <QCoreApplication>

#include <system_error>

namespace shell {

std::filesystem::path helper_program(const char* name) {
    const std::filesystem::path folder(QCoreApplication::applicationDirPath().toStdU16String());
    const std::filesystem::path beside = folder / name;
    std::error_code error;
    for (const auto& place : {beside, folder / ".." / DASOM_HELPER_DIR / name}) {
        if (std::filesystem::is_regular_file(place, error)) return place.lexically_normal();
    }
    return beside;
}

}  // namespace shell
