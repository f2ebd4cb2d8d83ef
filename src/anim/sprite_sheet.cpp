#include "sprite_sheet.h"

#include <algorithm>

#include "text/line_reader.h"

namespace anim {

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;
// A sheet is a few hundred kilobytes; anything far larger is not one and is not read whole.
constexpr std::uintmax_t kLargestFile = 64u << 20;

std::uint32_t u16_at(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t u32_at(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}
std::int32_t s32_at(const std::uint8_t* p) { return static_cast<std::int32_t>(u32_at(p)); }

std::uint32_t counted_colours(const std::uint8_t* info) {
    const std::uint32_t used = u32_at(info + 32);
    return used > 0 ? used : 1u << u16_at(info + 14);
}

// Throws SheetError for the first fault of the file's bytes.
void validate(std::string_view file, const std::string& name) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    if (file.size() < kFileHeader + kInfoHeader) throw SheetError(name, "파일이 너무 짧습니다");
    if (bytes[0] != 'B' || bytes[1] != 'M') throw SheetError(name, "BMP 그림 파일이 아닙니다");
    const std::uint8_t* info = bytes + kFileHeader;
    if (u32_at(info) != kInfoHeader) {
        throw SheetError(name, "그림 정보 머리가 40바이트가 아닙니다");
    }
    if (u16_at(info + 14) != 8) throw SheetError(name, "한 점이 8비트인 그림이 아닙니다");
    if (u32_at(info + 16) != 0) throw SheetError(name, "압축된 그림입니다");
    const std::int32_t width = s32_at(info + 4);
    const std::int32_t height = s32_at(info + 8);
    if (height < 0) throw SheetError(name, "위에서 아래로 저장된 그림입니다");
    if (width <= 0 || height == 0) throw SheetError(name, "그림의 크기가 올바르지 않습니다");
    const std::uint32_t colours = counted_colours(info);
    if (colours > 256) throw SheetError(name, "색상표가 256색보다 큽니다");
    const std::uint64_t pixel_offset = kFileHeader + kInfoHeader + 4ull * colours;
    if (u32_at(bytes + 10) != pixel_offset) {
        throw SheetError(name, "그림 자료가 색상표 바로 뒤에 있지 않습니다");
    }
    const std::uint64_t row = (static_cast<std::uint64_t>(width) + 3) & ~std::uint64_t{3};
    if (pixel_offset + row * static_cast<std::uint64_t>(height) > file.size()) {
        throw SheetError(name, "파일이 잘렸습니다");
    }
}

}  // namespace

SheetError::SheetError(const std::string& file_name, const std::string& reason)
    : std::runtime_error(file_name + ": 쓸 수 있는 스프라이트 그림이 아닙니다 (" + reason + ").") {}

void SpriteSheet::load_from_file(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > kLargestFile) throw SheetError(name, "파일이 너무 큽니다");
    load_from_bytes(text::read_file(file, kLargestFile), name);
}

void SpriteSheet::load_from_bytes(std::string_view file, const std::string& file_name) {
    validate(file, file_name);
    file.remove_prefix(kFileHeader);
    data.assign(file.begin(), file.end());
}

std::int32_t SpriteSheet::width() const { return s32_at(data.data() + 4); }
std::int32_t SpriteSheet::height() const { return s32_at(data.data() + 8); }
std::int32_t SpriteSheet::color_count() const {
    return static_cast<std::int32_t>(counted_colours(data.data()));
}

std::uint32_t SpriteSheet::colour(std::uint8_t index) const {
    if (index >= color_count()) return 0;
    const std::uint8_t* entry = data.data() + kInfoHeader + 4 * index;  // blue, green, red, 0
    return (std::uint32_t{entry[2]} << 16) | (std::uint32_t{entry[1]} << 8) | entry[0];
}

void SpriteSheet::clear_transparent_pixels() {
    if (data.empty()) return;
    std::uint8_t* first = pixels();
    std::uint8_t* end = first + static_cast<std::size_t>(row_bytes()) * height();
    const std::uint8_t transparent = *first;
    std::replace(first, end, transparent, std::uint8_t{0});
}

void SpriteSheet::turn_into_mask() {
    if (data.empty()) return;
    std::uint8_t* first = pixels();
    std::uint8_t* end = first + static_cast<std::size_t>(row_bytes()) * height();
    const std::uint8_t transparent = *first;
    std::transform(first, end, first, [transparent](std::uint8_t index) {
        return index == transparent ? std::uint8_t{255} : std::uint8_t{0};
    });
}

}  // namespace anim
