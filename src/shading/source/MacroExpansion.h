// Macro definitions and their expansion as the C++ preprocessor does it, which
// GLSL follows: object-like and function-like macros, arguments expanded before
// substitution, `##` pasting, rescanning, and a macro never expanding inside
// itself. Where compilers may differ (unspecified or undefined behaviour in
// C++) expansion fails instead of guessing. Plain text processing; no GL.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace korvath {

struct PpToken {
    std::string text;
    bool painted = false; // named a macro while it was being expanded: never expands
};

struct Macro {
    bool functionLike = false;
    std::vector<std::string> parameters;
    std::vector<std::string> body;
};

// Reads a #define line after "define": the name, then for a function-like macro
// its parameters, then the body. Empty when it is malformed or uses what GLSL
// lacks (`#` before a parameter, `...`) or `##` at either end of the body.
std::optional<std::pair<std::string, Macro>> parseDefinition(std::string_view text);

// Whether two definitions of one name are the same, so redefining is allowed.
bool sameDefinition(const Macro& a, const Macro& b);

// Limits shared by every expansion of one source, so that chains of macros that
// double at each step, in count or in pasted length, end quickly. Far beyond
// any real program.
struct ExpansionBudget {
    size_t tokensLeft = size_t{1} << 18;
    size_t bytesLeft = size_t{1} << 22;
};

class MacroExpander {
public:
    struct Hooks {
        // More tokens when a macro call runs past the end of the line: appends
        // the next line's tokens and returns true, or returns false at the end
        // of the text or before a directive. Empty in #if lines.
        std::function<bool(std::vector<PpToken>& tokens)> nextLine;
        // __LINE__ and __FILE__: their value, or empty when it is not certain.
        std::function<std::optional<std::string>(std::string_view name)> dynamicValue;
        // Names whose meaning only the driver knows: expansion fails on them.
        std::function<bool(std::string_view name)> unknowable;
    };

    MacroExpander(const std::unordered_map<std::string, Macro>& macrosValue,
                  ExpansionBudget& budgetValue, Hooks hooksValue)
        : macros(macrosValue), budget(budgetValue), hooks(std::move(hooksValue)) {}

    // Expands tokens, handing each result to out in order. False when expansion
    // fails: a malformed call, a budget or nesting limit, or unspecified
    // behaviour; what was handed on before stays valid.
    bool expand(std::vector<PpToken> tokens, const std::function<void(PpToken&)>& out);

private:
    struct Item;
    class Run;

    const std::unordered_map<std::string, Macro>& macros;
    ExpansionBudget& budget;
    Hooks hooks;
    std::unordered_map<const Macro*, int> active;    // expansions being read, per macro
    std::unordered_map<const Macro*, int> ambiguous; // see Run::release
    int nesting = 0;                                 // argument expansions inside each other
};

} // namespace korvath
