// What a source's `#version` line decides for its preprocessor: the macros the
// driver predefines and the rules its #if expressions follow. Plain text
// processing; no GL.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvath {

struct GlslVersion {
    int number = 110; // a source without #version is GLSL 1.10
    bool es = false;  // GLSL ES: #version 100, or 300, 310, 320 with "es"
    bool compatibility = false;
};

// The version a `#version NUMBER [PROFILE]` line names, from the tokens after
// "version"; empty for a number or profile no GLSL version has (the driver
// rejects those).
std::optional<GlslVersion> parseVersion(const std::vector<std::string_view>& tokens);

// __VERSION__, and GL_ES, GL_core_profile, GL_compatibility_profile and
// GL_FRAGMENT_PRECISION_HIGH where the version defines them, as name and value.
std::vector<std::pair<std::string, std::string>> versionMacros(const GlslVersion& version);

// Whether name is one that versionMacros decides on, defined or not.
bool isVersionMacroName(std::string_view name);

// Whether an identifier left in an #if expression counts as 0. GLSL 1.30 to
// 4.20 and GLSL ES make it an error; 1.10, 1.20 and 4.30 on follow C++.
bool undefinedNamesAreZero(const GlslVersion& version);

// Whether integer literals may carry a u suffix (GLSL 1.30 and ES 3.00 on).
bool hasUnsignedLiterals(const GlslVersion& version);

} // namespace korvath
