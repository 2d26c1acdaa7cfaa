// The shadow scene on a real GL context: its matrices against independently
// computed ones, the depth map, the state a render leaves, what the programs
// receive for the aircraft, and the aircraft's shadow in the pixels.
#include "ShadowRayCast.h"
#include "ShadowSceneSetup.h"

#include "app/FrameClock.h"
#include "scenes/ShadowGeometry.h"
#include "shading/MatrixInverse.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using korvath::Matrix4;
using korvath::ShadowScene;
using korvath::Vector3;
using namespace korvath::test;

namespace {

ShadowScene& sharedScene() {
    static ShadowScene* scene = buildSceneAsTheSwitchDoes();
    return *scene;
}

Matrix4 perspective(double fovyDegrees, double aspect, double near, double far) {
    const double f = 1.0 / std::tan(fovyDegrees * 3.14159265358979 / 360.0);
    Matrix4 m;
    m.m[0] = static_cast<float>(f / aspect);
    m.m[5] = static_cast<float>(f);
    m.m[10] = static_cast<float>((far + near) / (near - far));
    m.m[11] = -1.0f;
    m.m[14] = static_cast<float>(2.0 * far * near / (near - far));
    m.m[15] = 0.0f;
    return m;
}

// Rows side, up and back; the translation takes the eye to the origin.
Matrix4 lookAtOrigin(const Vector3& eye) {
    const Vector3 forward = normalized(Vector3() - eye);
    const Vector3 side = normalized(cross(forward, Vector3(0, 1, 0)));
    const Vector3 rows[3] = {side, cross(side, forward), -1.0f * forward};
    Matrix4 m;
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
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << what << ", element " << i;
    }
}

Matrix4 readGlMatrix(GLenum which) {
    Matrix4 m;
    glGetFloatv(which, m.m);
    return m;
}

std::vector<std::uint8_t> renderAt(ShadowScene& scene, float t) {
    korvath::frameClock.sceneTime = t;
    scene.render();
    return readBackBuffer();
}

// Mean brightness of the 3x3 pixels around the window position of a world point.
double brightnessAt(const ShadowScene& scene, const std::vector<std::uint8_t>& pixels, const Vector3& world) {
    const Vector3 ndc = transformPoint(scene.cameraProjection * scene.cameraView * scene.mouseView, world);
    const int x = static_cast<int>((ndc.x + 1.0f) * 400.0f);
    const int y = static_cast<int>((ndc.y + 1.0f) * 300.0f);
    double sum = 0.0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const Rgb c = pixelAt(pixels, x + dx, y + dy);
            sum += (c.r + c.g + c.b) / 27.0;
        }
    }
    return sum;
}

bool isOnScreen(const ShadowScene& scene, const Vector3& world) {
    const Vector3 ndc = transformPoint(scene.cameraProjection * scene.cameraView * scene.mouseView, world);
    return std::fabs(ndc.x) < 0.98f && std::fabs(ndc.y) < 0.98f && std::fabs(ndc.z) < 1.0f;
}

} // namespace

TEST(ShadowSceneMatrices, MatchIndependentPerspectiveAndLookAtAndLeaveTheStackAsFound) {
    ShadowScene& scene = sharedScene();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    const Matrix4 before = readGlMatrix(GL_MODELVIEW_MATRIX);
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    scene.computeMatrices();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    expectMatrixNear(readGlMatrix(GL_MODELVIEW_MATRIX), before, 0.0f, "model-view after");

    // The camera's aspect is 800 / 600 in floating point, not the integer 1.
    expectMatrixNear(scene.cameraProjection, perspective(45.0, 800.0 / 600.0, 0.5, 500.0), 1e-5f, "camera projection");
    expectMatrixNear(scene.cameraView, lookAtOrigin(Vector3(0, 10, 10)), 1e-5f, "camera view");
    expectMatrixNear(scene.lightProjection, perspective(90.0, 1.0, 1.0, 80.0), 1e-5f, "light projection");
    expectMatrixNear(scene.lightView, lookAtOrigin(Vector3(0, 50, 50)), 1e-5f, "light view");
}

TEST(ShadowSceneMatrices, AircraftPlacementIsTheTranslateAndThreeRotationsInOrder) {
    shadowTestShaderContext();
    glMatrixMode(GL_MODELVIEW);
    for (float t : {0.0f, 1.3f, 40.0f}) {
        glLoadIdentity();
        glTranslatef(4.0f * static_cast<float>(std::sin(static_cast<double>(t))), 6.0f,
                     4.0f * static_cast<float>(std::cos(static_cast<double>(t))));
        glRotatef(static_cast<float>(t * 180.0f / 3.14), 0.0f, 1.0f, 0.0f);
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
        expectMatrixNear(korvath::aircraftPlacement(t), readGlMatrix(GL_MODELVIEW_MATRIX), 2e-5f, "placement");
    }
}

TEST(ShadowSceneMap, DepthPassRefillsEveryTexelOfTheMapBeyondTheWindowToo) {
    ShadowScene& scene = sharedScene();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 1024);
    // No texel of the scene can hold depth 0 (the light's near plane is 1 unit
    // away, the clear value is 1), so a zero left over was never written.
    std::vector<float> depth(1024 * 1024, 0.0f);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1024, 1024, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());

    renderAt(scene, 1.0f);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_EQ(std::count(depth.begin(), depth.end(), 0.0f), 0);
    EXPECT_GT(std::count_if(depth.begin(), depth.end(), [](float d) { return d < 1.0f; }), 0)
        << "the aircraft is in the map";
}

