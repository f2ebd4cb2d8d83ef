// dasom-check: looks over the data files of the program folder and lists every place where
// the format will trip the companion up.
//
//   dasom-check [--folder DIR] | --help | --version
//
// Prints one finding a line ("file:line: 오류: ..." or "... 경고: ..."), then a summary. Exits 1
// when there is an error, 0 when there are only warnings or nothing, 2 for bad arguments. Without
// --folder it checks the program folder the companion itself would use.

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "check/data_checker.h"
#include "settings/program_folder.h"
#include "settings/program_info.h"

namespace {

constexpr std::string_view kHelp =
    "사용법: dasom-check [--folder 폴더]\n"
    "다솜의 데이터 파일을 살펴보고, 형식이 잘못되어 대화가 어긋날 곳을 모두 알려 줍니다.\n"
    "한 줄에 하나씩 \"파일:줄: 오류: ...\" 또는 \"파일:줄: 경고: ...\" 로 적고, 끝에 개수를\n"
    "적습니다.\n"
    "\n"
    "  --folder 폴더  이 폴더의 데이터 파일을 살펴봅니다\n"
    "  --help         이 도움말을 보이고 끝냅니다\n"
    "  --version      판 정보를 보이고 끝냅니다\n"
    "\n"
    "폴더를 주지 않으면 dasom 이 쓰는 프로그램 폴더를 같은 규칙으로 골라 살펴봅니다(설치한\n"
    "다솜이면 보통 ~/.local/share/dasom). 끝내는 값: 오류가 없으면 0, 있으면 1, 옵션이\n"
    "잘못되었거나 폴더가 없으면 2. 자세한 내용은 man dasom-check 를 보세요.\n";

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> answered =
            settings::answer_help_or_version(argc, argv, kHelp, {"--folder"}))
        return *answered;
    std::optional<std::filesystem::path> requested;
    if (argc == 3 && std::string(argv[1]) == "--folder") {
        requested = argv[2];
    } else if (argc != 1) {
        std::cerr << kHelp.substr(0, kHelp.find('\n') + 1) << "도움말: dasom-check --help\n";
        return 2;
    }
    const settings::ProgramFolder chosen = settings::choose_program_folder(
        {requested, settings::executable_folder(argv[0]), settings::user_data_folder()});
    if (!chosen.problem.empty()) std::cerr << chosen.problem << "\n\n";
    const std::filesystem::path& folder = chosen.folder;
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
