// The shadow scene on a real GL context: its matrices against independently
// computed ones, the depth map, the state a render leaves, what the shadow
// programs receive for the aircraft, and the shadow itself in the pixels.
#include "ShadowRayCast.h"
#include "ShadowSceneSetup.h"

#include "app/FrameClock.h"
#include "scenes/ShadowGeometry.h"
#include "shading/MatrixInverse.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

using korvath::Matrix4;
using korvath::ShadowScene;
using korvath::Vector3;
using namespace korvath::test;

namespace {

constexpr double pi = 3.14159265358979323846;

ShadowScene& sharedScene() {
    static ShadowScene* scene = buildSceneAsTheSwitchDoes();
    return *scene;
}

Matrix4 perspective(double fovyDegrees, double aspect, double near, double far) {
    const double f = 1.0 / std::tan(fovyDegrees * pi / 360.0);
    Matrix4 m;
    m.m[0] = static_cast<float>(f / aspect);
    m.m[5] = static_cast<float>(f);
    m.m[10] = static_cast<float>((far + near) / (near - far));
    m.m[11] = -1.0f;
    m.m[14] = static_cast<float>(2.0 * far * near / (near - far));
    m.m[15] = 0.0f;
    return m;
}

Matrix4 lookAtOrigin(const Vector3& eye) {
    const Vector3 forward = normalized(Vector3() - eye);
    const Vector3 side = normalized(cross(forward, Vector3(0, 1, 0)));
    const Vector3 up = cross(side, forward);
    Matrix4 m;
    const Vector3 rows[3] = {side, up, -1.0f * forward};
    for (int r = 0; r < 3; ++r) {
        m.m[r] = rows[r].x;
        m.m[4 + r] = rows[r].y;
        m.m[8 + r] = rows[r].z;
        m.m[12 + r] = -dot(rows[r], eye);
    }
    return m;
}

void expectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tolerance, const char* what) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << what << " element " << i;
    }
}

Matrix4 readGlMatrix(GLenum which) {
    Matrix4 m;
    glGetFloatv(which, m.m);
    return m;
}

struct Pixel {
    int x, y;
};

// Where a world point lands in the 800x600 window, and whether it is inside.
std::optional<Pixel> project(const ShadowScene& scene, const Vector3& world) {
    const Vector3 ndc =
        transformPoint(scene.cameraProjection * scene.cameraView * scene.mouseView, world);
    const int x = static_cast<int>((ndc.x + 1.0f) * 400.0f);
    const int y = static_cast<int>((ndc.y + 1.0f) * 300.0f);
    if (x < 2 || x > 797 || y < 2 || y > 597 || ndc.z < -1.0f || ndc.z > 1.0f) {
        return std::nullopt;
    }
    return Pixel{x, y};
}

Vector3 cameraEyeInWorld(const ShadowScene& scene) {
    return transformPoint(korvath::inverted(scene.cameraView * scene.mouseView), Vector3());
}

// Mean brightness of the 3x3 pixels around p.
double brightness(const std::vector<std::uint8_t>& pixels, Pixel p) {
    double sum = 0.0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const Rgb c = pixelAt(pixels, p.x + dx, p.y + dy);
            sum += (c.r + c.g + c.b) / 3.0;
        }
    }
    return sum / 9.0;
}

std::vector<std::uint8_t> renderAt(ShadowScene& scene, float t) {
    korvath::frameClock.sceneTime = t;
    scene.render();
    return readBackBuffer();
}

// A ground point and what the scene's meshes say about it at time t.
struct GroundPoint {
    Vector3 point;
    float facingLight; // cosine between its normal and the way to the light
    Pixel pixel;
};

class ShadowProbe {
public:
    ShadowProbe(const ShadowScene& scene, float t)
        : scene_(scene), light_(scene.lightPosition),
          ground_(worldTriangles(*scene.landscape, Matrix4())),
          aircraft_(worldTriangles(*scene.aircraft, korvath::aircraftPlacement(t))),
          aircraftCentre_(meshCentre(*scene.aircraft, korvath::aircraftPlacement(t))),
          eye_(cameraEyeInWorld(scene)) {}

