"""Key n: the shadow scene with its moving aircraft shadow, under the mouse."""
import re
import time

from harness import HELP_TEXT, SKY, ProgramTestCase


def is_sky(p):
    return all(abs(p[c] - SKY[c]) <= 6 for c in range(3))


def is_ground(p):
    return p[2] < p[0] + 10 and p[2] < p[1]


def fraction(shot, test, region):
    x0, y0, x1, y1 = region
    points = [(x, y) for y in range(y0, y1, 4) for x in range(x0, x1, 4)]
    return sum(1 for x, y in points if test(shot.pixel(x, y))) / len(points)


def changed(first, second, region, darker):
    """How many sampled pixels got clearly darker (or brighter) from first to second."""
    x0, y0, x1, y1 = region
    count = 0
    for y in range(y0, y1, 2):
        for x in range(x0, x1, 2):
            delta = sum(second.pixel(x, y)) - sum(first.pixel(x, y))
            if (delta < -60) if darker else (delta > 60):
                count += 1
    return count


class ShadowSceneTest(ProgramTestCase):
    def switched(self):
        program = self.start_and_wait()
        time.sleep(1.5)
        volcano = program.screenshot()
        program.key("n")
        time.sleep(2.0)
        return program, volcano

    def test_n_shows_the_landscape_under_the_sky_and_prints_nothing(self):
        program, volcano = self.switched()
        shot = program.screenshot()
        w, h = shot.width, shot.height
        self.assertGreater(volcano.difference(shot), 20.0)
        self.assertGreater(fraction(shot, is_sky, (0, 0, w, h // 10)), 0.8)
        self.assertGreater(fraction(shot, is_ground, (0, h // 2, w, h)), 0.8)
        program.key("n")  # a second n keeps the scene
        time.sleep(0.5)
        self.assertLess(shot.difference(program.screenshot()), 10.0)
        program.key("Escape")
        self.expect_status(program, 0)
        self.assertRegex(program.output(), re.compile(r"\A%s" % re.escape(HELP_TEXT) +
                                                      r"Using GLEW [\d.]+\n\Z"))

    def test_the_aircraft_shadow_moves_across_the_ground(self):
        # The camera stands still after the switch: every changed ground pixel
        # is the aircraft or its shadow leaving one place and reaching another.
        program, _ = self.switched()
        shots = [program.screenshot()]
        for _ in range(3):
            time.sleep(1.0)
            shots.append(program.screenshot())
        ground = (0, shots[0].height // 8, shots[0].width, shots[0].height)
        pairs = list(zip(shots, shots[1:]))
        self.assertGreater(sum(changed(a, b, ground, darker=True) for a, b in pairs), 2)
        self.assertGreater(sum(changed(a, b, ground, darker=False) for a, b in pairs), 2)

    def test_mouse_drags_turn_and_zoom_the_shadow_scene(self):
        program, _ = self.switched()
        for button, end in ((1, (550, 300)), (3, (400, 420))):
            with self.subTest(button=button):
                before = program.screenshot()
                program.drag(button, (400, 300), end)
                after = program.screenshot()
                self.assertGreater(before.difference(after), 10.0)
