// The preprocessor works line by line: a logical line (continuations joined,
// comments replaced by a space) is either a directive, which updates the macro
// table and the stack of conditional groups, or text, whose tokens are expanded
// and handed on while every enclosing group is compiled.
#include "shading/source/GlslPreprocessor.h"

#include "shading/source/PreprocessorExpression.h"

#include <array>
#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

namespace korvath {

namespace {

// Tokens that macros may produce over a whole source: far beyond any real
// program, small enough that `#define A B B` chains cannot blow up.
constexpr size_t kExpansionBudget = size_t{1} << 18;
constexpr size_t kMaxExpansionDepth = 64;
constexpr size_t kMaxGroupNesting = 256;

bool isIdentifierStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Names the driver defines itself (GL_ARB_*, __VERSION__, ...): whether they are
// defined, and as what, is not known here. GL_ES is never defined for desktop GLSL.
bool isDriverName(std::string_view name) {
    return name != "GL_ES" && (name.substr(0, 3) == "GL_" || name.substr(0, 2) == "__");
}

// Splits a line into identifiers, numbers, the two-character operators #if
// uses, and single characters.
class LineTokens {
public:
    explicit LineTokens(std::string_view lineValue) : line(lineValue) {}

    // The next token, or an empty view at the end of the line.
    std::string_view next() {
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
            // A number with its exponent sign, suffix and all ("1.5e-3", "0x1Fu").
            ++at;
            while (at < line.size() && (isIdentifierChar(line[at]) || line[at] == '.' ||
                                        ((line[at] == '+' || line[at] == '-') &&
                                         (line[at - 1] == 'e' || line[at - 1] == 'E')))) {
                ++at;
            }
        } else {
            static constexpr std::array<std::string_view, 9> pairs = {
                "<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "##"};
            at += 1;
            for (std::string_view pair : pairs) {
                if (line.compare(start, 2, pair) == 0) {
                    at = start + 2;
                }
            }
        }
        return line.substr(start, at - start);
    }

    // The text after the last token returned.
    std::string_view rest() const { return line.substr(at); }

private:
    std::string_view line;
    size_t at = 0;
};

// Logical lines of a source: continuations joined, each comment replaced by one
// space. A block comment that spans lines joins them, as in C.
class LogicalLines {
public:
    explicit LogicalLines(std::string_view sourceValue) : source(sourceValue) {}

    bool next(std::string& line) {
        line.clear();
        if (at >= source.size()) {
            return false;
        }
        bool lineComment = false;
        bool blockComment = false;
        while (at < source.size()) {
            const char c = source[at];
            if (c == '\\' && source.compare(at + 1, 1, "\n") == 0) {
                at += 2;
            } else if (c == '\\' && source.compare(at + 1, 2, "\r\n") == 0) {
                at += 3;
            } else if (blockComment) {
                if (source.compare(at, 2, "*/") == 0) {
                    blockComment = false;
                    line += ' ';
                    ++at;
                }
                ++at;
            } else if (c == '\n') {
                ++at;
                return true;
            } else if (lineComment) {
                ++at;
            } else if (source.compare(at, 2, "//") == 0) {
                lineComment = true;
                line += ' ';
            } else if (source.compare(at, 2, "/*") == 0) {
                blockComment = true;
                at += 2;
            } else {
                line += c;
                ++at;
            }
        }
        return true;
    }

private:
    std::string_view source;
    size_t at = 0;
};

// One #if ... #endif group.
struct Group {
    bool enclosingCompiled; // every group around it is compiled
    bool compiled;          // the branch in force now is compiled
    bool branchTaken;       // some branch so far was compiled, or none may be
    bool sawElse;
};

class Preprocessor {
public:
    explicit Preprocessor(const TokenSink& sinkValue) : sink(sinkValue) {}

    bool run(std::string_view source) {
        LogicalLines lines(source);
        std::string line;
        while (lines.next(line)) {
            LineTokens tokens(line);
            const std::string_view first = tokens.next();
            const bool handled = first == "#" ? directive(tokens) : text(first, tokens);
            if (!handled) {
                return false;
            }
        }
        return groups.empty();
    }

private:
    bool compiled() const { return groups.empty() || groups.back().compiled; }

    bool text(std::string_view first, LineTokens& tokens) {
        if (!compiled()) {
            return true;
        }
        for (std::string_view token = first; !token.empty(); token = tokens.next()) {
            if (!expand(token, sink)) {
                return false;
            }
        }
        return true;
    }

    // Hands on token, or the expansion of the macro it names; false when the
    // expansion budget or depth runs out.
    bool expand(std::string_view token, const TokenSink& out) {
        const auto macro = isIdentifier(token) ? macros.find(std::string(token)) : macros.end();
        if (macro == macros.end() || isExpanding(token)) {
            out(token);
            return true;
        }
        if (expanding.size() == kMaxExpansionDepth) {
            return false;
        }
        expanding.push_back(macro->first);
        LineTokens body(macro->second);
        for (std::string_view inner = body.next(); !inner.empty(); inner = body.next()) {
            if (++expandedTokens > kExpansionBudget || !expand(inner, out)) {
                return false;
            }
        }
        expanding.pop_back();
        return true;
    }

