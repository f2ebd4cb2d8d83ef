#include "codec.h"

#include <unicode/ucnv.h>
#include <unicode/utf16.h>
#include <unicode/ucnv_err.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace text {

namespace {

// ICU's "CP949" is IBM-949, which lacks most Hangul syllables; "windows-949" is the full table.
constexpr const char* kConverterName = "windows-949";

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

UConverter* converter() {
    thread_local Converter instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        Converter c(ucnv_open(kConverterName, &status));
        if (U_FAILURE(status) || !c) throw std::runtime_error("CP949 변환기를 열 수 없습니다.");
        return c;
    }();
    ucnv_reset(instance.get());
    return instance.get();
}

std::u16string utf8_to_utf16(std::string_view utf8, std::size_t* invalid) {
    std::u16string out(utf8.size() + 1, u'\0');
    int32_t length = 0;
    int32_t substitutions = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                         &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD,
                         &substitutions, &status);
    if (U_FAILURE(status)) throw std::runtime_error("UTF-8 변환에 실패했습니다.");
    out.resize(length);
    if (invalid) *invalid = static_cast<std::size_t>(substitutions);
    return out;
}

std::string utf16_to_utf8(std::u16string_view text) {
    std::string out(text.size() * 3 + 1, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                       0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) throw std::runtime_error("UTF-8 변환에 실패했습니다.");
    out.resize(length);
    return out;
}

}  // namespace

std::u16string to_utf16(std::string_view cp949) {
    UConverter* cnv = converter();
    std::u16string out(cp949.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    // The default callback substitutes U+FFFD for bytes that are not CP949.
    const int32_t length =
        ucnv_toUChars(cnv, reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                      cp949.data(), static_cast<int32_t>(cp949.size()), &status);
    if (U_FAILURE(status)) throw std::runtime_error("CP949 변환에 실패했습니다.");
    out.resize(length);
    return out;
}

std::string to_utf8(std::string_view cp949) { return utf16_to_utf8(to_utf16(cp949)); }

Encoded from_utf16(std::u16string_view text, char substitute) {
    Encoded result;
    UConverter* cnv = converter();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);

    result.bytes.resize(text.size() * 2 + 16);
    const UChar* const begin = reinterpret_cast<const UChar*>(text.data());
    const UChar* source = begin;
    const UChar* const source_end = begin + text.size();
    std::size_t written = 0;
    for (;;) {
        char* target = result.bytes.data() + written;
        char* const target_end = result.bytes.data() + result.bytes.size();
        status = U_ZERO_ERROR;
        ucnv_fromUnicode(cnv, &target, target_end, &source, source_end, nullptr, true, &status);
        written = target - result.bytes.data();
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            result.bytes.resize(result.bytes.size() * 2);
            continue;
        }
        if (U_SUCCESS(status)) break;
        // An unmappable or unpaired character: the converter stopped right after it.
        if (result.unmappable == 0) {
            std::size_t at = static_cast<std::size_t>(source - begin);
            const bool pair = at >= 2 && U16_IS_TRAIL(source[-1]) && U16_IS_LEAD(source[-2]);
            result.first_unmappable = at - (pair ? 2 : at > 0 ? 1 : 0);
        }
        ++result.unmappable;
        ucnv_reset(cnv);
        if (written == result.bytes.size()) result.bytes.resize(result.bytes.size() * 2);
        result.bytes[written++] = substitute;
    }
    result.bytes.resize(written);
    ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);
    return result;
}

Encoded from_utf8(std::string_view utf8, char substitute) {
    std::size_t invalid = 0;
    const std::u16string wide = utf8_to_utf16(utf8, &invalid);
    Encoded result = from_utf16(wide, substitute);
    if (invalid) {
        // U+FFFD itself has no CP949 form, so every invalid UTF-8 sequence was counted above.
        result.unmappable = std::max(result.unmappable, invalid);
    }
    return result;
}

std::string sentence_from_utf16(std::u16string_view text) {
    return from_utf16(text, kUnmappableInSentence).bytes;
}

std::string sentence_from_utf8(std::string_view utf8) {
    return from_utf8(utf8, kUnmappableInSentence).bytes;
}

std::string cp949(std::string_view utf8) { return from_utf8(utf8).bytes; }

std::string_view cut_at_character(std::string_view cp949, std::size_t max_bytes) {
    if (cp949.size() <= max_bytes) return cp949;
    // Lead and trail bytes share a range, so characters are counted from the start.
    std::size_t at = 0;
    while (at < max_bytes) {
        const auto byte = static_cast<unsigned char>(cp949[at]);
        const std::size_t length = byte >= 0x81 && byte <= 0xFE ? 2 : 1;
        if (at + length > max_bytes) break;
        at += length;
    }
    return cp949.substr(0, at);
}

}  // namespace text
