"""A minute of the volcano scene: memory stays flat and, in the build that
reports GL errors (the debug build), no GL error is raised."""
import os
import time

from harness import ProgramTestCase, gaze_near_level

SOAK_SECONDS = 60
# Resident memory may settle and wobble (driver caches, AddressSanitizer's
# quarantine of freed blocks swings it by ~15 MiB) but must not keep growing:
# compare the median of the first samples with that of the last ones.
ALLOWED_GROWTH_KB = 4096
# Optimised builds compile the GL error reports away: there is nothing to read.
REPORTS_GL_ERRORS = os.environ["KORVATH_REPORTS_GL_ERRORS"] == "1"


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise AssertionError("no VmRSS for %d" % pid)


class SoakTest(ProgramTestCase):
    def test_a_minute_of_frames_allocates_nothing_and_raises_no_gl_error(self):
        program = self.start_and_wait()
        # Start-up allocations settle while the flight lifts its gaze; by the
        # horizon every pass has drawn the plume in full view.
        program.wait_for_picture(gaze_near_level, "gaze at the horizon")
        samples = []
        end = time.time() + SOAK_SECONDS
        while time.time() < end:
            samples.append(resident_kb(program.process.pid))
            time.sleep(3)
        program.key("Escape")
        self.expect_status(program, 0)
        first, last = sorted(samples[:5]), sorted(samples[-5:])
        self.assertLess(last[2] - first[2], ALLOWED_GROWTH_KB, samples)
        if REPORTS_GL_ERRORS:
            self.assertNotIn("GL error", program.errors())