    bool isExpanding(std::string_view name) const {
        for (std::string_view active : expanding) {
            if (active == name) {
                return true;
            }
        }
        return false;
    }

    bool directive(LineTokens& tokens) {
        const std::string_view name = tokens.next();
        if (name == "if" || name == "ifdef" || name == "ifndef") {
            return openGroup(name, tokens);
        }
        if (name == "elif" || name == "else" || name == "endif") {
            return continueGroup(name, tokens);
        }
        if (!compiled() || name.empty() || name == "version" || name == "extension" ||
            name == "pragma" || name == "line") {
            return true; // none of these changes which text is compiled
        }
        if (name == "define") {
            return define(tokens);
        }
        if (name == "undef") {
            const std::string_view macro = tokens.next();
            macros.erase(std::string(macro));
            return isIdentifier(macro) && !isDriverName(macro);
        }
        return false; // #error, or a directive this preprocessor does not know
    }

    bool define(LineTokens& tokens) {
        const std::string_view name = tokens.next();
        if (!isIdentifier(name) || isDriverName(name)) {
            return false;
        }
        const std::string_view body = tokens.rest();
        if (!body.empty() && body[0] == '(') {
            return false; // function-like
        }
        macros[std::string(name)] = std::string(body);
        return true;
    }

    bool openGroup(std::string_view name, LineTokens& tokens) {
        if (groups.size() == kMaxGroupNesting) {
            return false;
        }
        if (!compiled()) {
            groups.push_back({false, false, true, false});
            return true;
        }
        const std::optional<bool> condition = name == "if"      ? evaluate(tokens)
                                              : name == "ifdef" ? isDefined(tokens.next())
                                                                : negate(isDefined(tokens.next()));
        if (!condition || (name != "if" && !tokens.next().empty())) {
            return false;
        }
        groups.push_back({true, *condition, *condition, false});
        return true;
    }

    bool continueGroup(std::string_view name, LineTokens& tokens) {
        if (groups.empty()) {
            return false;
        }
        if (name == "endif") {
            groups.pop_back();
            return true;
        }
        Group& group = groups.back();
        if (group.sawElse) {
            return false; // #else or #elif after #else
        }
        if (name == "else") {
            group.sawElse = true;
            group.compiled = group.enclosingCompiled && !group.branchTaken;
            group.branchTaken = true;
            return true;
        }
        if (!group.enclosingCompiled || group.branchTaken) {
            group.compiled = false;
            return true;
        }
        const std::optional<bool> condition = evaluate(tokens);
        if (!condition) {
            return false;
        }
        group.compiled = *condition;
        group.branchTaken = *condition;
        return true;
    }

    static std::optional<bool> negate(std::optional<bool> value) {
        return value ? std::optional<bool>(!*value) : std::nullopt;
    }

    std::optional<bool> isDefined(std::string_view name) const {
        if (!isIdentifier(name) || isDriverName(name)) {
            return std::nullopt;
        }
        return macros.count(std::string(name)) != 0;
    }

    // An #if or #elif condition: `defined` answered first, then macros expanded.
    std::optional<bool> evaluate(LineTokens& tokens) {
        std::vector<std::string_view> expression;
        bool expanded = true;
        const TokenSink collect = [&](std::string_view token) {
            expanded = expanded && !isIdentifier(token); // a name left over, `defined` too
            expression.push_back(token);
        };
        for (std::string_view token = tokens.next(); !token.empty(); token = tokens.next()) {
            if (token != "defined") {
                if (!expand(token, collect)) {
                    return std::nullopt;
                }
                continue;
            }
            std::string_view operand = tokens.next();
            const bool parenthesised = operand == "(";
            if (parenthesised) {
                operand = tokens.next();
            }
            const std::optional<bool> defined = isDefined(operand);
            if (!defined || (parenthesised && tokens.next() != ")")) {
                return std::nullopt;
            }
            expression.push_back(*defined ? "1" : "0");
        }
        const std::optional<std::int64_t> value =
            expanded ? evaluateExpression(expression) : std::nullopt;
        return value ? std::optional<bool>(*value != 0) : std::nullopt;
    }

    const TokenSink& sink;
    std::unordered_map<std::string, std::string> macros;
    std::vector<std::string_view> expanding; // macro names being expanded, innermost last
    size_t expandedTokens = 0;
    std::vector<Group> groups;
};

} // namespace

bool isIdentifier(std::string_view token) {
    return !token.empty() && isIdentifierStart(token[0]);
}

bool preprocessSource(std::string_view source, const TokenSink& sink) {
    return Preprocessor(sink).run(source);
}

} // namespace korvath
