// Queries over the recorded calls.
#include "CallLog.h"

#include <algorithm>

namespace korvath::test {

int CallLog::count(CallKind kind) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [kind](const Call& call) { return call.kind == kind; }));
}

std::vector<Particle> CallLog::drawn() const {
    std::vector<Particle> particles;
    for (const Call& call : calls) {
        if (call.kind == CallKind::Draw) {
            particles.push_back(call.particle);
        }
    }
    return particles;
}

} // namespace korvath::test
