"""Space hands the camera to the mouse; drags before that change nothing.

Waves and particles keep moving while the camera stands, so every comparison
is made against the change the same wait brings without any drag.
"""
import time

from harness import ProgramTestCase

WAIT = 0.6


class InputTest(ProgramTestCase):
    def idle_change(self, program):
        first = program.screenshot()
        time.sleep(WAIT)
        return first.difference(program.screenshot())

    def test_a_button_pressed_before_space_does_not_drag_after_it(self):
        program = self.start_and_wait()
        program.xdotool("mousemove", "--window", program.window, "200", "300")
        program.xdotool("mousedown", "1")
        # The press and the key travel different ways to the program: let the
        # press arrive first, while the flight still runs.
        time.sleep(0.3)
        program.key("space")
        time.sleep(0.5)
        idle = self.idle_change(program)
        before = program.screenshot()
        for x in range(220, 620, 40):
            program.xdotool("mousemove", "--window", program.window, str(x), "300")
        time.sleep(max(0.0, WAIT - 0.2))
        after = program.screenshot()
        program.xdotool("mouseup", "1")
        self.assertLess(before.difference(after), 1.5 * idle + 2.0)

    def test_drags_after_space_turn_move_and_zoom_the_view(self):
        program = self.start_and_wait()
        program.key("space")
        time.sleep(0.5)
        idle = self.idle_change(program)
        for button, end in ((1, (600, 350)), (3, (400, 500)), (2, (500, 300))):
            with self.subTest(button=button):
                before = program.screenshot()
                program.drag(button, (400, 300), end)
                after = program.screenshot()
                self.assertGreater(before.difference(after), 2.0 * idle + 4.0)
        program.key("Escape")
        self.expect_status(program, 0)
