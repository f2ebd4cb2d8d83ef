#pragma once
// A data file as the companion's own editor sees it: CP949 bytes on disk, UTF-16 lines on the
// screen. Kept free of Qt so the rules that protect the user's bytes can be tested alone:
//
// - LF and CR LF both end a line; what is shown joins the lines with "\n".
// - Saving writes every line with CR LF, and only when the text differs from what was read, so
//   an untouched file stays byte for byte as it was (LF line ends, odd bytes and all).
// - A file whose bytes would not come back the same after showing and saving them (bytes that
//   are not CP949, a lone CR, a NUL) is not editable.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

class TextDocument {
  public:
    // Reads the file. A missing file gives an empty document that `missing()` reports; a file
    // that exists but cannot be read throws text::FileError.
    static TextDocument load(const std::filesystem::path& path);
    static TextDocument from_bytes(std::string bytes);

    const std::u16string& text() const { return text_; }
    bool missing() const { return missing_; }
    // False when saving the shown text could not give back the bytes that were read.
    bool editable() const { return editable_; }
    // True when `edited` differs from the text read (or last saved).
    bool changed(std::u16string_view edited) const { return edited != text_; }

    struct Encoding {
        std::string bytes;  // every line followed by CR LF
        std::size_t bad_line =
            0;  // 1-based line of the first character with no CP949 form; 0: none
        std::u16string bad_character;
    };
    static Encoding encode(std::u16string_view text);

    // True when the file no longer holds the bytes read or last saved (another window wrote it).
    bool differs_on_disk(const std::filesystem::path& path) const {
        return changed_on_disk(path).has_value();
    }
    // Nothing when the file still holds the bytes read or last saved; otherwise what it holds
    // now (its bytes, or a note that it is missing or unreadable), so that two looks can tell
    // whether it changed again in between.
    std::optional<std::string> changed_on_disk(const std::filesystem::path& path) const;

    // Records that `text` was written as `bytes`: both become the new unchanged state.
    void saved(std::u16string text, std::string bytes);

  private:
    std::string bytes_;
    std::u16string text_;
    bool missing_ = false;
    bool editable_ = true;
};

}  // namespace shell
