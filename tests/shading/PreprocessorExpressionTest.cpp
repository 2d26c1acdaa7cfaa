// #if arithmetic and #version lines: the values every driver agrees on, and
// empty where drivers may differ or must fail.
#include "shading/source/GlslVersion.h"
#include "shading/source/PreprocessorExpression.h"
#include "shading/source/PreprocessorTokens.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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
        {"1 + 2 * 3", 7},
        {"(1 + 2) * 3", 9},
        {"1 - 2 - 3", -4},
        {"~0", -1},
        {"!5 + !0", 1},
        {"0x10 >> 2", 4},
        {"0X1f", 31},
        {"010", 8},
        {"0", 0},
        {"-7 / 2", -3}, // truncates toward zero
        {"-7 % 2", -1},
        {"-8 >> 1", -4},
        {"1 < 2 == 2 > 1", 1},
        {"3 & 5 | 8 ^ 1", 9},
        {"0 && 1 || 1", 1},
        {"2147483647", 2147483647},
        {"-2147483647 - 1", -2147483647 - 1},
        {"1 << 30", 1 << 30},
        {"3u == 3", 1},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(std::optional<std::int32_t>(value), evaluate(text)) << text;
    }
}

TEST(PreprocessorExpression, EmptyWhereDriversMayDisagreeOrFail) {
    const char* cases[] = {
        "1 / 0",
        "!0 || 1 / 0", // Mesa reports the division even where || would skip it
        "5 % 0",
        "2147483648",      // beyond 32 bits: Mesa uses 64, glslang 32
        "2147483647 + 1",  // an intermediate value too
        "0xFFFFFFFF",
        "-(-2147483647 - 1)",
        "65536 * 65536",
        "1 << 31",
        "1 << 32",
        "1 << -1",
        "-1 << 1",
        "-1 < 0u", // unsigned in C++, signed in Mesa
        "0u - 1",
        "08",
        "0x",
        "1.0",
        "1e3",
        "3l",
        "name",
        "1 2",
        "(1",
        "1)",
        "",
        "1 ? 2 : 3", // no conditional operator in GLSL's #if
    };
    for (const char* text : cases) {
        EXPECT_EQ(std::nullopt, evaluate(text)) << text;
    }
    EXPECT_EQ(std::nullopt, evaluate("3u", false)); // GLSL 1.10 and 1.20 have no u
    EXPECT_EQ(std::nullopt, evaluate(std::string(100, '(') + "1" + std::string(100, ')')));
    EXPECT_EQ(std::nullopt, evaluate(std::string(100000, '-') + "1"));
    EXPECT_EQ(std::optional<std::int32_t>(1), evaluate(std::string(60, '(') + "1" +
                                                       std::string(60, ')')));
}

TEST(GlslVersion, VersionLinesAndWhatTheyDefine) {
    struct Case {
        std::vector<std::string_view> words;
        int number;
        bool es;
        bool compatibility;
    };
    const Case accepted[] = {
        {{"110"}, 110, false, false},        {{"150", "compatibility"}, 150, false, true},
        {{"460", "core"}, 460, false, false}, {{"100"}, 100, true, false},
        {{"320", "es"}, 320, true, false},
    };
    for (const Case& c : accepted) {
        const std::optional<GlslVersion> version = parseVersion(c.words);
        ASSERT_TRUE(version) << c.words[0];
        EXPECT_EQ(c.number, version->number);
        EXPECT_EQ(c.es, version->es);
        EXPECT_EQ(c.compatibility, version->compatibility);
    }
    const std::vector<std::string_view> rejected[] = {
        {}, {"111"}, {"300"}, {"100", "es"}, {"130", "core"}, {"330", "es"}, {"330", "full"},
        {"330", "core", "x"}, {"0x14A"}, {"1000"}};
    for (const auto& words : rejected) {
        EXPECT_FALSE(parseVersion(words)) << (words.empty() ? "" : words[0]);
    }
    using Macros = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ((Macros{{"__VERSION__", "110"}}), versionMacros({}));
    EXPECT_EQ((Macros{{"__VERSION__", "140"}, {"GL_FRAGMENT_PRECISION_HIGH", "1"}}),
              versionMacros({140, false, false}));
    EXPECT_EQ((Macros{{"__VERSION__", "150"},
                      {"GL_compatibility_profile", "1"},
                      {"GL_FRAGMENT_PRECISION_HIGH", "1"}}),
              versionMacros({150, false, true}));
}

} // namespace
} // namespace korvath
