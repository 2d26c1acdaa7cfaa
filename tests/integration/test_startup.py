"""Start-up: the key help and GLEW line, the window, the clear colour, Escape."""
import re
import time

from harness import HELP_TEXT, SKY, ProgramTestCase


class StartupTest(ProgramTestCase):
    def test_prints_the_key_help_then_the_glew_line_and_nothing_else(self):
        program = self.start_and_wait()
        time.sleep(1.0)
        program.key("Escape")
        self.expect_status(program, 0)
        output = program.output()
        self.assertTrue(output.startswith(HELP_TEXT), output)
        self.assertRegex(output[len(HELP_TEXT):], re.compile(r"\AUsing GLEW \d+\.\d+\.\d+\n\Z"))

    def test_opens_an_800_by_600_window_titled_die_korvath(self):
        program = self.start_and_wait()
        self.assertEqual(program.title(), "Die Korvath")
        self.assertEqual(program.geometry(), (800, 600))

    def test_clears_to_the_sky_colour(self):
        # The flight starts looking down at the island and lifts its gaze to the
        # horizon between two and seven seconds in.
        program = self.start_and_wait()
        time.sleep(5.0)
        shot = program.screenshot()
        self.assertGreater(shot.fraction_near(SKY, tolerance=2, region=(0, 0, shot.width, 60)), 0.15)

    def test_escape_ends_the_program_at_once_with_status_zero(self):
        program = self.start_and_wait()
        time.sleep(0.5)
        pressed = time.time()
        program.key("Escape")
        self.expect_status(program, 0, timeout=10)
        self.assertLess(time.time() - pressed, 2.0)

    def test_other_keys_do_not_end_the_program(self):
        program = self.start_and_wait()
        for key in ("a", "N", "Return"):
            program.key(key)
        time.sleep(0.5)
        self.assertIsNone(program.process.poll())
        program.key("Escape")
        self.expect_status(program, 0)
