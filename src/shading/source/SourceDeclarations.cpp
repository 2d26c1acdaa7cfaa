// Declaration reading: a small state machine over the preprocessed tokens that
// follows one top-level statement at a time and skips bracketed text, so it
// holds only the names of the statement it is reading.
#include "shading/source/SourceDeclarations.h"

#include "shading/source/GlslPreprocessor.h"
#include "shading/source/PreprocessorTokens.h"

#include <algorithm>
#include <iterator>

namespace korvath {

namespace {

// Precision, interpolation and memory qualifiers: they do not change what a
// declaration declares.
constexpr std::string_view kIgnoredQualifiers[] = {
    "highp",    "mediump",  "lowp",      "flat",     "smooth", "noperspective",
    "centroid", "sample",   "invariant", "precise",  "patch",  "coherent",
    "volatile", "restrict", "readonly",  "writeonly"};

bool isIgnoredQualifier(std::string_view token) {
    return std::find(std::begin(kIgnoredQualifiers), std::end(kIgnoredQualifiers), token) !=
           std::end(kIgnoredQualifiers);
}

class DeclarationReader {
public:
    DeclarationReader(ShaderStage stageValue, std::vector<SourceDeclaration>& foundValue)
        : stage(stageValue), found(foundValue) {}

    void take(std::string_view token) {
        if (token == "(" || token == "[" || token == "{") {
            if (depth == 0) {
                openAtTopLevel(token);
            }
            ++depth;
            previousClosedParenthesis = false;
            return;
        }
        if (token == ")" || token == "]" || token == "}") {
            depth = std::max(depth - 1, 0);
            if (depth == 0 && token == "}" && phase == Phase::StructMembers) {
                phase = Phase::FirstName; // `uniform struct { ... } name;`
            } else if (depth == 0 && token == "}" && functionBody) {
                endStatement(false); // a function definition needs no semicolon
            }
            previousClosedParenthesis = depth == 0 && token == ")";
            return;
        }
        previousClosedParenthesis = false;
        if (depth == 0) {
            atTopLevel(token);
        }
    }

private:
    // Qualifiers, then (after the type) the first name, where an array size may
    // come first; after a comma the next name; then array sizes, an initialiser
    // or a comma. A struct type defined in place comes as `struct`, an optional
    // name and its members in braces. Anything else makes the statement one to
    // ignore.
    enum class Phase {
        Qualifiers,
        StructName,
        StructMembers,
        FirstName,
        NextName,
        AfterName,
        Initializer,
        Ignored
    };

    void openAtTopLevel(std::string_view token) {
        functionBody = token == "{" && previousClosedParenthesis;
        const bool layoutArguments = token == "(" && phase == Phase::Qualifiers && afterLayout;
        const bool arraySize =
            token == "[" && (phase == Phase::FirstName || phase == Phase::AfterName);
        if (token == "{" && phase == Phase::StructName) {
            phase = Phase::StructMembers;
        } else if (!layoutArguments && !arraySize && phase != Phase::Initializer) {
            phase = Phase::Ignored;
        }
        afterLayout = false;
    }

    void atTopLevel(std::string_view token) {
        if (token == ";") {
            endStatement(true);
            return;
        }
        switch (phase) {
        case Phase::Qualifiers:
            readQualifier(token);
            break;
        case Phase::StructName:
            // `struct`, then at most one name before the members.
            phase = isIdentifier(token) && !structNamed ? Phase::StructName : Phase::Ignored;
            structNamed = true;
            break;
        case Phase::FirstName:
        case Phase::NextName:
            if (isIdentifier(token)) {
                names.emplace_back(token);
                phase = Phase::AfterName;
            } else {
                phase = Phase::Ignored;
            }
            break;
        case Phase::AfterName:
            phase = token == ","   ? Phase::NextName
                    : token == "=" ? Phase::Initializer
                                   : Phase::Ignored;
            break;
        case Phase::Initializer:
            phase = token == "," ? Phase::NextName : Phase::Initializer;
            break;
        case Phase::StructMembers: // only ever at depth 1 or more
        case Phase::Ignored:
            break;
        }
    }

    // Uniforms and inputs: `attribute` in vertex programs, `varying` in
    // fragment programs (in vertex programs it is an output).
    bool isStorage(std::string_view token, StorageKind& kind) const {
        kind = token == "uniform" ? StorageKind::Uniform : StorageKind::Input;
        return token == "uniform" || token == "in" ||
               (token == "attribute" && stage == ShaderStage::Vertex) ||
               (token == "varying" && stage == ShaderStage::Fragment);
    }

    void readQualifier(std::string_view token) {
        StorageKind kind = StorageKind::Uniform;
        if (isStorage(token, kind)) {
            phase = hasStorage ? Phase::Ignored : Phase::Qualifiers;
            hasStorage = true;
            storage = kind;
        } else if (token == "layout") {
            afterLayout = true;
        } else if (token == "struct") {
            phase = hasStorage ? Phase::StructName : Phase::Ignored;
        } else if (!isIgnoredQualifier(token)) {
            // The type, after a storage qualifier; otherwise out, const,
            // precision, a function's return type, ...
            const bool type = hasStorage && isIdentifier(token);
            phase = type ? Phase::FirstName : Phase::Ignored;
        }
    }

    void endStatement(bool semicolon) {
        if (semicolon && hasStorage && (phase == Phase::AfterName || phase == Phase::Initializer)) {
            for (std::string& name : names) {
                if (name.compare(0, 3, "gl_") != 0) {
                    found.push_back({std::move(name), storage});
                }
            }
        }
        names.clear();
        structNamed = false;
        phase = Phase::Qualifiers;
        hasStorage = false;
        afterLayout = false;
        functionBody = false;
    }

    const ShaderStage stage;
    std::vector<SourceDeclaration>& found;
    std::vector<std::string> names; // of the statement being read
    bool structNamed = false;
    Phase phase = Phase::Qualifiers;
    StorageKind storage = StorageKind::Uniform;
    bool hasStorage = false;
    bool afterLayout = false;
    bool functionBody = false;
    bool previousClosedParenthesis = false;
    int depth = 0;
};

} // namespace

std::vector<SourceDeclaration> findDeclarations(std::string_view source, ShaderStage stage,
                                                const DriverDefinitions& driver) {
    std::vector<SourceDeclaration> found;
    DeclarationReader reader(stage, found);
    preprocessSource(source, driver.extensions, [&](std::string_view token) { reader.take(token); });
    return found;
}

} // namespace korvath
