// Problem lines and GL error reports as they reach standard error.
#include "diagnostics/GlErrors.h"
#include "diagnostics/Report.h"
#include "testbed/GlTestContext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::HasSubstr;
using testing::IsEmpty;

namespace korvath {
namespace {

TEST(Report, OneLineWithSubsystemPathAndReason) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    reportProblem("texture", "data/particle/ash.bmp", "header declares 65536x65536");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "texture: data/particle/ash.bmp: header declares 65536x65536\n");
    EXPECT_THAT(testing::internal::GetCapturedStdout(), IsEmpty());
}

// The soak test relies on this: where GL errors are reported, a wrong call
// shows up on stderr with the pass that raised it, once, and is then cleared.
TEST(GlErrors, ReportedWithThePassWhereAssertionsAreOn) {
#ifdef NDEBUG
    GTEST_SKIP() << "GL error reports are compiled out of optimised builds";
#else
    test::ensureGlContext();
    glEnable(GL_TEXTURE_2D + 1); // not a capability: GL_INVALID_ENUM
    testing::internal::CaptureStderr();
    reportGlErrors("the test pass");
    reportGlErrors("the next pass");
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_THAT(errors, HasSubstr("GL error 0x0500 (invalid enumerant) after the test pass\n"));
    EXPECT_THAT(errors, testing::Not(HasSubstr("the next pass")));
#endif
}

} // namespace
} // namespace korvath
