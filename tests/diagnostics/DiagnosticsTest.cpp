// GL error reports as they reach standard error. (The integration faults test
// reads the problem lines.)
#include "diagnostics/GlErrors.h"
#include "testbed/GlTestContext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::HasSubstr;

namespace korvath {
namespace {

// The frame heap test relies on this: where GL errors are reported, a wrong
// call shows up on stderr with the pass that raised it, once, and is then cleared.
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
