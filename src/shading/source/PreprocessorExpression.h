// Integer expressions of #if and #elif lines, after macro expansion.
// Plain text processing; no GL.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvath {

// The value of an expression of integer literals, parentheses and the C
// operators the GLSL preprocessor accepts (unary + - ~ !, * / % + - << >> < >
// <= >= == != & ^ | && ||). Empty when it is anything else: an identifier left
// over, division by zero, an out-of-range shift or literal, nesting deeper than
// 64, or tokens after the expression.
std::optional<std::int64_t> evaluateExpression(const std::vector<std::string_view>& tokens);

} // namespace korvath
