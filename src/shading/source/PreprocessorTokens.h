// The preprocessing tokens of one logical line: identifiers, numbers, GLSL's
// operators (longest match) and single characters. Plain text processing; no GL.
#pragma once

#include <string_view>

namespace korvath {

// Splits a line into tokens from left to right.
class LineTokens {
public:
    explicit LineTokens(std::string_view lineValue) : line(lineValue) {}

    // The next token, or an empty view at the end of the line.
    std::string_view next();

    // The text after the last token returned.
    std::string_view rest() const { return line.substr(at); }

private:
    std::string_view line;
    size_t at = 0;
};

// Whether a token is an identifier (a keyword, a type or a name).
bool isIdentifier(std::string_view token);

// Whether text is exactly one token, as the result of `##` must be.
bool isSingleToken(std::string_view text);

} // namespace korvath
