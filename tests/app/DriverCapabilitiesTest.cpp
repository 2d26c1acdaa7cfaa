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

TEST(DriverCapabilities, EitherFramebufferExtensionWillDoAndOnlyTheFirstGapIsNamed) {
    // ARB, EXT: what each pair of offers leaves missing.
    for (const auto& [arb, ext] : {std::pair{true, true}, {false, true}, {true, false}}) {
        DriverOffers offers = everything();
        offers.arbFramebufferObject = arb;
        offers.extFramebufferObject = ext;
        EXPECT_EQ(missingLine(offers), "(nothing missing)") << arb << ext;
    }
    DriverOffers offers = everything();
    offers.arbFramebufferObject = offers.extFramebufferObject = false;
    EXPECT_EQ(missingLine(offers),
              "GL_ARB_framebuffer_object or GL_EXT_framebuffer_object extension needed.\n");
    // A driver without OpenGL 2.0 lacks the later pieces too; the line names
    // the most basic one, in the order the table asks.
    EXPECT_EQ(missingLine({true, false, false, false, false}),
              "OpenGL 2.0 needed for GLSL vertex and fragment programs.\n");
}
