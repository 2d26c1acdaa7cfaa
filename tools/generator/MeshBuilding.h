// Helpers for building generator meshes: face winding and grid quads.
#pragma once

#include "ThreeDsWriter.h"

namespace korvath::generator {

// Appends a vertex and answers its index.
std::uint16_t addVertex(ThreeDsMesh& mesh, const Vector3& position, double u, double v);

// Appends triangle (a, b, c), turned if needed so that it winds
// counter-clockwise seen from the side its normal should face.
void addFacing(ThreeDsMesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c,
               const Vector3& facing);

// Appends triangle (a, b, c), turned if needed so that its normal points away
// from a point inside the (convex) part it closes.
void addOutward(ThreeDsMesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c,
                const Vector3& inside);

// Two triangles over the quad a-b-c-d (in order around it), facing the given
// direction; the diagonal runs a-c when splitAc, else b-d.
void addQuadFacing(ThreeDsMesh& mesh, std::uint16_t a, std::uint16_t b, std::uint16_t c,
                   std::uint16_t d, const Vector3& facing, bool splitAc);

} // namespace korvath::generator
