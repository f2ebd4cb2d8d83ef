#include <gtest/gtest.h>

#include "text/codec.h"

namespace {

TEST(Codec, RoundTripsEveryHangulSyllable) {
    std::u16string all;
    for (char16_t c = 0xAC00; c <= 0xD7A3; ++c) all += c;
    const text::Encoded encoded = text::from_utf16(all);
    ASSERT_TRUE(encoded.complete());
    EXPECT_EQ(encoded.bytes.size(), 11172u * 2);
    EXPECT_EQ(text::to_utf16(encoded.bytes), all);
}

TEST(Codec, KnownBytes) {
    // 가 is B0A1 in the common table, 똠 lies in the extension (not in the 2,350 set).
    EXPECT_EQ(text::cp949("가"), "\xB0\xA1");
    EXPECT_EQ(text::to_utf8("\xB0\xA1\x41"), "가A");
    EXPECT_EQ(text::to_utf8(text::cp949("똠방각하")), "똠방각하");
}

TEST(Codec, InvalidBytesShowAsReplacementAndNeverStop) {
    // A lone lead byte at the end, and a lead byte followed by a space.
    EXPECT_EQ(text::to_utf8("A\xB0"), "A\xEF\xBF\xBD");
    EXPECT_EQ(text::to_utf8("\xB0 B"), "\xEF\xBF\xBD B");
}

TEST(Codec, UnmappableCharactersAreReported) {
    const text::Encoded encoded = text::from_utf8("가é나😀");
    EXPECT_EQ(encoded.unmappable, 2u);
    EXPECT_EQ(encoded.first_unmappable, 1u);
    EXPECT_EQ(encoded.bytes, text::cp949("가") + "?" + text::cp949("나") + "?");
    EXPECT_TRUE(text::from_utf8("plain ASCII").complete());
}

TEST(Codec, SentencesTurnUnmappableCharactersIntoControlByte) {
    // Never "?", which would make the sentence a question.
    EXPECT_EQ(text::sentence_from_utf8("안녕😀"), text::cp949("안녕") + "\x1A");
    EXPECT_EQ(text::sentence_from_utf8(""), "");
}

TEST(Codec, InvalidUtf8CountsAsUnmappable) {
    const text::Encoded encoded = text::from_utf8("a\xFF" "b");
    EXPECT_FALSE(encoded.complete());
    EXPECT_EQ(encoded.bytes.front(), 'a');
    EXPECT_EQ(encoded.bytes.back(), 'b');
}

}  // namespace
