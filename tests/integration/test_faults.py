"""Bad data: missing textures, incomplete and broken shading programs.

Every case breaks a file in the test's own copy of cg/ and data/.
"""
import os
import re

from harness import ProgramTestCase

MISSING_PARAMETERS = "Unable to retrieve program parameters, exiting...\n"


class FaultTest(ProgramTestCase):
    def path(self, relative):
        return os.path.join(self.workdir, relative)

    def rename_identifier(self, relative, old, new):
        with open(self.path(relative)) as f:
            source = f.read()
        self.assertIn(old, source)
        with open(self.path(relative), "w") as f:
            f.write(re.sub(r"\b%s\b" % old, new, source))

    def test_missing_textures_are_reported_once_and_the_scenes_run(self):
        for scene_files, press_n in ((["korvath.jpg"], False),
                                     (["landscape.jpg", "flieger.jpg"], True)):
            with self.subTest(files=scene_files):
                for name in scene_files:
                    os.remove(self.path("data/model/" + name))
                # The terrain texture stays missing for the second case too.
                expected = "texture not found" * (1 + press_n)
                self.run_scenes_and_escape(press_n, expected)

    def test_programs_without_a_parameter_end_the_program(self):
        for relative, name, press_n in (("cg/vp_volcanoAsh.cg", "initVelocity", False),
                                        ("cg/fp_shadow.cg", "specularColor", True)):
            with self.subTest(program=relative):
                self.rename_identifier(relative, name, "renamed" + name)
                if press_n:
                    program = self.start_and_wait()
                    program.key("n")
                else:
                    program = self.start()
                self.expect_status(program, 1, timeout=60)
                self.assertEqual(program.output_after_glew(), MISSING_PARAMETERS)
                self.rename_identifier(relative, "renamed" + name, name)

    def test_broken_ocean_program_reports_the_compiler_log_and_ends(self):
        with open(self.path("cg/vp_ocean.cg"), "a") as f:
            f.write("\nthis is not a shading program\n")
        program = self.start()
        self.expect_status(program, 1, timeout=60)
        error_string, listing = program.output_after_glew().split("\n\n", 1)
        self.assertNotEqual(error_string, "")
        self.assertIn("cg/vp_ocean.cg", listing)
        self.assertIn("error", listing.lower())
        self.assertRegex(listing, r"\nCg error, exiting\.\.\.\n\Z")
