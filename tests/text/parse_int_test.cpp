#include <gtest/gtest.h>

#include "text/file_error.h"

namespace {

TEST(ParseInt, AcceptedForms) {
    const std::pair<const char*, int> rows[] = {
        {"0", 0},         {"42", 42},        {"-5", -5},          {"+7", 7},
        {"  12", 12},     {"$1F", 31},       {"0x1F", 31},        {"0X1f", 31},
        {"-$10", -16},    {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"$FFFFFFFF", -1},
    };
    for (const auto& [input, expected] : rows) EXPECT_EQ(text::parse_int(input), expected) << input;
}

TEST(ParseInt, RejectedForms) {
    const char* rows[] = {"", " ", "abc", "12abc", "1 ", "0x", "$", "-", "2147483648",
                          "99999999999", "$123456789", "1.5", "\xB0\xA1"};
    for (const char* input : rows) EXPECT_THROW(text::parse_int(input), text::ConversionError) << input;
}

}  // namespace
