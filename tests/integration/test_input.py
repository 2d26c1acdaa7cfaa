"""Space hands the camera to the mouse; drags before that change nothing."""
import time

from harness import ProgramTestCase

# Mean channel difference below which two frames show the same view (waves and
# particles still move) and above which the view has clearly turned.
SAME_VIEW = 6.0
TURNED_VIEW = 12.0


class InputTest(ProgramTestCase):
    def test_a_button_pressed_before_space_does_not_drag_after_it(self):
        program = self.start_and_wait()
        program.xdotool("mousemove", "--window", program.window, "200", "300")
        program.xdotool("mousedown", "1")
        program.key("space")
        time.sleep(0.5)
        before = program.screenshot()
        for x in range(220, 620, 40):
            program.xdotool("mousemove", "--window", program.window, str(x), "300")
            time.sleep(0.02)
        program.xdotool("mouseup", "1")
        time.sleep(0.3)
        after = program.screenshot()
        self.assertLess(before.difference(after), SAME_VIEW)

    def test_drags_after_space_turn_move_and_zoom_the_view(self):
        program = self.start_and_wait()
        program.key("space")
        time.sleep(0.5)
        for button, end in ((1, (600, 350)), (3, (400, 500)), (2, (500, 300))):
            with self.subTest(button=button):
                before = program.screenshot()
                program.drag(button, (400, 300), end)
                time.sleep(0.3)
                after = program.screenshot()
                self.assertGreater(before.difference(after), TURNED_VIEW)
        program.key("Escape")
        self.expect_status(program, 0)
