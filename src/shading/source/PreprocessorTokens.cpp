// A hand-written lexer: numbers take their suffixes and exponent signs with
// them ("1.5e-3", "0x1Fu"), operators take the longest match.
#include "shading/source/PreprocessorTokens.h"

#include <array>
#include <cctype>

namespace korvath {

namespace {

bool isIdentifierStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// GLSL's operators of more than one character, longest first.
constexpr std::array<std::string_view, 24> kOperators = {
    "<<=", ">>=", "<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "^^", "##",
    "++",  "--",  "+=", "-=", "*=", "/=", "%=", "&=", "^=", "|=", "->", "::"};

} // namespace

std::string_view LineTokens::next() {
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) {
        ++at;
    }
    const size_t start = at;
    if (at == line.size()) {
        return {};
    }
    if (isIdentifierStart(line[at])) {
        while (at < line.size() && isIdentifierChar(line[at])) {
            ++at;
        }
    } else if (isDigit(line[at]) ||
               (line[at] == '.' && at + 1 < line.size() && isDigit(line[at + 1]))) {
        ++at;
        while (at < line.size() && (isIdentifierChar(line[at]) || line[at] == '.' ||
                                    ((line[at] == '+' || line[at] == '-') &&
                                     (line[at - 1] == 'e' || line[at - 1] == 'E')))) {
            ++at;
        }
    } else {
        at += 1;
        for (std::string_view op : kOperators) {
            if (op[0] == line[start] && line.compare(start, op.size(), op) == 0) {
                at = start + op.size();
                break;
            }
        }
    }
    return line.substr(start, at - start);
}

bool isIdentifier(std::string_view token) {
    return !token.empty() && isIdentifierStart(token[0]);
}

bool isSingleToken(std::string_view text) {
    LineTokens tokens(text);
    return tokens.next() == text && !text.empty();
}

} // namespace korvath
