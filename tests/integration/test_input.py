"""Space hands the camera to the mouse; drags before that change nothing.

Waves and particles keep moving while the camera stands, so a drag is judged
against the change the same span brings without one: the median difference from
a screenshot at the start of the span, over screenshots through it. The median
follows a moved view, which stays, not a burst of particles, which passes.
"""
import statistics
import time

from harness import ProgramTestCase

SPAN = 2.0  # seconds over which each change is sampled


class InputTest(ProgramTestCase):
    def change_over_span(self, program, reference):
        """The median difference from `reference` over SPAN seconds of screenshots."""
        differences = []
        deadline = time.time() + SPAN
        while not differences or time.time() < deadline:
            differences.append(reference.difference(program.screenshot()))
            time.sleep(0.1)
        return statistics.median(differences)

    def idle_change(self, program):
        return self.change_over_span(program, program.screenshot())

    def test_a_button_pressed_before_space_does_not_drag_after_it(self):
        program = self.start_and_wait()
        # One xdotool call, so the X server takes the press before the key: the
        # press reaches the program while the flight still runs. (Separate calls
        # are separate clients, which a busy server may serve in any order.)
        program.xdotool("mousemove", "--window", program.window, "200", "300",
                        "mousedown", "1", "sleep", "0.3", "key", "space")
        program.wait_for_frames()
        idle = self.idle_change(program)
        before = program.screenshot()
        moves = []
        for x in range(220, 400, 20):  # 180 pixels: half a turn if it dragged
            moves += ["mousemove", "--window", program.window, str(x), "300"]
        program.xdotool(*moves)
        change = self.change_over_span(program, before)
        program.xdotool("mouseup", "1")
        self.assertLess(change, 1.5 * idle + 2.0, "idle change over %.1f s: %.2f" % (SPAN, idle))

    def test_drags_after_space_turn_move_and_zoom_the_view(self):
        program = self.start_and_wait()
        program.key("space")
        program.wait_for_frames()
        idle = self.idle_change(program)
        for button, end in ((1, (600, 350)), (3, (400, 500)), (2, (500, 300))):
            with self.subTest(button=button):
                before = program.screenshot()
                program.drag(button, (400, 300), end)
                change = self.change_over_span(program, before)
                self.assertGreater(change, 2.0 * idle + 4.0,
                                   "idle change over %.1f s: %.2f" % (SPAN, idle))
        program.key("Escape")
        self.expect_status(program, 0)
