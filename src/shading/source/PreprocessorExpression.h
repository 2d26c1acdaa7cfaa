// Integer expressions of #if and #elif lines, after macro expansion and the
// defined operator. Plain text processing; no GL.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvath {

// The value of an expression of integer literals (decimal, octal, hex; with a u
// suffix where unsignedLiterals), parentheses and the operators the GLSL
// preprocessor accepts (unary + - ~ !, * / % + - << >> < > <= >= == != & ^ |
// && ||). Empty where drivers may disagree or must fail: an identifier, a
// character or float literal, division by zero even where || or && would skip
// it, a value outside 32-bit int range (Mesa computes in 64 bits, glslang in
// 32), a shift by a negative count or by 32 or more, a negative value beside a
// u literal (C++ would make it unsigned, Mesa keeps it signed), nesting deeper
// than 64, or tokens after the expression.
std::optional<std::int32_t> evaluateExpression(const std::vector<std::string_view>& tokens,
                                               bool unsignedLiterals);

} // namespace korvath
