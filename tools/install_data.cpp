// Build step: brings the folder of default files up to date with the data sources (converted to
// CP949 with CR LF) and the assets (music, video: copied as they are), then gives the program
// folder every default file it lacks. Files already in the program folder are the user's and stay
// as they are. The defaults folder is what an install copies to share/dasom.
//
//   dasom-install-data SOURCE_FOLDER DEFAULTS_FOLDER PROGRAM_FOLDER [ASSET...]

#include <exception>
#include <iostream>

#include "data_files.h"
#include "settings/program_folder.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "사용법: dasom-install-data 원본폴더 기본파일폴더 프로그램폴더 [파일...]\n";
        return 2;
    }
    try {
        tools::install_data_folder(argv[1], argv[2], tools::Existing::refresh);
        for (int i = 4; i < argc; ++i) {
            tools::install_asset(argv[i], argv[2], tools::Existing::refresh);
        }
        const int written = settings::fill_folder(argv[2], argv[3]);
        if (written > 0) std::cout << "데이터 파일 " << written << "개를 설치했습니다.\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
