// Both scenes at the fixed frame poses against committed reference images: a
// change of look (the ocean's shading, the lava's glow, the ash plume's size and
// softness, the stones, the shadow) fails with the pose's name and the measured
// difference. Run once per Mesa driver (GoldenDrivers.h), at that driver's
// limits; every rendered image stays in golden-actual/<driver>/ for inspection.
// KORVATH_GOLDEN_UPDATE=1 writes the references instead of comparing, under
// llvmpipe only.
#include "GoldenDrivers.h"
#include "ImageDifference.h"
#include "PngImage.h"
#include "testbed/FramePoses.h"
#include "testbed/GlTestContext.h"

#include <GL/glew.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

using namespace korvath;
using namespace korvath::golden;
using namespace korvath::poses;
using namespace testing;

namespace {

constexpr int windowWidth = 800;
constexpr int windowHeight = 600;

std::string referencePath(const FramePose& pose) {
    return std::string(KORVATH_GOLDEN_DIR) + "/" + pose.name + ".png";
}

// The driver the test runs under; the test fails at once on an unknown name.
const GoldenDriver& driver() {
    static const GoldenDriver* named = goldenDriverFromEnvironment();
    if (named == nullptr) {
        std::fprintf(stderr,
                     "golden: KORVATH_GOLDEN_DRIVER names no driver in GoldenDrivers.cpp\n");
        std::exit(1);
    }
    return *named;
}

std::string actualPath(const FramePose& pose) {
    const std::filesystem::path directory = "golden-actual/" + driver().name;
    std::filesystem::create_directories(directory);
    return std::filesystem::absolute(directory / (pose.name + ".png")).string();
}

std::string glString(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text == nullptr ? "" : reinterpret_cast<const char*>(text);
}

bool updatingReferences() {
    const char* update = std::getenv("KORVATH_GOLDEN_UPDATE");
    return update != nullptr && std::string(update) == "1";
}

RgbImage renderPose(const FramePose& pose) {
    const PreparedPose prepared = preparePose(pose);
    drawPoseFrame(prepared);
    return {windowWidth, windowHeight, test::readBackBuffer()};
}

std::string testName(const TestParamInfo<FramePose>& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '.', '_');
    return name;
}

class GoldenImage : public TestWithParam<FramePose> {};

} // namespace

namespace korvath::poses {
// Failure messages name the pose rather than dumping its bytes.
void PrintTo(const FramePose& pose, std::ostream* out) {
    *out << pose.name;
}
} // namespace korvath::poses

// A misspelt or ignored Mesa variable would compare llvmpipe's images again, or
// let the shadow map take the ARB framebuffer calls where the EXT ones are meant.
TEST(GoldenDriver, IsTheDriverNamed) {
    startProgramGraphics();
    EXPECT_THAT(glString(GL_RENDERER), StartsWith(driver().rendererPrefix));
    EXPECT_THAT(glString(GL_VERSION), StartsWith(driver().versionPrefix));
    EXPECT_THAT(static_cast<bool>(GLEW_ARB_framebuffer_object), Eq(driver().arbFramebufferObject))
        << "GL_ARB_framebuffer_object as GLEW reports it, which picks the shadow map's calls";
}

TEST_P(GoldenImage, MatchesReference) {
    const FramePose& pose = GetParam();
    const RgbImage actual = renderPose(pose);
    const std::string rendered = actualPath(pose);
    ASSERT_TRUE(savePng(actual, rendered));
    if (updatingReferences()) {
        ASSERT_THAT(driver().name, Eq("llvmpipe")) << "the references are llvmpipe's";
        ASSERT_TRUE(savePng(actual, referencePath(pose)));
        std::printf("golden: wrote %s\n", referencePath(pose).c_str());
        return;
    }
    const RgbImage expected = loadPng(referencePath(pose));
    ASSERT_THAT(expected.width, Eq(windowWidth))
        << referencePath(pose) << " is missing or unreadable; KORVATH_GOLDEN_UPDATE=1 writes it";
    ASSERT_THAT(expected.height, Eq(windowHeight)) << referencePath(pose);

    const GoldenDriver& limits = driver();
    const ImageDifference difference = compareImages(expected, actual);
    EXPECT_THAT(difference.meanChannelDifference, Le(limits.maxMeanChannelDifference))
        << pose.name << " under " << limits.name << ": mean channel difference; "
        << difference.visiblyDifferentPixels << " pixels differ by more than " << visibleChannelStep
        << ", the most by " << difference.largestChannelDifference
        << "; rendered image: " << rendered;
    EXPECT_THAT(difference.visiblyDifferentPixels, Le(limits.maxVisiblyDifferentPixels))
        << pose.name << " under " << limits.name << ": pixels differing by more than "
        << visibleChannelStep << "; mean channel difference " << difference.meanChannelDifference
        << "; rendered image: " << rendered;
}

// Table order: the volcano poses before key n builds the shadow scene.
INSTANTIATE_TEST_SUITE_P(FixedPoses, GoldenImage, ValuesIn(framePoses()), testName);
