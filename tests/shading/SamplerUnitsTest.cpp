// Sampler unit numbering: declaration order, the source's own bindings, and
// samplers the scan did not reach.
#include "shading/runtime/SamplerUnits.h"

#include <gmock/gmock.h>

namespace korvath::shading {
namespace {

using ::testing::ElementsAre;

std::vector<SourceDeclaration> uniforms(std::initializer_list<const char*> names) {
    std::vector<SourceDeclaration> declarations;
    for (const char* name : names) {
        declarations.push_back({name, StorageKind::Uniform});
    }
    return declarations;
}

TEST(SamplerUnits, FollowTheOrderTheSourceDeclaresNotTheDriversOrder) {
    // Other uniforms between them take no unit.
    EXPECT_THAT(samplerUnits({{"texture", 0}, {"shadowMap", 0}},
                             uniforms({"lightVec", "shadowMap", "tint", "texture"})),
                ElementsAre(1, 0));
}

TEST(SamplerUnits, SamplersTheScanDidNotReachFollowInTheDriversOrder) {
    EXPECT_THAT(samplerUnits({{"late", 0}, {"first", 0}, {"later", 0}}, uniforms({"first"})),
                ElementsAre(1, 0, 2));
}

TEST(SamplerUnits, AnyBindingOtherThanZeroKeepsEveryUnitTheSourceGave) {
    // layout(binding = 2) on one, none (so 0) on the other, as GLSL 4.20 has it.
    EXPECT_THAT(samplerUnits({{"a", 0}, {"b", 2}}, uniforms({"a", "b"})), ElementsAre(0, 2));
}

} // namespace
} // namespace korvath::shading
