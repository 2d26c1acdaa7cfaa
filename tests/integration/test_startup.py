"""Start-up: the key help and GLEW line, the window, the clear colour, the keys."""
import time

from harness import ProgramTestCase, is_sky, shows_shadow_scene


class StartupTest(ProgramTestCase):
    def test_window_and_output_of_a_normal_start(self):
        program = self.start_and_wait()
        self.assertEqual(program.title(), "Die Korvath")
        self.assertEqual(program.geometry(), (800, 600))
        # The flight starts looking down at the island and lifts its gaze until
        # the sky shows above the sea.
        program.wait_for_picture(lambda shot: shot.fraction(is_sky, (0, 0, shot.width, 60)) > 0.15,
                                 "sky along the top")
        program.key("Escape")
        self.expect_status(program, 0)
        self.assertEqual(program.output_after_glew(), "")

    def test_escape_ends_at_once_and_other_keys_do_not(self):
        program = self.start_and_wait()
        for key in ("a", "N", "Return"):
            program.key(key)
        program.wait_for_frames()  # the keys are handled and frames go on
        self.assertFalse(shows_shadow_scene(program.screenshot()))
        pressed = time.time()
        program.key("Escape")
        self.expect_status(program, 0, timeout=10)
        self.assertLess(time.time() - pressed, 2.0)
