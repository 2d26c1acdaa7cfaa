"""The driver's capabilities, checked at start-up: Mesa's llvmpipe told to offer
less through its override variables.

Mesa cannot drop GL_ARB_point_sprite, GL_EXT_framebuffer_object or
GL_ARB_multitexture, so their lines are the capability table's unit test's; the
OpenGL version and GL_ARB_framebuffer_object below 3.0 it drops cleanly.
"""
import os
from unittest import mock

from harness import ProgramTestCase


class CapabilityTest(ProgramTestCase):
    def start_under(self, **overrides):
        with mock.patch.dict(os.environ, overrides):
            return self.start()

    def test_a_driver_below_opengl_2_is_named_in_one_line(self):
        program = self.start_under(MESA_GL_VERSION_OVERRIDE="1.5")
        self.expect_status(program, 1, timeout=60)
        self.assertEqual(program.output_after_glew(),
                         "OpenGL 2.0 needed for GLSL vertex and fragment programs.\n")

    def test_shadow_scene_runs_on_the_ext_framebuffer_object(self):
        # An OpenGL 2.1 driver that has only the older framebuffer extension.
        program = self.start_under(MESA_GL_VERSION_OVERRIDE="2.1",
                                   MESA_EXTENSION_OVERRIDE="-GL_ARB_framebuffer_object")
        program.wait_for_window()
        program.wait_for_first_frame()
        program.switch_to_shadow_scene()
        program.key("Escape")
        self.expect_status(program, 0)
        self.assertEqual(program.output_after_glew(), "")
