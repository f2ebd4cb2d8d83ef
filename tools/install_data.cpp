// Build step: fills the program folder with the data files, converted to CP949 with CR LF.
// The assets (music, video) are copied as they are. Files already there are the user's and stay
// as they are.
//
//   dasom-install-data SOURCE_FOLDER PROGRAM_FOLDER [ASSET...]

#include <exception>
#include <iostream>

#include "data_files.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "사용법: dasom-install-data 원본폴더 프로그램폴더 [파일...]\n";
        return 2;
    }
    try {
        int written = tools::install_data_folder(argv[1], argv[2]);
        for (int i = 3; i < argc; ++i) {
            if (tools::install_asset(argv[i], argv[2]) == tools::Installed::written) ++written;
        }
        if (written > 0) std::cout << "데이터 파일 " << written << "개를 설치했습니다.\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
