#pragma once
// The one place where CP949 meets Unicode. Inside the core every text is CP949 bytes; the
// window and the terminal convert with these functions where text meets the screen.
//
// Decoding never fails: a byte sequence that is not CP949 shows as U+FFFD. Encoding reports
// every character that has no CP949 form; what replaces it depends on where the text goes.

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// CP949 bytes to UTF-8.
std::string to_utf8(std::string_view cp949);

// CP949 bytes to UTF-16 (for the window toolkit).
std::u16string to_utf16(std::string_view cp949);

struct Encoded {
    std::string bytes;
    // How many characters had no CP949 form, and the UTF-16 index of the first of them.
    std::size_t unmappable = 0;
    std::size_t first_unmappable = 0;
    bool complete() const { return unmappable == 0; }
};

// A character with no CP949 form becomes `substitute`. Invalid UTF-8 counts as unmappable.
Encoded from_utf16(std::u16string_view text, char substitute = '?');
Encoded from_utf8(std::string_view utf8, char substitute = '?');

// A typed chat sentence: characters with no CP949 form become the control byte 0x1A, which no
// keyword holds (a "?" would turn the sentence into a question).
inline constexpr char kUnmappableInSentence = '\x1A';
std::string sentence_from_utf8(std::string_view utf8);
std::string sentence_from_utf16(std::u16string_view text);

// The longest start of `cp949` that has at most `max_bytes` bytes and does not end inside a
// two-byte character (a lead byte 0x81-0xFE and the byte after it), so that a cut never leaves
// a lone lead byte behind.
std::string_view cut_at_character(std::string_view cp949, std::size_t max_bytes);

// Converts a UTF-8 text of the program's own (a message, a caption, a keyword) to CP949.
// Meant for texts that are known to have a CP949 form.
std::string cp949(std::string_view utf8);

}  // namespace text
