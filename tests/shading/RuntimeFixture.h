// A fixture for the shading runtime's GL tests: a fresh runtime context per
// test, every error the callback sees with the listing at that moment, and
// programs written to files, compiled, loaded, enabled and bound in one call.
#pragma once

#include "ScratchFiles.h"
#include "shading/ShaderContext.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace korvath::test {

class RuntimeFixture : public ::testing::Test {
protected:
    void SetUp() override;
    // Fails the test on an error no case expected, then destroys the context
    // (which unbinds its programs) and checks that GL saw no wrong call.
    void TearDown() override;

    // Writes source to a file named name in the test's scratch directory and
    // returns its path; the directory goes at the test's end.
    std::string write(const std::string& name, const std::string& source);
    // Writes the source, then compiles, loads, enables and binds it: *.frag as a
    // fragment program, others as vertex ones.
    CGprogram use(const std::string& name, const std::string& source);
    // Expects that exactly one error reached the callback since the last check,
    // with a listing that matches pattern; forgets it.
    static void expectReport(CGerror error, const char* pattern);
    // The test's runtime context with the two profiles.
    static ShaderContext shading() { return {context, CG_PROFILE_GLSLV, CG_PROFILE_GLSLF}; }

    // What the error callback saw, call by call: the error (which it takes, so
    // clears) and the listing of the test's context at that moment.
    static std::vector<std::pair<CGerror, std::string>> reports;
    static CGcontext context;

private:
    ScratchDirectory scratch;
};

// The GL program the runtime made current; 0 for fixed function.
GLuint currentProgram();
// The first `count` floats of a float uniform of the current program.
std::vector<float> uniformValues(const char* name, int count);
// The texture unit a sampler of the current program reads.
GLint samplerUnit(const char* name);

} // namespace korvath::test
