// The shadow scene: construction, the light and camera matrices, the depth map,
// and the two passes of every frame (depth pass from the light, camera pass).
#include "scenes/ShadowScene.h"

#include "diagnostics/GlErrors.h"
#include "image/TextureImage.h"
#include "mesh/Mesh3ds.h"
#include "scenes/SceneTime.h"
#include "scenes/ShadowGeometry.h"
#include "scenes/TextureNotice.h"

#include <GL/glu.h>

namespace korvath {

namespace {

struct Material {
    float ambient[4];
    float diffuse[4];
    float specular[4];
};

const Material landscapeMaterial = {
    {0.0f, 0.0f, 0.0f, 0.0f}, {0.2f, 0.2f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 0.0f}};
const Material aircraftMaterial = {
    {0.2f, 0.2f, 0.3f, 1.0f}, {0.1f, 0.4f, 0.7f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}};

Mesh3ds* loadMesh(const char* meshPath, const char* texturePath) {
    auto* mesh = new Mesh3ds;
    mesh->load(meshPath);
    mesh->textureId = loadTextureImage(texturePath);
    return mesh;
}

void setMaterial(const ShadowScene& scene, const Material& material) {
    const float* a = material.ambient;
    const float* d = material.diffuse;
    const float* s = material.specular;
    cgGLSetParameter4f(scene.ambientColorParam, a[0], a[1], a[2], a[3]);
    cgGLSetParameter4f(scene.diffuseColorParam, d[0], d[1], d[2], d[3]);
    cgGLSetParameter4f(scene.specularColorParam, s[0], s[1], s[2], s[3]);
}

// The shadow lookup reads the depth map on unit 0; each mesh binds its own
// texture on unit 1, where the fragment program's "texture" sampler reads.
constexpr GLenum kShadowMapUnit = GL_TEXTURE0;
constexpr GLenum kMeshUnit = GL_TEXTURE1;

Matrix4 readModelView() {
    Matrix4 matrix;
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix.m);
    return matrix;
}

} // namespace

ShadowScene::ShadowScene(const ShaderContext& context)
    : programs(context,
               {"cg/vp_shadow.cg",
                {"modelViewProj", "texTransform", "modelView", "modelViewIT", "lightVec"}},
               {"cg/fp_shadow.cg",
                {"shadowMap", "texture", "ambientColor", "diffuseColor", "specularColor"}},
               ProgramPair::Compile::AsWritten, ProgramPair::Programs::LiveWithContext),
      texTransformParam(programs.vertexParameter("texTransform")),
      lightVecParam(programs.vertexParameter("lightVec")),
      shadowMapParam(programs.fragmentParameter("shadowMap")),
      ambientColorParam(programs.fragmentParameter("ambientColor")),
      diffuseColorParam(programs.fragmentParameter("diffuseColor")),
      specularColorParam(programs.fragmentParameter("specularColor")) {
    landscape = loadMesh("data/model/landscape.3ds", "data/model/landscape.jpg");
    aircraft = loadMesh("data/model/flieger.3ds", "data/model/flieger.jpg");
    if (!isTextureLoaded(landscape->textureId) || !isTextureLoaded(aircraft->textureId)) {
        printTextureNotFound();
    }
}

ShadowScene::~ShadowScene() {
    delete landscape;
    delete aircraft;
}

void ShadowScene::computeMatrices() {
    // The mode first, so that the push and the pop pair up on the model-view stack.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();

    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(viewportWidth) / viewportHeight, 0.5, 500.0);
    cameraProjection = readModelView();

    glLoadIdentity();
    gluLookAt(cameraEye.x, cameraEye.y, cameraEye.z, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    cameraView = readModelView();

    // A 90-degree cone from 1 to 80 units: wherever the aircraft's shadow falls
    // lies inside; the landscape's far corners lie beyond and count as lit.
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 1.0, 80.0);
    lightProjection = readModelView();

    glLoadIdentity();
    gluLookAt(lightPosition.x, lightPosition.y, lightPosition.z, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    lightView = readModelView();

    glPopMatrix();
}

void ShadowScene::createShadowMap() {
    shadowMapSize = 1024;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    // Plain depth values without a compare mode: the fragment program compares.
    glGenTextures(1, &shadowTexture);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, shadowMapSize, shadowMapSize, 0,
                 GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);

    depthTarget.create(shadowMapSize);
}

void ShadowScene::render() {
    const float t = sceneTime;
    announcePass(passListener, "depth");
    renderDepthPass(t);
    reportGlErrors("the shadow depth pass");
    announcePass(passListener, "camera");
    renderCameraPass(t);
    reportGlErrors("the shadow camera pass");
    announcePass(passListener, nullptr);
}

void ShadowScene::drawObjects(float t, bool cameraPass) {
    glPushMatrix();
    if (cameraPass) {
        glMultMatrixf(mouseView.m);
        programs.setStandardMatrices();
        setMaterial(*this, landscapeMaterial);
    }
    landscape->draw();

    const Matrix4 placement = aircraftPlacement(t);
    glMultMatrixf(placement.m);
    if (cameraPass) {
        programs.setStandardMatrices();
        setAircraftShadowTransform(placement);
        // The program lights in the drawn object's coordinates: the landscape's
        // are the world's, the aircraft's turn with it.
        const Vector3 light = toAircraftCoordinates(t, lightPosition);
        cgGLSetParameter3f(lightVecParam, light.x, light.y, light.z);
        setMaterial(*this, aircraftMaterial);
    }
    aircraft->draw();
    glPopMatrix();
}

void ShadowScene::renderDepthPass(float t) {
    depthTarget.use();
    glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(lightProjection.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(lightView.m);

    // Only the faces turned away from the light go into the map: surfaces facing
    // the light then never compare against their own depth.
    glCullFace(GL_FRONT);
    glShadeModel(GL_FLAT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    drawObjects(t, false);

    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, shadowMapSize, shadowMapSize);
    depthTarget.useWindow();
}

void ShadowScene::renderCameraPass(float t) {
    glCullFace(GL_BACK);
    glShadeModel(GL_SMOOTH);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(cameraProjection.m);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(cameraView.m);

    programs.bind();
    cgGLSetParameter3f(lightVecParam, lightPosition.x, lightPosition.y, lightPosition.z);

    // World coordinates to shadow-map coordinates (s, t, r in 0..1 after / q),
    // kept as the texture matrix of the unit the lookup reads.
    glActiveTexture(kShadowMapUnit);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(shadowBiasMatrix().m);
    glMultMatrixf(lightProjection.m);
    glMultMatrixf(lightView.m);
    cgGLSetStateMatrixParameter(texTransformParam, CG_GL_TEXTURE_MATRIX, CG_GL_MATRIX_IDENTITY);
    glMatrixMode(GL_MODELVIEW);

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    cgGLSetTextureParameter(shadowMapParam, shadowTexture);
    glActiveTexture(kMeshUnit);
    drawObjects(t, true);

    programs.unbind();
    glDisable(GL_TEXTURE_2D);
}

void ShadowScene::setAircraftShadowTransform(const Matrix4& placement) {
    // The shadow transform takes world points; the aircraft's vertices are in its
    // own coordinates, so its placement goes first.
    const Matrix4 aircraftToShadowMap =
        shadowBiasMatrix() * lightProjection * lightView * placement;
    glActiveTexture(kShadowMapUnit);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadMatrixf(aircraftToShadowMap.m);
    cgGLSetStateMatrixParameter(texTransformParam, CG_GL_TEXTURE_MATRIX, CG_GL_MATRIX_IDENTITY);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glActiveTexture(kMeshUnit);
}

} // namespace korvath
