// dasom-render-music: renders the background music once and writes its samples to standard
// output, for the companion to loop (render_helper.h). A helper of the companion, not a program
// for users.
//
//   dasom-render-music MIDI_FILE SOUND_FONT RATE

#include <sys/resource.h>

#include <atomic>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "music/midi_file.h"
#include "music/render_helper.h"
#include "music/rendered_piece.h"

int main(int argc, char** argv) {
    if (argc == 2 &&
        (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "--version") == 0)) {
        std::printf(
            "dasom-render-music 1.0: 다솜의 배경음악을 한 번 만들어 표준 출력으로 보냅니다.\n"
            "사용법: dasom-render-music MIDI파일 음색파일 표본율\n");
        return 0;
    }
    int rate = 0;
    if (argc != 4 ||
        std::from_chars(argv[3], argv[3] + std::strlen(argv[3]), rate).ec != std::errc() ||
        rate < 8000 || rate > 192000) {
        std::fprintf(stderr, "사용법: dasom-render-music MIDI파일 음색파일 표본율\n");
        return 2;
    }
    // Rendering takes a second or two of a core: it gives way to whatever the user is doing.
    setpriority(PRIO_PROCESS, 0, 10);
    const std::optional<std::string> midi = music::read_midi_file(argv[1]);
    if (!midi) {
        std::fprintf(stderr, "%s: 연주할 수 있는 MIDI 파일이 아닙니다.\n", argv[1]);
        return 1;
    }
    const std::atomic<bool> never{false};
    std::string error;
    const std::optional<music::RenderedPiece> piece =
        music::render_piece(*midi, argv[2], rate, never, error);
    if (!piece) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return music::write_rendered_piece(1, *piece) ? 0 : 1;
}
