// The capability table: which line names a driver's gap, and which gaps are
// none (either framebuffer extension will do). Mesa cannot be made to drop
// point sprites or both framebuffer extensions, so these lines are checked here.
#include "app/DriverCapabilities.h"

#include <gtest/gtest.h>

#include <string>

using korvath::DriverOffers;
using korvath::firstMissingCapability;

namespace {

DriverOffers everything() {
    return {true, true, true, true, true};
}

std::string missingLine(const DriverOffers& offers) {
    const char* line = firstMissingCapability(offers);
    return line == nullptr ? "(nothing missing)" : line;
}

} // namespace

TEST(DriverCapabilities, EachMissingCapabilityHasItsOwnLine) {
    const struct {
        bool DriverOffers::*lacking;
        const char* line;
    } cases[] = {
        {&DriverOffers::multitexture, "GL_ARB_multitexture extension needed.\n"},
        {&DriverOffers::opengl20, "OpenGL 2.0 needed for GLSL vertex and fragment programs.\n"},
        {&DriverOffers::pointSprites, "GL_ARB_point_sprite extension needed.\n"},
    };
    for (const auto& c : cases) {
        DriverOffers offers = everything();
        offers.*c.lacking = false;
        EXPECT_EQ(missingLine(offers), c.line);
    }
}

TEST(DriverCapabilities, EitherFramebufferExtensionWillDo) {
    DriverOffers offers = everything();
    EXPECT_EQ(missingLine(offers), "(nothing missing)");
    offers.arbFramebufferObject = false;
    EXPECT_EQ(missingLine(offers), "(nothing missing)");
    offers = everything();
    offers.extFramebufferObject = false;
    EXPECT_EQ(missingLine(offers), "(nothing missing)");
    offers.arbFramebufferObject = false;
    EXPECT_EQ(missingLine(offers),
              "GL_ARB_framebuffer_object or GL_EXT_framebuffer_object extension needed.\n");
}

TEST(DriverCapabilities, OnlyTheFirstGapIsNamed) {
    // A driver without OpenGL 2.0 lacks the later pieces too; the line names
    // the most basic one, in the order the table asks.
    const DriverOffers offers{true, false, false, false, false};
    EXPECT_EQ(missingLine(offers), "OpenGL 2.0 needed for GLSL vertex and fragment programs.\n");
}
