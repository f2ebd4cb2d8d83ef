#include "file_error.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

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

std::string system_reason(int error_number) {
    switch (error_number) {
        case ENOENT: return "파일이나 폴더가 없습니다";
        case EACCES:
        case EPERM: return "권한이 없습니다";
        case EROFS: return "읽기 전용 파일 시스템입니다";
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return "디스크에 남은 공간이 없습니다";
        case EFBIG: return "파일이 허용된 크기를 넘습니다";
        case EISDIR: return "파일이 아니라 폴더입니다";
        case ENOTDIR: return "경로 중간에 폴더가 아닌 것이 있습니다";
        case ELOOP: return "심볼릭 링크를 따라갈 수 없습니다";
        case ENAMETOOLONG: return "경로가 너무 깁니다";
        case EIO: return "입출력 오류가 났습니다";
        case ENOMEM: return "메모리가 모자랍니다";
        case EMFILE:
        case ENFILE: return "열린 파일이 너무 많습니다";
        case EBUSY:
        case ETXTBSY: return "다른 프로그램이 쓰고 있습니다";
        case EXDEV: return "다른 파일 시스템으로는 옮길 수 없습니다";
        case EEXIST: return "같은 이름이 이미 있습니다";
        case ENOEXEC: return "실행할 수 있는 파일 형식이 아닙니다";
        default: break;
    }
    return "시스템 오류 " + std::to_string(error_number) + ": " + std::strerror(error_number);
}

std::string error_text(const std::exception& error) {
    // A string asked to grow past its largest size is the same failure as a refused allocation.
    if (dynamic_cast<const std::bad_alloc*>(&error) || dynamic_cast<const std::length_error*>(&error))
        return kOutOfMemory;
    return error.what();
}

FileError::FileError(const std::filesystem::path& path, int error_number)
    : FileError(path, system_reason(error_number)) {}

FileError::FileError(const std::filesystem::path& path, const std::string& reason)
    : std::runtime_error(describe(path, reason)), path_(path), reason_(reason) {}

FileBusy::FileBusy(const std::filesystem::path& path, const std::string& reason)
    : FileError(path, reason) {}

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
