// The values the runtime keeps for uniforms, and whether a parameter's type
// takes a value: each parameter holds its last value so that every linked
// program it joins receives it, whichever was current when it was set.
#pragma once

#include "shading/runtime/HandleRecords.h"

#include <string>

namespace korvath::shading {

// A state matrix, as a count of components: a whole mat4.
constexpr int kMatrixComponents = 16;

// Records a value of `components` floats (1 to 4, read from four, or
// kMatrixComponents) set by `call`, and gives the parameter a new version.
void storeFloats(ShadingParameterRecord& parameter, const float* values, int components,
                 const char* call);
// Records a sampler's texture unit as its value and gives it a new version.
void storeTextureUnit(ShadingParameterRecord& parameter, GLint unit);

// Uploads the parameter's value to `location` of the current GL program, with
// the glUniform* call its type takes.
void uploadValue(const ShadingParameterRecord& parameter, GLint location);

bool sameValue(const ShadingParameterRecord& a, const ShadingParameterRecord& b);
// The value for messages: "(1, 2, 3)", "texture unit 1", or "a mat4".
std::string describeValue(const ShadingParameterRecord& parameter);

// "is a parameter of type vec2; the call sets <callSets>".
std::string typeDisagrees(const ShadingParameterRecord& parameter, const std::string& callSets);
// Why the parameter's type refuses a value of `components` (as storeFloats
// counts them); "" when it takes it.
std::string valueRefusal(const ShadingParameterRecord& parameter, int components);
// "path: call: \"name\" what", the wording of every parameter misuse.
std::string parameterMessage(const ShadingParameterRecord& parameter, const char* call,
                             const std::string& what);

} // namespace korvath::shading
