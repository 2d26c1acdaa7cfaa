// Precedence climbing over the tokens of one #if line. Arithmetic wraps as
// unsigned, so no input reaches undefined behaviour.
#include "shading/source/PreprocessorExpression.h"

#include <array>
#include <cctype>
#include <limits>

namespace korvath {

namespace {

constexpr int kMaxNesting = 64;

struct BinaryOperator {
    std::string_view symbol;
    int precedence; // higher binds tighter
};

constexpr std::array<BinaryOperator, 18> kBinaryOperators = {{{"||", 1},
                                                              {"&&", 2},
                                                              {"|", 3},
                                                              {"^", 4},
                                                              {"&", 5},
                                                              {"==", 6},
                                                              {"!=", 6},
                                                              {"<", 7},
                                                              {">", 7},
                                                              {"<=", 7},
                                                              {">=", 7},
                                                              {"<<", 8},
                                                              {">>", 8},
                                                              {"+", 9},
                                                              {"-", 9},
                                                              {"*", 10},
                                                              {"/", 10},
                                                              {"%", 10}}};

int precedenceOf(std::string_view token) {
    for (const BinaryOperator& op : kBinaryOperators) {
        if (op.symbol == token) {
            return op.precedence;
        }
    }
    return 0;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

// A decimal, octal (leading 0) or hexadecimal (0x) literal with an optional u suffix.
std::optional<std::int64_t> parseLiteral(std::string_view text) {
    if (!text.empty() && (text.back() == 'u' || text.back() == 'U')) {
        text.remove_suffix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '0') {
        base = 8;
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = digitValue(c);
        if (digit >= base || value > (std::numeric_limits<std::uint64_t>::max() >> 4)) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(value);
}

std::optional<std::int64_t> apply(std::string_view op, std::int64_t a, std::int64_t b) {
    const auto ua = static_cast<std::uint64_t>(a);
    const auto ub = static_cast<std::uint64_t>(b);
    const auto wrap = [](std::uint64_t value) { return static_cast<std::int64_t>(value); };
    if (op == "+") {
        return wrap(ua + ub);
    }
    if (op == "-") {
        return wrap(ua - ub);
    }
    if (op == "*") {
        return wrap(ua * ub);
    }
    if (op == "/" || op == "%") {
        if (b == 0 || (a == std::numeric_limits<std::int64_t>::min() && b == -1)) {
            return std::nullopt;
        }
        return op == "/" ? a / b : a % b;
    }
    if (op == "<<" || op == ">>") {
        if (b < 0 || b > 62) {
            return std::nullopt;
        }
        return op == "<<" ? wrap(ua << b) : a >> b;
    }
    if (op == "<") {
        return a < b;
    }
    if (op == ">") {
        return a > b;
    }
    if (op == "<=") {
        return a <= b;
    }
    if (op == ">=") {
        return a >= b;
    }
    if (op == "==") {
        return a == b;
    }
    if (op == "!=") {
        return a != b;
    }
    if (op == "&") {
        return a & b;
    }
    if (op == "^") {
        return a ^ b;
    }
    if (op == "|") {
        return a | b;
    }
    if (op == "&&") {
        return a != 0 && b != 0;
    }
    return a != 0 || b != 0; // "||", the only operator left
}

class Parser {
public:
    explicit Parser(const std::vector<std::string_view>& tokensValue) : tokens(tokensValue) {}

    std::optional<std::int64_t> parseAll() {
        const auto value = parseBinary(1, 0);
        if (!value || at != tokens.size()) {
            return std::nullopt;
        }
        return value;
    }

private:
    std::string_view peek() const { return at < tokens.size() ? tokens[at] : std::string_view(); }

    std::optional<std::int64_t> parseBinary(int minPrecedence, int nesting) {
        auto left = parseUnary(nesting);
        while (left) {
            const std::string_view op = peek();
            const int precedence = precedenceOf(op);
            if (precedence < minPrecedence || precedence == 0) {
                break;
            }
            ++at;
            const auto right = parseBinary(precedence + 1, nesting);
            if (!right) {
                return std::nullopt;
            }
            left = apply(op, *left, *right);
        }
        return left;
    }

    std::optional<std::int64_t> parseUnary(int nesting) {
        if (nesting > kMaxNesting || at == tokens.size()) {
            return std::nullopt;
        }
        const std::string_view token = tokens[at++];
        if (token == "+" || token == "-" || token == "~" || token == "!") {
            const auto operand = parseUnary(nesting + 1);
            if (!operand) {
                return std::nullopt;
            }
            const auto value = static_cast<std::uint64_t>(*operand);
            switch (token[0]) {
            case '-':
                return static_cast<std::int64_t>(0 - value);
            case '~':
                return static_cast<std::int64_t>(~value);
            case '!':
                return *operand == 0;
            default:
                return operand;
            }
        }
        if (token == "(") {
            const auto inner = parseBinary(1, nesting + 1);
            if (!inner || peek() != ")") {
                return std::nullopt;
            }
            ++at;
            return inner;
        }
        if (std::isdigit(static_cast<unsigned char>(token[0]))) {
            return parseLiteral(token);
        }
        return std::nullopt;
    }

    const std::vector<std::string_view>& tokens;
    size_t at = 0;
};

} // namespace

std::optional<std::int64_t> evaluateExpression(const std::vector<std::string_view>& tokens) {
    return Parser(tokens).parseAll();
}

} // namespace korvath
