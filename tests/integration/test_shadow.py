"""Key n: the shadow scene with its moving aircraft shadow, under the mouse."""
import time

from harness import ProgramTestCase


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
        volcano = program.screenshot()
        landscape = program.switch_to_shadow_scene()
        w, h = landscape.width, landscape.height
        self.assertGreater(volcano.difference(landscape), 20.0)
        self.assertGreater(landscape.fraction(is_ground, (0, h // 2, w, h)), 0.8)

        # The camera stands still: every changed ground pixel is the aircraft or
        # its shadow leaving one place and reaching another. Frames come slowly on
        # a busy machine, so the changes are summed until both kinds are seen.
        ground = (0, h // 8, w, h)
        darker = brighter = 0
        previous = landscape
        deadline = time.time() + 60
        while (darker <= 2 or brighter <= 2) and time.time() < deadline:
            shot = program.screenshot()
            changes = brightness_changes(previous, shot, ground)
            darker, brighter = darker + changes[0], brighter + changes[1]
            previous = shot
        self.assertGreater(darker, 2)
        self.assertGreater(brighter, 2)

        drags = ((1, (550, 300)), (3, (400, 420)))
        for button, end in drags:
            before = program.screenshot()
            program.drag(button, (400, 300), end)
            program.wait_for_picture(lambda shot: before.difference(shot) > 10.0,
                                     "view moved by button %d" % button)
        # A second n keeps the scene and the dragged view, so the same drags
        # backwards after it return to the first view; a rebuilt scene would
        # have returned the camera to its start before them. One xdotool call
        # keeps the key ahead of the drags.
        back = [step for button, end in reversed(drags)
                for step in program.drag_steps(button, end, (400, 300))]
        program.xdotool("key", "--window", program.window, "n", *back)
        program.wait_for_picture(lambda shot: landscape.difference(shot) < 3.0,
                                 "the first view after a second n and the drags backwards")
        program.key("Escape")
        self.expect_status(program, 0)
        self.assertEqual(program.output_after_glew(), "")
