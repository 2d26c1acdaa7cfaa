"""Start-up: the key help and GLEW line, the window, the clear colour, the keys."""
import time

from harness import ProgramTestCase, is_sky


class StartupTest(ProgramTestCase):
    def test_window_and_output_of_a_normal_start(self):
        program = self.start_and_wait()
        self.assertEqual(program.title(), "Die Korvath")
        self.assertEqual(program.geometry(), (800, 600))
        # The flight starts looking down at the island and lifts its gaze to the
        # horizon between two and seven seconds in.
        time.sleep(5.0)
        shot = program.screenshot()
        self.assertGreater(shot.fraction(is_sky, (0, 0, shot.width, 60)), 0.15)
        program.key("Escape")
        self.expect_status(program, 0)
        self.assertEqual(program.output_after_glew(), "")

    def test_escape_ends_at_once_and_other_keys_do_not(self):
        program = self.start_and_wait()
        for key in ("a", "N", "Return"):
            program.key(key)
        time.sleep(0.5)
        self.assertIsNone(program.process.poll())
        pressed = time.time()
        program.key("Escape")
        self.expect_status(program, 0, timeout=10)
        self.assertLess(time.time() - pressed, 2.0)
