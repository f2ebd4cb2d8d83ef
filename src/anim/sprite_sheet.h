#pragma once
// An 8-bit sprite sheet held in memory as the bytes of its bitmap file after the 14-byte file
// header (information header, colour table, pixel array), with the two preparations that make a
// transparent sprite possible.
//
// Loading validates the file before anything reads it: "BM" signature, a 40-byte information
// header, 8 bits per pixel, no compression, a positive width and height (rows bottom-up), at most
// 256 colours, the pixel array right after the colour table, and enough bytes for every padded
// row. So every later access stays inside `data`.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace anim {

// A sprite sheet that cannot be used. The message (UTF-8, Korean) names the file and the fault.
class SheetError : public std::runtime_error {
public:
    SheetError(const std::string& file_name, const std::string& reason);
};

class SpriteSheet {
public:
    // The file's bytes from byte 14 to the end; empty while nothing is loaded.
    std::vector<std::uint8_t> data;

    std::int32_t data_size() const { return static_cast<std::int32_t>(data.size()); }

    // Reads and validates the whole file. Throws text::FileError when it cannot be read and
    // SheetError when it is not a usable sheet; `data` is then left as it was.
    void load_from_file(const std::filesystem::path& file);
    // The same for the bytes of a file; `file_name` only names it in an error.
    void load_from_bytes(std::string_view file, const std::string& file_name);

    // The information header's fields (only while loaded).
    std::int32_t width() const;
    std::int32_t height() const;
    std::int32_t color_count() const;
    // Offset of the pixel array within `data`.
    std::int32_t header_size() const { return 40 + 4 * color_count(); }
    std::uint8_t* pixels() { return data.data() + header_size(); }
    const std::uint8_t* pixels() const { return data.data() + header_size(); }
    // Bytes of one stored row: the width rounded up to a multiple of 4.
    std::int32_t row_bytes() const { return (width() + 3) & ~3; }

    // Colour-table entry `index` as 0xRRGGBB; black beyond the end of the table.
    std::uint32_t colour(std::uint8_t index) const;

    // Every pixel with the index of the lower-left pixel (the transparent colour) becomes 0.
    void clear_transparent_pixels();
    // Every pixel with the transparent colour becomes 255, every other pixel 0.
    void turn_into_mask();
};

}  // namespace anim
