// Build step: turns the score of the background music into a Standard MIDI File.
//
//   dasom-make-music SCORE OUTPUT

#include <exception>
#include <iostream>

#include "music_score.h"
#include "text/line_reader.h"
#include "text/line_writer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "사용법: dasom-make-music 악보파일 출력파일\n";
        return 2;
    }
    try {
        const std::filesystem::path source = argv[1];
        const std::string midi =
            tools::midi_from_score(text::read_file(source), source.filename().string());
        text::replace_file(argv[2], midi);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
