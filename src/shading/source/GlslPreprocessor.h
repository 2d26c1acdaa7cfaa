// A small, bounded GLSL preprocessor that hands on the tokens of the text the
// compiler sees: comments removed, line continuations joined, conditional
// compilation (#if, #ifdef, #ifndef, #elif, #else, #endif) honoured and
// object-like macros (#define, #undef) expanded. Plain text processing; no GL.
#pragma once

#include <functional>
#include <string_view>

namespace korvath {

// Receives one token at a time; the text it views lives only for the call.
using TokenSink = std::function<void(std::string_view token)>;

// Passes the compiled tokens of source to sink in order. What it cannot be sure
// of (a function-like macro, a directive it does not know, an #if it cannot
// evaluate, a name the driver predefines, unbalanced conditionals, macro
// expansion beyond its budget) ends the stream there, since everything after it
// may depend on it; it then returns false. Runs in time linear in the source
// plus a fixed expansion budget, holding one line and the macro table.
bool preprocessSource(std::string_view source, const TokenSink& sink);

// Whether a token is an identifier (a keyword, a type or a name).
bool isIdentifier(std::string_view token);

} // namespace korvath
