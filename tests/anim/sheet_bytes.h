#pragma once
// Builds the bytes of small 8-bit sprite sheets for the tests, with a palette where index i is
// the grey (i, i, i) and room to spoil any header field.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct SheetBytes {
    int width = 0;
    int height = 0;
    int colours_used = 0;  // 0: the full table of 256
    std::vector<std::uint8_t> pixels;  // bottom-up, rows padded to 4 bytes

    SheetBytes(int w, int h, std::uint8_t fill)
        : width(w), height(h), pixels(static_cast<std::size_t>(row_bytes()) * h, fill) {}

    int row_bytes() const { return (width + 3) & ~3; }
    // Pixel (x, row) with rows counted from the bottom edge.
    std::uint8_t& at(int x, int row) { return pixels[static_cast<std::size_t>(row) * row_bytes() + x]; }

    std::string bytes() const {
        const int colours = colours_used > 0 ? colours_used : 256;
        std::string out;
        auto put16 = [&](std::uint32_t v) { out += char(v & 0xFF); out += char(v >> 8 & 0xFF); };
        auto put32 = [&](std::uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
        const std::uint32_t offset = 14 + 40 + 4 * colours;
        out += "BM";
        put32(offset + static_cast<std::uint32_t>(pixels.size()));
        put32(0);
        put32(offset);
        put32(40);
        put32(static_cast<std::uint32_t>(width));
        put32(static_cast<std::uint32_t>(height));
        put16(1);
        put16(8);
        put32(0);
        put32(static_cast<std::uint32_t>(pixels.size()));
        put32(2835);
        put32(2835);
        put32(static_cast<std::uint32_t>(colours_used));
        put32(0);
        for (int i = 0; i < colours; ++i) put32(std::uint32_t(i) * 0x010101u);
        out.append(pixels.begin(), pixels.end());
        return out;
    }
};

// Little-endian 32-bit value at byte `at` of `bytes`.
inline void poke32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char(value >> (8 * i) & 0xFF);
}

}  // namespace testing_support
