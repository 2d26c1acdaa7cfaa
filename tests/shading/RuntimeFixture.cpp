// Test fixture of the shading runtime's GL tests.
#include "RuntimeFixture.h"

#include "testbed/GlTestContext.h"

#include <gmock/gmock.h>

#include <fstream>

namespace korvath::test {

std::vector<std::pair<CGerror, std::string>> RuntimeFixture::reports;
CGcontext RuntimeFixture::context = nullptr;

void RuntimeFixture::SetUp() {
    ensureGlContext();
    reports.clear();
    context = cgCreateContext();
    cgSetErrorCallback([] { reports.emplace_back(cgGetError(), cgGetLastListing(context)); });
}

void RuntimeFixture::TearDown() {
    EXPECT_TRUE(reports.empty()) << "unexpected: " << reports.front().second;
    cgDestroyContext(context);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

std::string RuntimeFixture::write(const std::string& name, const std::string& source) {
    const std::string path = scratch.file(name);
    std::ofstream(path) << source;
    return path;
}

void RuntimeFixture::expectReport(CGerror error, const char* pattern) {
    ASSERT_EQ(1u, reports.size()) << pattern;
    EXPECT_EQ(error, reports[0].first) << pattern;
    EXPECT_THAT(reports[0].second, ::testing::ContainsRegex(pattern));
    reports.clear();
}

CGprogram RuntimeFixture::use(const std::string& name, const std::string& source) {
    const std::string path = write(name, source);
    const auto profile = name.find(".frag") != name.npos ? CG_PROFILE_GLSLF : CG_PROFILE_GLSLV;
    CGprogram program =
        cgCreateProgramFromFile(context, CG_SOURCE, path.c_str(), profile, "main", nullptr);
    cgGLLoadProgram(program);
    cgGLEnableProfile(profile);
    cgGLBindProgram(program);
    return program;
}

GLuint currentProgram() {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return static_cast<GLuint>(program);
}

std::vector<float> uniformValues(const char* name, int count) {
    float values[16] = {};
    const GLuint program = currentProgram();
    glGetUniformfv(program, glGetUniformLocation(program, name), values);
    return std::vector<float>(values, values + count);
}

GLint samplerUnit(const char* name) {
    GLint unit = -1;
    const GLuint program = currentProgram();
    glGetUniformiv(program, glGetUniformLocation(program, name), &unit);
    return unit;
}

} // namespace korvath::test
