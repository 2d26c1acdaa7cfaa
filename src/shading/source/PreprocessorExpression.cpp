// Precedence climbing over the tokens of one #if line, in 64-bit arithmetic
// whose every result is checked against the 32-bit range, so no input reaches
// undefined behaviour and every accepted value is one all drivers agree on.
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

bool inIntRange(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

std::optional<std::int64_t> apply(std::string_view op, std::int64_t a, std::int64_t b) {
    switch (op[0]) {
    case '+':
        return a + b;
    case '-':
        return a - b;
    case '*':
        return a * b;
    case '/':
    case '%':
        if (b == 0) {
            return std::nullopt;
        }
        return op == "/" ? a / b : a % b;
    case '&':
        return op == "&&" ? (a != 0 && b != 0) : (a & b);
    case '|':
        return op == "||" ? (a != 0 || b != 0) : (a | b);
    case '^':
        return a ^ b;
    case '=':
        return a == b;
    case '!':
        return a != b;
    default:
        break;
    }
    if (op == "<<" || op == ">>") {
        if (b < 0 || b >= 32 || (op == "<<" && a < 0)) {
            return std::nullopt;
        }
        return op == "<<" ? a * (std::int64_t{1} << b) : a >> b;
    }
    if (op == "<") {
        return a < b;
    }
    if (op == ">") {
        return a > b;
    }
    return op == "<=" ? a <= b : a >= b;
}

class Parser {
public:
    Parser(const std::vector<std::string_view>& tokensValue, bool unsignedLiteralsValue)
        : tokens(tokensValue), unsignedLiterals(unsignedLiteralsValue) {}

    std::optional<std::int32_t> parseAll() {
        const auto value = parseBinary(1, 0);
        if (!value || at != tokens.size() || (sawUnsigned && sawNegative)) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(*value);
    }

private:
    std::string_view peek() const { return at < tokens.size() ? tokens[at] : std::string_view(); }

    // Every value passes here: out of range ends the evaluation.
    std::optional<std::int64_t> checked(std::optional<std::int64_t> value) {
        if (!value || !inIntRange(*value)) {
            return std::nullopt;
        }
        sawNegative = sawNegative || *value < 0;
        return value;
    }

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
            left = checked(apply(op, *left, *right));
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
            switch (token[0]) {
            case '-':
                return checked(-*operand);
            case '~':
                return checked(~*operand);
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
        return checked(parseLiteral(token));
    }

    // A decimal, octal (leading 0) or hexadecimal (0x) literal.
    std::optional<std::int64_t> parseLiteral(std::string_view text) {
        if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) {
            return std::nullopt;
        }
        if (unsignedLiterals && (text.back() == 'u' || text.back() == 'U')) {
            text.remove_suffix(1);
            sawUnsigned = true;
        }
        int base = 10;
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            base = 16;
            text.remove_prefix(2);
        } else if (text.size() > 1 && text[0] == '0') {
            base = 8;
        }
        std::int64_t value = 0;
        for (char c : text) {
            const int digit = digitValue(c);
            if (digit >= base || !inIntRange(value)) {
                return std::nullopt;
            }
            value = value * base + digit;
        }
        return value;
    }

    const std::vector<std::string_view>& tokens;
    const bool unsignedLiterals;
    size_t at = 0;
    bool sawUnsigned = false;
    bool sawNegative = false;
};

} // namespace

std::optional<std::int32_t> evaluateExpression(const std::vector<std::string_view>& tokens,
                                               bool unsignedLiterals) {
    return Parser(tokens, unsignedLiterals).parseAll();
}

} // namespace korvath
