#include "shell/dialogs/text_document.h"

#include <system_error>
#include <utility>

#include "text/codec.h"
#include "text/file_error.h"
#include "text/line_reader.h"

namespace shell {

namespace {

// Every line followed by CR LF; a final "\n" ends the last line rather than starting an empty
// one. Works on bytes and on UTF-16 alike: only "\r" and "\n" are looked at.
template <typename Char>
std::basic_string<Char> with_crlf(std::basic_string_view<Char> lf_text) {
    std::basic_string<Char> out;
    out.reserve(lf_text.size() + lf_text.size() / 16 + 2);
    for (Char c : lf_text) {
        if (c == Char('\n')) out += Char('\r');
        out += c;
    }
    if (!lf_text.empty() && lf_text.back() != Char('\n')) {
        out += Char('\r');
        out += Char('\n');
    }
    return out;
}

template <typename Char>
std::basic_string<Char> without_cr_before_lf(std::basic_string_view<Char> text) {
    std::basic_string<Char> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n')) continue;
        out += text[i];
    }
    return out;
}

}  // namespace

TextDocument TextDocument::load(const std::filesystem::path& path) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (error) throw text::FileError(path, error.value());
    if (!exists) {
        TextDocument document;
        document.missing_ = true;
        return document;
    }
    return from_bytes(text::read_file(path));
}

TextDocument TextDocument::from_bytes(std::string bytes) {
    TextDocument document;
    document.text_ = without_cr_before_lf<char16_t>(text::to_utf16(bytes));
    document.bytes_ = std::move(bytes);

    // The widget turns a lone CR into a line break and cannot hold a NUL; bytes that are not
    // CP949 show as U+FFFD, which has no way back. Any of these would be lost by saving.
    const std::u16string& shown = document.text_;
    if (shown.find(u'\r') != std::u16string::npos || shown.find(u'\0') != std::u16string::npos) {
        document.editable_ = false;
    } else {
        const Encoding again = encode(shown);
        const std::string lf_bytes = without_cr_before_lf<char>(document.bytes_);
        document.editable_ = again.bad_line == 0 && again.bytes == with_crlf<char>(lf_bytes);
    }
    return document;
}

TextDocument::Encoding TextDocument::encode(std::u16string_view edited) {
    Encoding result;
    const std::u16string crlf = with_crlf<char16_t>(edited);
    text::Encoded encoded = text::from_utf16(crlf);
    if (!encoded.complete()) {
        const std::size_t at = encoded.first_unmappable;
        std::size_t line = 1;
        for (std::size_t i = 0; i < at && i < crlf.size(); ++i) {
            if (crlf[i] == u'\n') ++line;
        }
        const bool pair = at + 1 < crlf.size() && (crlf[at] & 0xFC00) == 0xD800;
        result.bad_line = line;
        result.bad_character = crlf.substr(at, pair ? 2 : 1);
        return result;
    }
    result.bytes = std::move(encoded.bytes);
    return result;
}

std::optional<std::string> TextDocument::changed_on_disk(const std::filesystem::path& path) const {
    // The notes start with a byte no data file starts with, so they never equal file bytes.
    try {
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            if (missing_ && !error) return std::nullopt;
            return std::string("\0missing", 8);
        }
        std::string bytes = text::read_file(path);
        if (!missing_ && bytes == bytes_) return std::nullopt;
        return bytes;
    } catch (const text::FileError& error) {
        return std::string(1, '\0') + error.what();
    }
}

void TextDocument::saved(std::u16string text, std::string bytes) {
    text_ = std::move(text);
    bytes_ = std::move(bytes);
    missing_ = false;
    editable_ = true;
}

}  // namespace shell
