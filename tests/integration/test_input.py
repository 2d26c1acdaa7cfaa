"""Space hands the camera to the mouse; drags before that change nothing.

Waves and particles keep moving while the camera stands, so every drag is
judged against the change the same span of time brings without one. Under load
the program may take a while to draw the frame after the events, so a drag's
effect is awaited for up to the span the idle change was measured over.
"""
import time

from harness import ProgramTestCase

SPAN = 2.0  # seconds: the idle change's span, and the longest wait for a drag


class InputTest(ProgramTestCase):
    def idle_change(self, program, span=SPAN):
        first = program.screenshot()
        time.sleep(span)
        return first.difference(program.screenshot())

    def largest_change_within(self, program, before, span=SPAN):
        """The largest difference from `before` seen over `span` seconds."""
        largest = 0.0
        deadline = time.time() + span
        while True:
            largest = max(largest, before.difference(program.screenshot()))
            if time.time() >= deadline:
                return largest
            time.sleep(0.1)

    def test_a_button_pressed_before_space_does_not_drag_after_it(self):
        program = self.start_and_wait()
        program.xdotool("mousemove", "--window", program.window, "200", "300")
        program.xdotool("mousedown", "1")
        # The key goes through the same input queue as the press (to the window
        # under the pointer), so the press reaches the program first, while the
        # flight still runs; a key sent to the window directly can overtake it.
        program.xdotool("key", "space")
        time.sleep(0.5)
        idle = self.idle_change(program)
        before = program.screenshot()
        for x in range(220, 620, 40):
            program.xdotool("mousemove", "--window", program.window, str(x), "300")
        change = self.largest_change_within(program, before)
        program.xdotool("mouseup", "1")
        self.assertLess(change, 1.5 * idle + 2.0, "idle change over %.1f s: %.2f" % (SPAN, idle))

    def test_drags_after_space_turn_move_and_zoom_the_view(self):
        program = self.start_and_wait()
        program.key("space")
        time.sleep(0.5)
        idle = self.idle_change(program)
        for button, end in ((1, (600, 350)), (3, (400, 500)), (2, (500, 300))):
            with self.subTest(button=button):
                before = program.screenshot()
                program.drag(button, (400, 300), end)
                change = self.largest_change_within(program, before)
                self.assertGreater(change, 2.0 * idle + 4.0,
                                   "idle change over %.1f s: %.2f" % (SPAN, idle))
        program.key("Escape")
        self.expect_status(program, 0)
