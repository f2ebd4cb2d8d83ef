#include "file_error.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

#include "codec.h"

namespace text {

namespace {

std::string describe(const std::filesystem::path& path, const std::string& reason) {
    return "파일 작업에 실패했습니다: " + path.string() + " (" + reason + ")";
}

std::string describe_conversion(const std::string& value, const std::filesystem::path& source) {
    std::string message = "'" + to_utf8(value) + "'은(는) 올바른 정수가 아닙니다.";
    if (!source.empty()) message += " (파일: " + source.string() + ")";
    return message;
}

}  // namespace

FileError::FileError(const std::filesystem::path& path, int error_number)
    : FileError(path, std::string(std::strerror(error_number))) {}

FileError::FileError(const std::filesystem::path& path, const std::string& reason)
    : std::runtime_error(describe(path, reason)), path_(path), reason_(reason) {}

ConversionError::ConversionError(const std::string& value, const std::filesystem::path& source)
    : std::runtime_error(describe_conversion(value, source)) {}

int parse_int(const std::string& value, const std::filesystem::path& source) {
    try {
        return parse_int(value);
    } catch (const ConversionError&) {
        throw ConversionError(value, source);
    }
}

int parse_int(const std::string& value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < value.size() && value[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= value.size()) throw ConversionError(value);

    std::uint64_t magnitude = 0;
    for (; i < value.size(); ++i) {
        const char c = value[i];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            throw ConversionError(value);
        }
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFull) throw ConversionError(value);
    }

    if (base == 16) {
        // Hexadecimal covers the whole 32-bit pattern: $FFFFFFFF is -1.
        const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
        return negative ? static_cast<int>(-static_cast<std::int64_t>(bits)) : bits;
    }
    const std::int64_t signed_value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (signed_value < std::numeric_limits<std::int32_t>::min() ||
        signed_value > std::numeric_limits<std::int32_t>::max()) {
        throw ConversionError(value);
    }
    return static_cast<int>(signed_value);
}

}  // namespace text
