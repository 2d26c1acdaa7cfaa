// Sampler unit numbering: the source's own bindings, or declaration order.
#include "shading/runtime/SamplerUnits.h"

#include <algorithm>

namespace korvath::shading {

std::vector<GLint> samplerUnits(const std::vector<ActiveSampler>& samplers,
                                const std::vector<SourceDeclaration>& declarations) {
    std::vector<GLint> units;
    for (const ActiveSampler& sampler : samplers) {
        units.push_back(sampler.driverUnit);
    }
    if (std::any_of(units.begin(), units.end(), [](GLint unit) { return unit != 0; })) {
        return units;
    }
    std::fill(units.begin(), units.end(), -1);
    GLint next = 0;
    for (const SourceDeclaration& declaration : declarations) {
        for (std::size_t i = 0; i < samplers.size(); ++i) {
            if (units[i] < 0 && samplers[i].name == declaration.name) {
                units[i] = next++;
            }
        }
    }
    for (GLint& unit : units) {
        if (unit < 0) {
            unit = next++;
        }
    }
    return units;
}

} // namespace korvath::shading
