// The GLSL versions from 1.10 to 4.60 and ES 1.00 to 3.20, and what each
// predefines. Profiles exist from 1.50 on, which defaults to core.
#include "shading/source/GlslVersion.h"

#include <algorithm>
#include <iterator>

namespace korvath {

namespace {

constexpr int kDesktopVersions[] = {110, 120, 130, 140, 150, 330, 400, 410, 420, 430, 440, 450, 460};
constexpr int kEsVersions[] = {300, 310, 320};

bool listed(const int* begin, const int* end, int number) {
    return std::find(begin, end, number) != end;
}

std::optional<int> parseDecimal(std::string_view text) {
    if (text.empty() || text.size() > 3 || text[0] == '0') {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<GlslVersion> parseVersion(const std::vector<std::string_view>& tokens) {
    if (tokens.empty() || tokens.size() > 2) {
        return std::nullopt;
    }
    const std::optional<int> number = parseDecimal(tokens[0]);
    if (!number) {
        return std::nullopt;
    }
    const std::string_view profile = tokens.size() == 2 ? tokens[1] : std::string_view();
    GlslVersion version;
    version.number = *number;
    if (*number == 100 && profile.empty()) {
        version.es = true;
        return version;
    }
    if (listed(std::begin(kEsVersions), std::end(kEsVersions), *number)) {
        version.es = true;
        return profile == "es" ? std::optional<GlslVersion>(version) : std::nullopt;
    }
    if (!listed(std::begin(kDesktopVersions), std::end(kDesktopVersions), *number)) {
        return std::nullopt;
    }
    if (!profile.empty() && (*number < 150 || (profile != "core" && profile != "compatibility"))) {
        return std::nullopt;
    }
    version.compatibility = profile == "compatibility";
    return version;
}

std::vector<std::pair<std::string, std::string>> versionMacros(const GlslVersion& version) {
    std::vector<std::pair<std::string, std::string>> macros = {
        {"__VERSION__", std::to_string(version.number)}};
    if (version.es) {
        macros.emplace_back("GL_ES", "1");
    } else if (version.compatibility) {
        macros.emplace_back("GL_compatibility_profile", "1");
    } else if (version.number >= 150) {
        macros.emplace_back("GL_core_profile", "1");
    }
    // Desktop GLSL defines it from 1.30 on; GLSL ES where fragment programs have
    // highp, which every desktop driver that accepts ES sources offers.
    if (version.es || version.number >= 130) {
        macros.emplace_back("GL_FRAGMENT_PRECISION_HIGH", "1");
    }
    return macros;
}

bool isVersionMacroName(std::string_view name) {
    return name == "__VERSION__" || name == "GL_ES" || name == "GL_core_profile" ||
           name == "GL_compatibility_profile" || name == "GL_FRAGMENT_PRECISION_HIGH";
}

bool undefinedNamesAreZero(const GlslVersion& version) {
    return !version.es && (version.number <= 120 || version.number >= 430);
}

bool hasUnsignedLiterals(const GlslVersion& version) {
    return version.number >= (version.es ? 300 : 130);
}

} // namespace korvath
