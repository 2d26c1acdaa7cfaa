// A bounded GLSL preprocessor that hands on the tokens of the text the compiler
// sees, for GLSL 1.10 to 4.60 and ES 1.00 to 3.20: comments and continuations
// removed, #version read, conditional compilation (#if, #ifdef, #ifndef, #elif,
// #else, #endif) honoured, and object-like and function-like macros (#define,
// #undef, `##`, __LINE__, __FILE__, __VERSION__ and the driver's predefined
// names) expanded. Plain text processing; no GL.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvath {

// Receives one token at a time; the text it views lives only for the call.
using TokenSink = std::function<void(std::string_view token)>;

// Passes the compiled tokens of source to sink in order. source is the whole
// text the driver compiles, as its one source string (__FILE__ is 0); every
// name in extensions (GL_ARB_..., GL_EXT_...) is a macro defined as 1 in
// desktop GLSL. What it cannot be sure of (a directive it does not know, an #if
// it cannot evaluate, a name only the driver knows, what C++ leaves undefined or
// unspecified, unbalanced conditionals, expansion beyond its budget) ends the
// stream there, since everything after it may depend on it; it then returns
// false. Runs in time linear in the source plus a fixed expansion budget.
bool preprocessSource(std::string_view source, const std::vector<std::string>& extensions,
                      const TokenSink& sink);

} // namespace korvath