    // The ground where the light's ray through the aircraft's centre lands.
    std::optional<GroundPoint> shadowed() const {
        const std::optional<RayHit> hit = firstHit(ground_, light_, normalized(aircraftCentre_ - light_));
        if (!hit || isClearPath(aircraft_, light_, hit->point)) {
            return std::nullopt;
        }
        return seen(hit->point, hit->normal);
    }

    // Ground within a few units of `near`, clear of every shadow, facing the light
    // about as much as `near` does.
    std::optional<GroundPoint> litBeside(const GroundPoint& near) const {
        for (float radius : {2.5f, 3.5f, 5.0f}) {
            for (int step = 0; step < 8; ++step) {
                const float angle = static_cast<float>(step * pi / 4);
                const Vector3 above = near.point + Vector3(radius * std::cos(angle), 100.0f, radius * std::sin(angle));
                const std::optional<RayHit> hit = firstHit(ground_, above, Vector3(0, -1, 0));
                if (!hit || !isLit(hit->point)) {
                    continue;
                }
                const std::optional<GroundPoint> candidate = seen(hit->point, hit->normal);
                if (candidate && std::fabs(candidate->facingLight - near.facingLight) < 0.15f) {
                    return candidate;
                }
            }
        }
        return std::nullopt;
    }

    // No mesh between the light and the point, nor beside that path by the
    // width of the soft shadow edge.
    bool isLit(const Vector3& point) const {
        for (const Vector3& offset : {Vector3(), Vector3(0.4f, 0, 0), Vector3(-0.4f, 0, 0),
                                      Vector3(0, 0, 0.4f), Vector3(0, 0, -0.4f)}) {
            const Vector3 p = point + offset;
            if (!isClearPath(aircraft_, light_, p)) {
                return false;
            }
        }
        return isClearPath(ground_, light_, point);
    }

    // Neither mesh hides the point from the camera.
    bool isSeen(const Vector3& point) const {
        return isClearPath(ground_, eye_, point) && isClearPath(aircraft_, eye_, point);
    }

private:
    // The point as the camera shows it, if the camera sees its front (the camera
    // pass culls back faces) and it faces the light.
    std::optional<GroundPoint> seen(const Vector3& point, const Vector3& normal) const {
        const float facing = dot(normal, normalized(light_ - point));
        if (facing < 0.3f || dot(normal, eye_ - point) <= 0.0f || !isSeen(point)) {
            return std::nullopt;
        }
        const std::optional<Pixel> pixel = project(scene_, point);
        if (!pixel) {
            return std::nullopt;
        }
        return GroundPoint{point, facing, *pixel};
    }

    const ShadowScene& scene_;
    Vector3 light_;
    std::vector<WorldTriangle> ground_;
    std::vector<WorldTriangle> aircraft_;
    Vector3 aircraftCentre_;
    Vector3 eye_;
};

} // namespace

TEST(ShadowSceneMatrices, CameraAndLightMatchIndependentPerspectiveAndLookAt) {
    const ShadowScene& scene = sharedScene();
    expectMatrixNear(scene.cameraProjection, perspective(45.0, 800.0 / 600.0, 0.5, 500.0), 1e-5f, "camera projection");
    expectMatrixNear(scene.cameraView, lookAtOrigin(Vector3(0, 10, 10)), 1e-5f, "camera view");
    expectMatrixNear(scene.lightProjection, perspective(90.0, 1.0, 1.0, 80.0), 1e-5f, "light projection");
    expectMatrixNear(scene.lightView, lookAtOrigin(Vector3(0, 50, 50)), 1e-5f, "light view");
}

TEST(ShadowSceneMatrices, ViewsPutTheOriginStraightAheadAndTheLightRangeOnTheDepthRange) {
    const ShadowScene& scene = sharedScene();
    const Vector3 seen = transformPoint(scene.cameraView, Vector3());
    EXPECT_NEAR(seen.x, 0.0f, 1e-5f);
    EXPECT_NEAR(seen.y, 0.0f, 1e-5f);
    EXPECT_NEAR(seen.z, -std::sqrt(200.0f), 1e-4f);
    // The camera's aspect is 800/600 taken in floating point, not 1.
    EXPECT_NEAR(scene.cameraProjection.m[5] / scene.cameraProjection.m[0], 800.0f / 600.0f, 1e-5f);
    EXPECT_NEAR(transformPoint(scene.lightProjection, Vector3(0, 0, -1)).z, -1.0f, 1e-5f);
    EXPECT_NEAR(transformPoint(scene.lightProjection, Vector3(0, 0, -80)).z, 1.0f, 1e-5f);
}

