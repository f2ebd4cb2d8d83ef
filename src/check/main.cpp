// dasom-check: looks over the data files of the program folder and lists every place where
// the format will trip the companion up.
//
//   dasom-check [--folder DIR]
//
// Prints one finding a line ("file:line: 오류: ..." or "... 경고: ..."), then a summary. Exits 1
// when there is an error, 0 when there are only warnings or nothing, 2 for bad arguments.

#include <filesystem>
#include <iostream>
#include <string>

#include "check/data_checker.h"

namespace {

std::filesystem::path executable_folder(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
    return std::filesystem::absolute(argv0).parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder;
    if (argc == 3 && std::string(argv[1]) == "--folder") {
        folder = argv[2];
    } else if (argc == 1) {
        folder = executable_folder(argv[0]);
    } else {
        std::cerr << "사용법: dasom-check [--folder 폴더]\n";
        return 2;
    }
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << folder.string() << ": 폴더가 없습니다.\n";
        return 2;
    }

    int errors = 0;
    int warnings = 0;
    for (const check::Finding& finding : check::check_folder(folder)) {
        std::cout << check::format(finding) << '\n';
        ++(finding.severity == check::Severity::error ? errors : warnings);
    }
    if (errors == 0 && warnings == 0) {
        std::cout << "데이터 파일에 문제가 없습니다.\n";
    } else {
        std::cout << "오류 " << errors << "개, 경고 " << warnings << "개\n";
    }
    return errors > 0 ? 1 : 0;
}
