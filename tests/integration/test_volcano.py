"""The volcano scene as a user sees it: sky, sea, island and a moving eruption.

Space may stop the flight anywhere after its gaze reaches the horizon (a busy
machine sends it late), so each region judged here holds at every heading from
then on: sky beside the plume, sea short of the horizon, and the cone at the
centre of the circle.
"""
import time

from harness import ProgramTestCase, gaze_near_level, is_land, is_sky

STANDING_SPAN = 1.0  # seconds between the two screenshots that show the camera standing


def is_sea(p):
    return p[2] > p[0] + 30 and not is_sky(p)


class VolcanoSceneTest(ProgramTestCase):
    def wait_until_the_camera_stands(self, program, still_region, timeout=60):
        """Screenshot pairs STANDING_SPAN apart until `still_region` is the same in
        both, as it is once space has taken effect; returns that pair."""
        deadline = time.time() + timeout
        first = program.screenshot()
        while time.time() < deadline:
            time.sleep(STANDING_SPAN)
            second = program.screenshot()
            if first.difference(second, still_region) < 1.0:
                return first, second
            first = second
        self.fail("the camera still circles %d s after space" % timeout)

    def test_layout_and_motion_while_the_camera_stands(self):
        program = self.start_and_wait()
        program.wait_for_picture(gaze_near_level, "gaze at the horizon")
        program.key("space")
        w, h = program.geometry()
        cone = (w * 2 // 5, h * 3 // 4, w * 3 // 5, h * 4 // 5)
        first, second = self.wait_until_the_camera_stands(program, cone)
        self.assertGreater(first.fraction(is_land, cone), 0.8)
        for left in (0, w - w // 5):
            sky = (left, h // 5, left + w // 5, h * 3 // 10)
            self.assertGreater(first.fraction(is_sky, sky), 0.9)
        for left in (0, w - w // 8):
            sea = (left, h * 13 // 20, left + w // 8, h * 3 // 4)
            self.assertGreater(first.fraction(is_sea, sea), 0.8)
            self.assertGreater(first.difference(second, sea), 2.0)
        eruption = (w * 3 // 10, 0, w * 7 // 10, h * 13 // 20)
        self.assertGreater(first.difference(second, eruption), 2.0)