TEST(ShadowSceneMatrices, ComputeLeavesTheModelViewStackAsFound) {
    ShadowScene& scene = sharedScene();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    const Matrix4 before = readGlMatrix(GL_MODELVIEW_MATRIX);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);

    scene.computeMatrices();

    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    expectMatrixNear(readGlMatrix(GL_MODELVIEW_MATRIX), before, 0.0f, "modelview");
}

TEST(ShadowSceneMatrices, AircraftPlacementIsTheDesignedTranslateAndRotateCalls) {
    shadowTestShaderContext();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    for (float t : {0.0f, 1.3f, 40.0f}) {
        glLoadIdentity();
        glTranslatef(4.0f * static_cast<float>(std::sin(static_cast<double>(t))), 6.0f,
                     4.0f * static_cast<float>(std::cos(static_cast<double>(t))));
        glRotatef(static_cast<float>(t * 180.0f / 3.14), 0.0f, 1.0f, 0.0f);
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
        expectMatrixNear(korvath::aircraftPlacement(t), readGlMatrix(GL_MODELVIEW_MATRIX), 2e-5f, "placement");
    }
    glPopMatrix();
}

TEST(ShadowSceneMap, IsA1024DepthTextureOfPlainDepthWithNearestClamp) {
    const ShadowScene& scene = sharedScene();
    EXPECT_EQ(scene.shadowMapSize, 1024);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    GLint width = 0, height = 0, depthBits = 0, compareMode = -1, value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_DEPTH_SIZE, &depthBits);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 1024);
    EXPECT_GE(depthBits, 16);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compareMode);
    EXPECT_EQ(compareMode, GL_NONE);
    for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
        glGetTexParameteriv(GL_TEXTURE_2D, filter, &value);
        EXPECT_EQ(value, GL_NEAREST);
    }
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        glGetTexParameteriv(GL_TEXTURE_2D, wrap, &value);
        EXPECT_EQ(value, GL_CLAMP);
    }
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST(ShadowSceneMap, EveryTexelIsRefilledByTheDepthPassBeyondTheWindowToo) {
    ShadowScene& scene = sharedScene();
    // Zero is a depth nothing in the scene can have (the light's near plane is 1
    // unit away and the clear value is 1), so a texel left at zero was not written.
    std::vector<float> depth(1024 * 1024, 0.0f);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1024, 1024, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());

    renderAt(scene, 1.0f);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());

    int unwritten = 0, drawn = 0;
    for (float d : depth) {
        unwritten += d <= 0.0f;
        drawn += d < 1.0f && d > 0.0f;
    }
    EXPECT_EQ(unwritten, 0);
    EXPECT_GT(drawn, 0) << "the meshes' faces turned from the light are in the map";
}

TEST(ShadowSceneRender, LeavesTheStateTheFrameDriverReliesOn) {
    ShadowScene& scene = sharedScene();
    while (glGetError() != GL_NO_ERROR) {
    }
    renderAt(scene, 2.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    GLint value = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &value);
    EXPECT_EQ(value, GL_TEXTURE1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    GLboolean mask[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &value);
    EXPECT_EQ(value, 0);
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &value);
    EXPECT_EQ(value, 0) << "no shading program stays enabled";
}

