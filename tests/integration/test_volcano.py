"""The volcano scene as a user sees it: sky, sea, island and a moving eruption."""
import time

from harness import SKY, ProgramTestCase


def is_sky(p):
    return all(abs(p[c] - SKY[c]) <= 6 for c in range(3))


def is_sea(p):
    return p[2] > p[0] + 30 and not is_sky(p)


def is_land(p):
    return p[2] < p[0] + 10


def fraction(shot, test, region):
    x0, y0, x1, y1 = region
    points = [(x, y) for y in range(y0, y1, 4) for x in range(x0, x1, 4)]
    return sum(1 for x, y in points if test(shot.pixel(x, y))) / len(points)


class VolcanoSceneTest(ProgramTestCase):
    def stopped_view(self):
        """The program with the flight stopped once it has lifted its gaze."""
        program = self.start_and_wait()
        time.sleep(6.0)
        program.key("space")
        time.sleep(0.5)
        return program

    def test_sky_above_sea_above_island(self):
        program = self.stopped_view()
        shot = program.screenshot()
        w, h = shot.width, shot.height
        for side in ((0, w // 5), (w - w // 5, w)):
            self.assertGreater(fraction(shot, is_sky, (side[0], 0, side[1], h // 8)), 0.5)
            self.assertGreater(fraction(shot, is_sea, (side[0], h * 11 // 20, side[1], h * 3 // 4)), 0.6)
        self.assertGreater(fraction(shot, is_land, (w * 2 // 5, h * 17 // 20, w * 3 // 5, h)), 0.8)

    def test_sea_and_eruption_move_while_the_camera_stands(self):
        program = self.stopped_view()
        first = program.screenshot()
        time.sleep(1.0)
        second = program.screenshot()
        w, h = first.width, first.height
        sea = (0, h * 11 // 20, w // 5, h * 3 // 4)
        eruption = (w * 3 // 10, 0, w * 7 // 10, h * 13 // 20)
        island = (w * 2 // 5, h * 17 // 20, w * 3 // 5, h)
        self.assertGreater(first.difference(second, sea), 2.0)
        self.assertGreater(first.difference(second, eruption), 2.0)
        self.assertLess(first.difference(second, island), 1.0)
