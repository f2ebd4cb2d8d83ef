#pragma once
// What `dasom --help` prints, and the options whose value is the next argument (the program's
// own and Qt's), so that a value is never taken for --help or --version.

#include <string_view>
#include <vector>

namespace shell {

inline constexpr std::string_view kHelpText =
    "사용법: dasom [--folder 폴더]\n"
    "바탕화면의 말동무 누리와 한국어로 이야기하는 창 프로그램입니다.\n"
    "\n"
    "  --folder 폴더  이 폴더의 데이터 파일과 설정 파일(dasom.ini)을 씁니다\n"
    "  --help         이 도움말을 보이고 끝냅니다\n"
    "  --version      판 정보를 보이고 끝냅니다\n"
    "\n"
    "폴더를 주지 않으면 프로그램이 든 폴더에 데이터 파일이 있고 그 폴더에 쓸 수 있을 때\n"
    "그 폴더를, 아니면 사용자 폴더 $XDG_DATA_HOME/dasom(보통 ~/.local/share/dasom)을\n"
    "씁니다. 사용자 폴더에 없는 기본 파일은 시작할 때마다 채워 넣고, 있는 파일은 바꾸지\n"
    "않습니다. Qt의 공통 옵션(-platform 등)도 받습니다.\n"
    "자세한 내용은 man dasom 을 보세요.\n";

inline const std::vector<std::string_view> kOptionsWithValue = {
    "--folder", "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-display",
    "-style", "-stylesheet", "-session", "-qwindowgeometry", "-qwindowtitle", "-qwindowicon",
    "-geometry", "-title", "-name", "-font", "-bg", "-fg", "-btn", "-visual", "-ncols", "-cmap"};

}  // namespace shell