TEST(ShadowSceneRender, LeavesUnitOneActiveTheWindowBoundAndNoProgramInUse) {
    ShadowScene& scene = sharedScene();
    while (glGetError() != GL_NO_ERROR) {
    }
    renderAt(scene, 2.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const std::pair<GLenum, GLint> expected[] = {
        {GL_ACTIVE_TEXTURE, GL_TEXTURE1}, {GL_CULL_FACE_MODE, GL_BACK}, {GL_MATRIX_MODE, GL_MODELVIEW},
        {GL_DRAW_FRAMEBUFFER_BINDING, 0}, {GL_READ_FRAMEBUFFER_BINDING, 0}, {GL_PROGRAM_PIPELINE_BINDING, 0}};
    for (const auto& [name, value] : expected) {
        GLint actual = -1;
        glGetIntegerv(name, &actual);
        EXPECT_EQ(actual, value) << "state 0x" << std::hex << name;
    }
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
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
    const auto uniform = [program](const char* name, float* values) {
        const GLuint id = static_cast<GLuint>(program);
        glGetUniformfv(id, glGetUniformLocation(id, name), values);
    };
    Matrix4 texTransform, modelView;
    uniform("texTransform", texTransform.m);
    uniform("modelView", modelView.m);
    float light[3] = {};
    uniform("lightVec", light);
    cgGLDisableProfile(scene.shaderContext.vertexProfile);

    const Matrix4 placement = korvath::aircraftPlacement(t);
    const Matrix4 worldToMap = korvath::shadowBiasMatrix() * scene.lightProjection * scene.lightView;
    expectMatrixNear(texTransform, worldToMap * placement, 1e-4f, "texTransform");
    expectMatrixNear(modelView, scene.cameraView * scene.mouseView * placement, 1e-4f, "modelView");
    expectMatrixNear(readGlMatrix(GL_TEXTURE_MATRIX), Matrix4(), 0.0f, "texture matrix, restored");
    const Vector3 expectedLight = korvath::toAircraftCoordinates(t, scene.lightPosition);
    EXPECT_NEAR(light[0], expectedLight.x, 1e-3f);
    EXPECT_NEAR(light[1], expectedLight.y, 1e-3f);
    EXPECT_NEAR(light[2], expectedLight.z, 1e-3f);
    scene.mouseView = Matrix4();
}

// The ground where the light's ray through the aircraft lands, against ground
// three units beside it and against the same ground half a turn later.
TEST(ShadowSceneRender, GroundUnderTheAircraftIsDarkerThanGroundBesideAndThanItselfLater) {
    ShadowScene& scene = sharedScene();
    const korvath::Mesh3ds& ground = *scene.landscape;
    const Vector3 light = scene.lightPosition;
    const Matrix4 turned = Matrix4::rotation(10.0f, 1.0f, 0.0f, 0.0f) * Matrix4::rotation(35.0f, 0.0f, 1.0f, 0.0f);
    int checked = 0;
    for (const Matrix4& view : {switchMouseView(), Matrix4(), turned}) {
        scene.mouseView = view;
        const Vector3 eye = transformPoint(korvath::inverted(scene.cameraView * view), Vector3());
        const int checkedBefore = checked;
        for (float t = 0.0f; t < 6.3f && checked < checkedBefore + 2; t += 0.5f) {
            const float later = t + 3.14159265f;
            const Sphere aircraft = boundingSphere(*scene.aircraft, korvath::aircraftPlacement(t));
            const Sphere aircraftLater = boundingSphere(*scene.aircraft, korvath::aircraftPlacement(later));
            const std::optional<RayHit> shadowed = castRay(ground, light, normalized(aircraft.centre - light));
            const std::optional<RayHit> beside =
                shadowed ? castRay(ground, shadowed->point + Vector3(3, 50, 0), Vector3(0, -1, 0)) : std::nullopt;
            // Both in view and facing the light alike; the one beside far from the
            // aircraft's shadow; nothing hiding either from the camera.
            const auto shows = [&](const RayHit& hit) {
                return isOnScreen(scene, hit.point) && isFirstHit(ground, eye, hit.point) &&
                       dot(hit.normal, eye - hit.point) > 0.0f && passesBy(aircraft, eye, hit.point, 0.2f) &&
                       passesBy(aircraftLater, eye, hit.point, 0.2f);
            };
            if (!beside || !shows(*shadowed) || !shows(*beside) || !isFirstHit(ground, light, beside->point) ||
                !passesBy(aircraft, light, beside->point, 0.5f) || !passesBy(aircraftLater, light, shadowed->point, 0.5f) ||
                std::fabs(dot(shadowed->normal - beside->normal, normalized(light - shadowed->point))) > 0.1f) {
                continue;
            }
            const std::vector<std::uint8_t> pixels = renderAt(scene, t);
            savePng(pixels, "shadow-frame-" + std::to_string(checked) + ".png");
            const double inShadow = brightnessAt(scene, pixels, shadowed->point);
            EXPECT_LT(inShadow, 0.7 * brightnessAt(scene, pixels, beside->point)) << "t = " << t;
            EXPECT_LT(inShadow, 0.7 * brightnessAt(scene, renderAt(scene, later), shadowed->point)) << "t = " << t;
            ++checked;
        }
    }
    scene.mouseView = Matrix4();
    EXPECT_GE(checked, 3) << "too few times showed the shadow on open ground";
}