TEST(ShadowSceneRender, AircraftProgramsGetItsPlacementInTheShadowLookupAndTheLight) {
    ShadowScene& scene = sharedScene();
    const float t = 0.7f;
    scene.mouseView = switchMouseView();
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(scene.cameraView.m);
    cgGLEnableProfile(scene.shaderContext.vertexProfile);
    cgGLBindProgram(scene.vertexProgram);

    scene.drawObjects(t, true);

    GLint pipeline = 0, program = 0;
    glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
    glGetProgramPipelineiv(static_cast<GLuint>(pipeline), GL_VERTEX_SHADER, &program);
    ASSERT_NE(program, 0);
    const auto uniform = [&](const char* name, float* values) {
        glGetUniformfv(static_cast<GLuint>(program), glGetUniformLocation(static_cast<GLuint>(program), name), values);
    };
    const Matrix4 placement = korvath::aircraftPlacement(t);
    Matrix4 texTransform, modelView;
    uniform("texTransform", texTransform.m);
    uniform("modelView", modelView.m);
    float light[3] = {};
    uniform("lightVec", light);
    cgGLDisableProfile(scene.shaderContext.vertexProfile);

    const Matrix4 worldToMap = korvath::shadowBiasMatrix() * scene.lightProjection * scene.lightView;
    expectMatrixNear(texTransform, worldToMap * placement, 1e-4f, "texTransform");
    expectMatrixNear(modelView, scene.cameraView * scene.mouseView * placement, 1e-4f, "modelView");
    const Vector3 expectedLight = korvath::toAircraftCoordinates(t, scene.lightPosition);
    EXPECT_NEAR(light[0], expectedLight.x, 1e-3f);
    EXPECT_NEAR(light[1], expectedLight.y, 1e-3f);
    EXPECT_NEAR(light[2], expectedLight.z, 1e-3f);
    expectMatrixNear(readGlMatrix(GL_TEXTURE_MATRIX), Matrix4(), 0.0f, "texture matrix, restored");
    scene.mouseView = Matrix4();
}

TEST(ShadowSceneRender, GroundUnderTheAircraftSeenFromTheLightIsDarkerThanLitGroundBeside) {
    ShadowScene& scene = sharedScene();
    int checked = 0;
    // The view the switch leaves, the plain look-at, and one turned by a drag.
    const Matrix4 turned = Matrix4::rotation(10.0f, 1.0f, 0.0f, 0.0f) * Matrix4::rotation(35.0f, 0.0f, 1.0f, 0.0f);
    for (const Matrix4& view : {switchMouseView(), Matrix4(), turned}) {
        scene.mouseView = view;
        const int checkedBefore = checked;
        for (float t = 0.0f; t < 6.3f && checked < checkedBefore + 2; t += 0.35f) {
            const ShadowProbe probe(scene, t);
            const std::optional<GroundPoint> shadowed = probe.shadowed();
            const std::optional<GroundPoint> lit = shadowed ? probe.litBeside(*shadowed) : std::nullopt;
            if (!lit) {
                continue;
            }
            const std::vector<std::uint8_t> pixels = renderAt(scene, t);
            savePng(pixels, "shadow-probe-" + std::to_string(checked) + ".png");
            EXPECT_LT(brightness(pixels, shadowed->pixel), 0.7 * brightness(pixels, lit->pixel))
                << "t = " << t << ", shadow at pixel (" << shadowed->pixel.x << ", " << shadowed->pixel.y
                << "), lit ground at (" << lit->pixel.x << ", " << lit->pixel.y << ")";
            ++checked;
        }
    }
    scene.mouseView = Matrix4();
    EXPECT_GE(checked, 2) << "too few times showed the shadow on open ground";
}

TEST(ShadowSceneRender, TheShadowMovesOnWithTheAircraft) {
    ShadowScene& scene = sharedScene();
    int checked = 0;
    for (float t = 0.0f; t < 6.3f && checked < 3; t += 0.35f) {
        const float later = t + static_cast<float>(pi);
        const std::optional<GroundPoint> shadowed = ShadowProbe(scene, t).shadowed();
        const ShadowProbe afterwards(scene, later);
        if (!shadowed || !afterwards.isLit(shadowed->point) || !afterwards.isSeen(shadowed->point)) {
            continue;
        }
        const double inShadow = brightness(renderAt(scene, t), shadowed->pixel);
        const double litLater = brightness(renderAt(scene, later), shadowed->pixel);
        EXPECT_LT(inShadow, 0.7 * litLater) << "t = " << t;
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no time showed the shadow on open ground";
}
