"""Bad data, broken in the test's own copy of cg/ and data/: missing, damaged and
oversized files, incomplete and broken shading programs. Each problem is named
once on stderr, stdout keeps the designed output, and the program runs on, or
ends with status 1 where the design ends it."""
import os
import re
import struct
import time

from harness import ProgramTestCase

MISSING_PARAMETERS = "Unable to retrieve program parameters, exiting...\n"
MEBIBYTE = 1024 * 1024


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
                program = self.run_scenes_and_escape(press_n, expected)
                missing = [line for line in self.problem_lines(program)
                           if line.endswith(": No such file or directory")]
                self.assertEqual(len(missing), 1 + 2 * press_n, program.errors())

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

    def jpeg_frame_offset(self, relative):
        """Offset of the height field in the first baseline or progressive frame header."""
        with open(self.path(relative), "rb") as f:
            data = f.read()
        for marker in (b"\xff\xc0", b"\xff\xc2"):
            at = data.find(marker)
            if at >= 0:
                return at + 5
        self.fail("no frame header in " + relative)

    def problem_lines(self, program):
        return [line for line in program.errors().splitlines()
                if line.startswith(("texture: ", "mesh: "))]

    def test_damaged_images_are_named_once_and_the_scenes_run(self):
        bmp_height = 22  # biHeight in the 40-byte info header
        cases = (
            # A sprite's height of INT_MIN, and a mesh texture of 0 x 0.
            ("data/particle/ash.bmp", bmp_height, struct.pack("<i", -2**31), False, ""),
            ("data/model/flieger.jpg", None, struct.pack(">HH", 0, 0), True,
             "texture not found"),
        )
        for relative, offset, data, press_n, stdout in cases:
            with self.subTest(file=relative):
                with open(self.path(relative), "rb") as f:
                    original = f.read()
                if offset is None:
                    offset = self.jpeg_frame_offset(relative)
                with open(self.path(relative), "r+b") as f:
                    f.seek(offset)
                    f.write(data)
                try:
                    program = self.run_scenes_and_escape(press_n, stdout)
                finally:
                    with open(self.path(relative), "wb") as f:
                        f.write(original)
                lines = self.problem_lines(program)
                self.assertEqual(len(lines), 1, program.errors())
                self.assertRegex(lines[0], r"^texture: %s: \S" % relative)

    def test_a_mesh_that_cannot_be_opened_is_named_and_the_scene_runs(self):
        os.remove(self.path("data/model/korvath.3ds"))
        program = self.run_scenes_and_escape(False, "")
        self.assertEqual(self.problem_lines(program),
                         ["mesh: data/model/korvath.3ds: No such file or directory"])

    def test_an_oversized_program_source_ends_the_program_before_it_is_read(self):
        with open(self.path("cg/vp_ocean.cg"), "a") as f:
            f.write("// padding\n" * (MEBIBYTE // 11 + 1))
        program = self.start()
        started = time.time()
        self.expect_status(program, 1, timeout=60)
        self.assertLess(time.time() - started, 20.0)
        output = program.output_after_glew()
        self.assertIn("cg/vp_ocean.cg", output)
        self.assertIn("1048576", output)
        self.assertRegex(output, r"\nCg error, exiting\.\.\.\n\Z")
