"""The volcano scene as a user sees it: sky, sea, island and a moving eruption."""
import time

from harness import ProgramTestCase, is_land, is_sky


def is_sea(p):
    return p[2] > p[0] + 30 and not is_sky(p)


class VolcanoSceneTest(ProgramTestCase):
    def test_layout_and_motion_while_the_camera_stands(self):
        program = self.start_and_wait()
        time.sleep(6.0)  # the flight has lifted its gaze to the horizon
        program.key("space")
        time.sleep(0.5)
        first = program.screenshot()
        time.sleep(1.0)
        second = program.screenshot()
        w, h = first.width, first.height
        island = (w * 2 // 5, h * 17 // 20, w * 3 // 5, h)
        for left in (0, w - w // 5):
            self.assertGreater(first.fraction(is_sky, (left, 0, left + w // 5, h // 8)), 0.5)
            sea = (left, h * 11 // 20, left + w // 5, h * 3 // 4)
            self.assertGreater(first.fraction(is_sea, sea), 0.6)
            self.assertGreater(first.difference(second, sea), 2.0)
        self.assertGreater(first.fraction(is_land, island), 0.8)
        self.assertLess(first.difference(second, island), 1.0)
        eruption = (w * 3 // 10, 0, w * 7 // 10, h * 13 // 20)
        self.assertGreater(first.difference(second, eruption), 2.0)
