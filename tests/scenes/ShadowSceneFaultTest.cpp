// The shadow scene's failure paths, each run in a doctored copy of the working
// directory (never the real files): a program that lacks one of its ten
// parameters, and textures that cannot be loaded.
#include "ShadowSceneSetup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;
using korvath::ShadowScene;
using namespace korvath::test;

namespace {

const char* const meshFiles[] = {"landscape.3ds", "landscape.jpg", "flieger.3ds", "flieger.jpg"};

// cg/ and the scene's model files copied under the build directory.
fs::path workingCopy(const std::string& name) {
    const fs::path root = fs::current_path() / "shadow-fault-copies" / name;
    fs::remove_all(root);
    fs::create_directories(root / "data" / "model");
    fs::copy("cg", root / "cg", fs::copy_options::recursive);
    for (const char* file : meshFiles) {
        fs::copy_file(fs::path("data/model") / file, root / "data" / "model" / file);
    }
    return root;
}

void removeWorkingCopy(const fs::path& root) {
    fs::remove_all(root);
    std::error_code stillInUse;
    fs::remove(root.parent_path(), stillInUse);
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Renames every whole-word use of the parameter, so the program still compiles
// but no longer declares it.
void renameParameter(const fs::path& program, const std::string& name) {
    const std::string source = readText(program);
    const std::string renamed = std::regex_replace(source, std::regex("\\b" + name + "\\b"), name + "Renamed");
    ASSERT_NE(renamed, source) << name << " is not used in " << program;
    std::ofstream(program, std::ios::binary | std::ios::trunc) << renamed;
}

// Runs in the death test's child: standard output goes to a file the parent reads.
void constructSceneIn(const fs::path& directory) {
    if (chdir(directory.c_str()) != 0 || std::freopen("stdout.txt", "w", stdout) == nullptr) {
        std::exit(2);
    }
    ShadowScene scene(shadowTestShaderContext());
}

// What constructing a scene in `directory` prints, constructed in this process.
std::string constructionOutput(const fs::path& directory) {
    const fs::path home = fs::current_path();
    fs::current_path(directory);
    testing::internal::CaptureStdout();
    ShadowScene scene(shadowTestShaderContext());
    std::fflush(stdout);
    const std::string output = testing::internal::GetCapturedStdout();
    fs::current_path(home);
    return output;
}

struct MissingParameter {
    const char* program;
    const char* name;
};

class ShadowSceneMissingParameter : public testing::TestWithParam<MissingParameter> {};

} // namespace

TEST_P(ShadowSceneMissingParameter, ExitsWithStatusOneBeforeAnyMeshIsLoaded) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const MissingParameter missing = GetParam();
    const fs::path copy = workingCopy(std::string("missing-") + missing.name);
    renameParameter(copy / "cg" / missing.program, missing.name);
    // Without textures a scene that went on to load the meshes would say so.
    fs::remove(copy / "data" / "model" / "landscape.jpg");
    fs::remove(copy / "data" / "model" / "flieger.jpg");

    EXPECT_EXIT(constructSceneIn(copy), testing::ExitedWithCode(1), "");
    EXPECT_EQ(readText(copy / "stdout.txt"), "Unable to retrieve program parameters, exiting...\n");
    removeWorkingCopy(copy);
}

INSTANTIATE_TEST_SUITE_P(
    EveryParameter, ShadowSceneMissingParameter,
    testing::Values(MissingParameter{"vp_shadow.cg", "modelViewProj"}, MissingParameter{"vp_shadow.cg", "texTransform"},
                    MissingParameter{"vp_shadow.cg", "modelView"}, MissingParameter{"vp_shadow.cg", "modelViewIT"},
                    MissingParameter{"vp_shadow.cg", "lightVec"}, MissingParameter{"fp_shadow.cg", "shadowMap"},
                    MissingParameter{"fp_shadow.cg", "texture"}, MissingParameter{"fp_shadow.cg", "ambientColor"},
                    MissingParameter{"fp_shadow.cg", "diffuseColor"}, MissingParameter{"fp_shadow.cg", "specularColor"}),
    [](const testing::TestParamInfo<MissingParameter>& parameter) { return std::string(parameter.param.name); });

TEST(ShadowSceneTextures, EitherOrBothMissingPrintTextureNotFoundOnceAndNoneMissingPrintNothing) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"landscape.jpg"}, "texture not found"},
        {{"flieger.jpg"}, "texture not found"},
        {{"landscape.jpg", "flieger.jpg"}, "texture not found"},
        {{}, ""}};
    int index = 0;
    for (const auto& [missing, expected] : cases) {
        const fs::path copy = workingCopy("textures-" + std::to_string(index++));
        for (const char* file : missing) {
            fs::remove(copy / "data" / "model" / file);
        }
        EXPECT_EQ(constructionOutput(copy), expected) << missing.size() << " missing";
        removeWorkingCopy(copy);
    }
}
