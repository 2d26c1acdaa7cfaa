"""Key n: the shadow scene with its moving aircraft shadow, under the mouse."""
import time

from harness import ProgramTestCase, is_sky


def is_ground(p):
    return p[2] < p[0] + 10 and p[2] < p[1]


def brightness_changes(first, second, region):
    """Sampled pixels that got clearly darker, and clearly brighter."""
    deltas = [sum(second.pixel(x, y)) - sum(first.pixel(x, y))
              for x, y in first.samples(region, step=2)]
    return sum(1 for d in deltas if d < -60), sum(1 for d in deltas if d > 60)


class ShadowSceneTest(ProgramTestCase):
    def test_landscape_moving_shadow_and_mouse_after_n(self):
        program = self.start_and_wait()
        time.sleep(1.5)
        volcano = program.screenshot()
        program.key("n")
        time.sleep(2.0)
        shots = [program.screenshot()]
        w, h = shots[0].width, shots[0].height
        self.assertGreater(volcano.difference(shots[0]), 20.0)
        self.assertGreater(shots[0].fraction(is_sky, (0, 0, w, h // 10)), 0.8)
        self.assertGreater(shots[0].fraction(is_ground, (0, h // 2, w, h)), 0.8)

        # The camera stands still: every changed ground pixel is the aircraft or
        # its shadow leaving one place and reaching another.
        program.key("n")  # a second n keeps the scene
        for _ in range(3):
            time.sleep(1.0)
            shots.append(program.screenshot())
        ground = (0, h // 8, w, h)
        changes = [brightness_changes(a, b, ground) for a, b in zip(shots, shots[1:])]
        self.assertGreater(sum(darker for darker, _ in changes), 2)
        self.assertGreater(sum(brighter for _, brighter in changes), 2)

        for button, end in ((1, (550, 300)), (3, (400, 420))):
            before = program.screenshot()
            program.drag(button, (400, 300), end)
            self.assertGreater(before.difference(program.screenshot()), 10.0, button)
        program.key("Escape")
        self.expect_status(program, 0)
        self.assertEqual(program.output_after_glew(), "")
