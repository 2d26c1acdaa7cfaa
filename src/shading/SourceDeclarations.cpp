// Declaration scanning: strips comments and preprocessor lines, splits the rest
// into tokens and reads the top-level declaration statements.
#include "shading/SourceDeclarations.h"

#include <cctype>
#include <set>

namespace korvath {

namespace {

bool isIdentifierStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool isIdentifier(const std::string& token) {
    return !token.empty() && isIdentifierStart(token[0]);
}

// Skips the rest of a line, following backslash continuations; returns the index
// of the line feed that ends it (or the end of the text).
size_t skipLine(const std::string& text, size_t at) {
    while (at < text.size() && text[at] != '\n') {
        if (text[at] == '\\' && at + 1 < text.size() && text[at + 1] == '\n') {
            ++at;
        }
        ++at;
    }
    return at;
}

std::vector<std::string> tokenize(const std::string& text) {
    std::vector<std::string> tokens;
    bool lineStart = true;
    size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '\n') {
            lineStart = true;
            ++at;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++at;
        } else if (c == '#' && lineStart) {
            at = skipLine(text, at);
        } else if (text.compare(at, 2, "//") == 0) {
            at = skipLine(text, at);
        } else if (text.compare(at, 2, "/*") == 0) {
            const size_t end = text.find("*/", at + 2);
            at = end == std::string::npos ? text.size() : end + 2;
            lineStart = false;
        } else if (isIdentifierChar(c)) {
            const size_t start = at;
            while (at < text.size() && (isIdentifierChar(text[at]) || text[at] == '.')) {
                ++at;
            }
            tokens.push_back(text.substr(start, at - start));
            lineStart = false;
        } else {
            tokens.emplace_back(1, c);
            ++at;
            lineStart = false;
        }
    }
    return tokens;
}

// From an opening bracket at `open`, returns the index just past its partner.
size_t skipBracketed(const std::vector<std::string>& tokens, size_t open) {
    const std::string& opening = tokens[open];
    const std::string closing = opening == "{" ? "}" : opening == "(" ? ")" : "]";
    int depth = 0;
    for (size_t at = open; at < tokens.size(); ++at) {
        if (tokens[at] == opening) {
            ++depth;
        } else if (tokens[at] == closing && --depth == 0) {
            return at + 1;
        }
    }
    return tokens.size();
}

const std::set<std::string>& ignoredQualifiers() {
    static const std::set<std::string> qualifiers = {
        "highp",    "mediump", "lowp",      "flat",    "smooth", "noperspective",
        "centroid", "sample",  "invariant", "precise", "patch"};
    return qualifiers;
}

const std::set<std::string>& otherStorage() {
    static const std::set<std::string> storage = {"out",   "inout",     "buffer",  "shared",
                                                  "const", "attribute", "varying", "precision"};
    return storage;
}

void readStatement(const std::vector<std::string>& statement, std::vector<SourceDeclaration>& out) {
    bool uniform = false;
    bool input = false;
    size_t at = 0;
    while (at < statement.size()) {
        const std::string& token = statement[at];
        if (token == "layout" && at + 1 < statement.size() && statement[at + 1] == "(") {
            at = skipBracketed(statement, at + 1);
        } else if (token == "uniform") {
            uniform = true;
            ++at;
        } else if (token == "in") {
            input = true;
            ++at;
        } else if (otherStorage().count(token) != 0) {
            return;
        } else if (ignoredQualifiers().count(token) != 0) {
            ++at;
        } else {
            break;
        }
    }
    if (uniform == input || at >= statement.size() || !isIdentifier(statement[at])) {
        return;
    }
    const std::string& type = statement[at++];
    const StorageKind storage = uniform ? StorageKind::Uniform : StorageKind::Input;
    while (at < statement.size()) {
        const std::string& name = statement[at];
        if (!isIdentifier(name)) {
            return;
        }
        if (name.compare(0, 3, "gl_") != 0) {
            out.push_back({name, type, storage});
        }
        // Past any array size or initialiser to the next declarator.
        ++at;
        while (at < statement.size() && statement[at] != ",") {
            const std::string& token = statement[at];
            at = token == "(" || token == "[" || token == "{" ? skipBracketed(statement, at)
                                                              : at + 1;
        }
        ++at;
    }
}

} // namespace

std::vector<SourceDeclaration> findDeclarations(const std::string& source) {
    const std::vector<std::string> tokens = tokenize(source);
    std::vector<SourceDeclaration> declarations;
    std::vector<std::string> statement;
    size_t at = 0;
    while (at < tokens.size()) {
        const std::string& token = tokens[at];
        if (token == ";") {
            readStatement(statement, declarations);
            statement.clear();
            ++at;
        } else if (token == "{") {
            // A function body ends at its brace; a block or struct runs on to its
            // semicolon, past any instance names.
            const bool functionBody = !statement.empty() && statement.back() == ")";
            at = skipBracketed(tokens, at);
            if (!functionBody) {
                while (at < tokens.size() && tokens[at] != ";") {
                    ++at;
                }
                ++at;
            }
            statement.clear();
        } else {
            statement.push_back(token);
            ++at;
        }
    }
    return declarations;
}

int floatComponentCount(const std::string& type) {
    if (type == "float") {
        return 1;
    }
    if (type.size() == 4 && type.compare(0, 3, "vec") == 0 && type[3] >= '2' && type[3] <= '4') {
        return type[3] - '0';
    }
    return 0;
}

bool isSamplerType(const std::string& type) {
    return type.find("sampler") != std::string::npos;
}

bool isMatrix4Type(const std::string& type) {
    return type == "mat4" || type == "mat4x4";
}

} // namespace korvath
