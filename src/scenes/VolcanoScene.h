// The start-up scene: the ocean, the island and the erupting volcano.
#pragma once

#include "math/Vector.h"
#include "scenes/PassListener.h"
#include "scenes/PointGuardBand.h"
#include "shading/ShaderContext.h"

namespace korvath {

class Mesh3ds;
class Ocean;
class ParticleSystem;

class VolcanoScene {
public:
    // Needs the window, the fixed GL state, the image library and the shading context.
    explicit VolcanoScene(const ShaderContext& context);
    ~VolcanoScene();
    VolcanoScene(const VolcanoScene&) = delete;
    VolcanoScene& operator=(const VolcanoScene&) = delete;

    // Draws ocean, terrain, stones, lava and ash at the current scene time under
    // the camera view on the modelview stack; leaves the depth test on, blending off.
    void draw();

    ShaderContext shaderContext;
    ParticleSystem* ash = nullptr;
    ParticleSystem* lava = nullptr;
    ParticleSystem* stones = nullptr;
    Ocean* ocean = nullptr;
    Mesh3ds* terrain = nullptr;
    Vector3 viewLightPosition; // the light under this frame's view, written before draw
    // Around the stones, lava and ash, so sprites leaving the window slide out.
    PointGuardBand pointGuardBand;
    // Told of the passes ocean, terrain, stones, lava and ash; not owned, none by default.
    PassListener* passListener = nullptr;
};

} // namespace korvath
