// The animated water surface of the volcano scene: a 70 x 70 grid moved by a
// sum of Gerstner waves on the CPU every frame and drawn as lit triangle strips
// through its own pair of shading programs.
#pragma once

#include "math/Vector.h"
#include "ocean/OceanGrid.h"
#include "ocean/StripStream.h"
#include "ocean/Wave.h"
#include "shading/ProgramPair.h"

#include <vector>

namespace korvath {

class Ocean {
public:
    // width along x, depth along z. Compiles "cg/vp_ocean.cg" and "cg/fp_ocean.cg"
    // against the shared context (failures reach the runtime's error callback);
    // needs a current GL context. The grid starts all (0, 0, 0).
    Ocean(float width, float depth, const ShaderContext& shaderContext);
    Ocean(const Ocean&) = delete;
    Ocean& operator=(const Ocean&) = delete;

    // Appends a wave; the direction is normalised, the wavelength must be positive.
    void addWave(float directionX, float directionY, float directionZ, float wavelength,
                 float amplitude, float phase);

    // Moves the grid to the waves at time (seconds of scene time), then draws it
    // under the caller's modelview and projection, lit from lightPosition (the
    // world light under the camera view, read as an eye-space position). Leaves
    // both shading profiles disabled. Allocates only the matrix product's 16-float
    // temporary, when the runtime forms the modelview-projection matrix.
    void draw(float time, Vector3 lightPosition);

    OceanGrid grid() const { return {columns, rows, cellWidth, cellDepth}; }

    std::vector<Wave> waves;       // in the order added: the order of summation
    std::vector<Vector3> vertices; // rows x columns displaced positions, row-major
    int columns;
    int rows;
    float cellWidth;
    float cellDepth;
    // Destroyed with the ocean, the vertex program first.
    ProgramPair programs;
    CGparameter lightVecParam;

private:
    RestPositions restPositions;     // the grid at rest, for the wave update
    std::vector<StripVertex> stream; // this frame's strips, rebuilt by draw
};

} // namespace korvath
