"""Bad data: missing textures, incomplete and broken shading programs.

Every case breaks a file in the test's own copy of cg/ and data/.
"""
import os
import re
import time

from harness import HELP_TEXT, ProgramTestCase

GLEW_LINE = re.compile(r"Using GLEW \d+\.\d+\.\d+\n")


class FaultTest(ProgramTestCase):
    def path(self, relative):
        return os.path.join(self.workdir, relative)

    def rename_identifier(self, relative, old, new):
        with open(self.path(relative)) as f:
            source = f.read()
        self.assertIn(old, source)
        with open(self.path(relative), "w") as f:
            f.write(re.sub(r"\b%s\b" % old, new, source))

    def after_glew(self, output):
        self.assertTrue(output.startswith(HELP_TEXT), output)
        match = GLEW_LINE.match(output, len(HELP_TEXT))
        self.assertIsNotNone(match, output)
        return output[match.end():]

    def test_missing_terrain_texture_is_reported_and_the_scene_runs(self):
        os.remove(self.path("data/model/korvath.jpg"))
        program = self.start_and_wait()
        time.sleep(1.5)
        program.screenshot()
        self.assertIsNone(program.process.poll())
        program.key("Escape")
        self.expect_status(program, 0)
        self.assertEqual(self.after_glew(program.output()), "texture not found")

    def test_particle_program_without_a_parameter_ends_the_program(self):
        self.rename_identifier("cg/vp_volcanoAsh.cg", "initVelocity", "startVelocity")
        program = self.start()
        self.expect_status(program, 1, timeout=60)
        self.assertEqual(self.after_glew(program.output()),
                         "Unable to retrieve program parameters, exiting...\n")

    def test_broken_ocean_program_reports_the_compiler_log_and_ends(self):
        with open(self.path("cg/vp_ocean.cg"), "a") as f:
            f.write("\nthis is not a shading program\n")
        program = self.start()
        self.expect_status(program, 1, timeout=60)
        rest = self.after_glew(program.output())
        self.assertTrue(rest.endswith("\nCg error, exiting...\n"), rest)
        self.assertIn("cg/vp_ocean.cg", rest)
        error_string, listing = rest.split("\n\n", 1)
        self.assertTrue(error_string)
        self.assertIn("error", listing.lower())

    def test_missing_ocean_program_is_a_shading_error(self):
        os.remove(self.path("cg/fp_ocean.cg"))
        program = self.start()
        self.expect_status(program, 1, timeout=60)
        rest = self.after_glew(program.output())
        self.assertIn("cg/fp_ocean.cg", rest)
        self.assertTrue(rest.endswith("Cg error, exiting...\n"), rest)

    def test_missing_shadow_textures_are_reported_once(self):
        os.remove(self.path("data/model/landscape.jpg"))
        os.remove(self.path("data/model/flieger.jpg"))
        program = self.start_and_wait()
        time.sleep(1.0)
        program.key("n")
        time.sleep(2.0)
        self.assertIsNone(program.process.poll())
        program.key("Escape")
        self.expect_status(program, 0)
        self.assertEqual(self.after_glew(program.output()), "texture not found")

    def test_shadow_program_without_a_parameter_ends_the_program_at_the_switch(self):
        self.rename_identifier("cg/fp_shadow.cg", "specularColor", "shininessColor")
        program = self.start_and_wait()
        time.sleep(1.0)
        program.key("n")
        self.expect_status(program, 1, timeout=60)
        self.assertEqual(self.after_glew(program.output()),
                         "Unable to retrieve program parameters, exiting...\n")

    def test_corrupt_terrain_mesh_does_not_crash(self):
        with open(self.path("data/model/korvath.3ds"), "r+b") as f:
            data = bytearray(f.read())
            for at in range(6, len(data), 97):
                data[at] ^= 0xA5
            f.seek(0)
            f.write(data)
        program = self.start_and_wait()
        time.sleep(1.5)
        self.assertIsNone(program.process.poll())
        program.key("Escape")
        self.expect_status(program, 0)
