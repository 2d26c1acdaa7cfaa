// #if arithmetic: the values every driver agrees on, and empty where drivers
// may differ or must fail. What #version lines define, the declaration scan's
// test checks through the names it finds.
#include "shading/source/PreprocessorExpression.h"
#include "shading/source/PreprocessorTokens.h"

#include <gtest/gtest.h>

#include <string>

namespace korvath {
namespace {

std::optional<std::int32_t> evaluate(const std::string& text, bool unsignedLiterals = true) {
    std::vector<std::string_view> tokens;
    LineTokens lineTokens(text);
    for (std::string_view token = lineTokens.next(); !token.empty(); token = lineTokens.next()) {
        tokens.push_back(token);
    }
    return evaluateExpression(tokens, unsignedLiterals);
}

TEST(PreprocessorExpression, FollowsCPrecedenceAndLiterals) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"1 + 2 * 3", 7},   {"(1 + 2) * 3", 9},   {"1 - 2 - 3", -4},       {"~0", -1},
        {"!5 + !0", 1},     {"0x10 >> 2", 4},     {"0X1f", 31},            {"010", 8},
        {"0", 0},           {"-7 / 2", -3},       {"-7 % 2", -1},          {"-8 >> 1", -4},
        {"3u == 3", 1},     {"1 << 30", 1 << 30}, {"1 < 2 == 2 > 1", 1},   {"3 & 5 | 8 ^ 1", 9},
        {"0 && 1 || 1", 1}, {"2147483647", 2147483647}, {"-2147483647 - 1", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(std::optional<std::int32_t>(value), evaluate(text)) << text;
    }
}

// Mesa reports a division by zero even where || would skip it; beyond 32 bits
// Mesa computes in 64 and glslang in 32; "-1 < 0u" is unsigned in C++, signed in
// Mesa; GLSL's #if has no conditional operator.
TEST(PreprocessorExpression, EmptyWhereDriversMayDisagreeOrFail) {
    const char* cases[] = {"1 / 0",      "!0 || 1 / 0",    "5 % 0",      "2147483648",
                           "0xFFFFFFFF", "2147483647 + 1", "-(-2147483647 - 1)",
                           "65536 * 65536", "1 << 31",     "1 << 32",    "1 << -1",
                           "-1 << 1",    "-1 < 0u",        "0u - 1",     "08",
                           "0x",         "1.0",            "1e3",        "3l",
                           "name",       "1 2",            "(1",         "1)",
                           "",           "1 ? 2 : 3"};
    for (const char* text : cases) {
        EXPECT_EQ(std::nullopt, evaluate(text)) << text;
    }
    EXPECT_EQ(std::nullopt, evaluate("3u", false)); // GLSL 1.10 and 1.20 have no u
    EXPECT_EQ(std::nullopt, evaluate(std::string(100, '(') + "1" + std::string(100, ')')));
    EXPECT_EQ(std::nullopt, evaluate(std::string(100000, '-') + "1"));
    EXPECT_EQ(std::optional<std::int32_t>(1),
              evaluate(std::string(60, '(') + "1" + std::string(60, ')')));
}

} // namespace
} // namespace korvath
