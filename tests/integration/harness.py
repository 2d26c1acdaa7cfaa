"""Runs the real program and looks at its window.

CTest runs each module under tools/with-xvfb.sh, which gives it a private X
server. Each test gets its own working directory (a copy of the build
directory's cg/ and data/, so fault tests can break files without touching the
real ones) and reads the program's standard output and exit status.
"""
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

BINARY = os.path.abspath(os.environ["KORVATH_BINARY"])
RUNTIME_DIR = os.environ["KORVATH_RUNTIME_DIR"]

HELP_TEXT = (
    "SPACE - stop predefined camera movement\n"
    "ESC - exit program\n"
    "n - switch to second scenes\n"
    "left mouse - rotating\n"
    "middle mouse - translating x,y\n"
    "right mouse - scaling\n\n"
)
GLEW_OUTPUT = re.compile(re.escape(HELP_TEXT) + r"Using GLEW \d+\.\d+\.\d+\n")
SKY = (102, 178, 229)  # the clear colour (0.4, 0.7, 0.9) in bytes


def is_sky(p):
    return all(abs(p[c] - SKY[c]) <= 6 for c in range(3))


def is_land(p):
    """Green, brown, grey or sand: never blue-dominant."""
    return p[2] < p[0] + 10


def gaze_near_level(shot):
    """The sea's far edge sinks below mid-height at both window edges only in the
    last degrees of the flight's lift from the island to the horizon."""
    w, h = shot.width, shot.height
    strip = w // 40
    return all(shot.fraction(is_sky, (left, h // 3, left + strip, h // 2)) > 0.9
               for left in (0, w - strip))


def shows_shadow_scene(shot):
    """Sky above the shadow scene's fields: the volcano scene starts with sea
    above the island."""
    return (shot.fraction(is_sky, (0, 0, shot.width, shot.height // 10)) > 0.8
            and shot.fraction(is_land, (0, shot.height // 2, shot.width, shot.height)) > 0.8)


class Screenshot:
    """An RGB image read from ImageMagick's binary PPM output."""

    def __init__(self, ppm):
        magic, width, height, maxval, _ = ppm.split(maxsplit=4)
        assert magic == b"P6" and maxval == b"255", "unexpected screenshot format"
        self.width, self.height = int(width), int(height)
        # The pixels are the last bytes: splitting them off the header would also
        # swallow leading pixel bytes that happen to be whitespace values.
        size = 3 * self.width * self.height
        assert len(ppm) > size, "screenshot shorter than its %dx%d header" % (self.width, self.height)
        self.data = ppm[-size:]

    def pixel(self, x, y):
        at = 3 * (y * self.width + x)
        return tuple(self.data[at:at + 3])

    def samples(self, region=None, step=3):
        x0, y0, x1, y1 = region or (0, 0, self.width, self.height)
        return [(x, y) for y in range(y0, y1, step) for x in range(x0, x1, step)]

    def fraction(self, test, region=None):
        points = self.samples(region)
        return sum(1 for x, y in points if test(self.pixel(x, y))) / len(points)

    def difference(self, other, region=None):
        """Mean absolute channel difference, 0 to 255."""
        points = self.samples(region)
        return sum(abs(a - b) for x, y in points
                   for a, b in zip(self.pixel(x, y), other.pixel(x, y))) / (3 * len(points))

    def save(self, path):
        with open(path, "wb") as out:
            out.write(b"P6 %d %d 255\n" % (self.width, self.height) + self.data)


class Program:
    """The demo running in its own working directory."""

    def __init__(self, workdir):
        self.stdout_path = os.path.join(workdir, "stdout.txt")
        self.stderr_path = os.path.join(workdir, "stderr.txt")
        self.stdout_file = open(self.stdout_path, "wb")
        self.stderr_file = open(self.stderr_path, "wb")
        self.process = subprocess.Popen([BINARY], cwd=workdir, stdout=self.stdout_file,
                                        stderr=self.stderr_file, stdin=subprocess.DEVNULL)
        self.window = None

    def xdotool(self, *args, check=True):
        return subprocess.run(["xdotool", *args], capture_output=True, text=True,
                              timeout=30, check=check).stdout

    def poll(self, check, what, timeout=60):
        """Calls check() until it returns something, and returns that. Under load
        the program may take many seconds to get there; this waits on what it
        shows, not on a guess of how long that takes."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise AssertionError("program ended before %s: %s%s"
                                     % (what, self.output(), self.errors()))
            found = check()
            if found:
                return found
            time.sleep(0.1)
        raise AssertionError("no %s within %d s: %s" % (what, timeout, self.errors()))

    def wait_for_window(self):
        # Only a mapped window can be read back or take input; freeglut names
        # its window before it maps it.
        found = self.poll(lambda: self.xdotool("search", "--onlyvisible", "--name",
                                               "^Die Korvath$", check=False).split(),
                          "window titled 'Die Korvath'")
        self.window = found[0]

    def wait_for_picture(self, test, what, timeout=60):
        """The first screenshot that passes `test`."""
        def passing_shot():
            try:
                shot = self.screenshot()
                return shot if test(shot) else None
            except subprocess.CalledProcessError:
                return None  # the window can still be between creation and its first expose
        return self.poll(passing_shot, what, timeout)

    def wait_for_first_frame(self):
        """The window appears before the scene is built; under load building it
        can take seconds, and input sent meanwhile would meet no frame yet."""
        self.wait_for_picture(lambda shot: shot.fraction(lambda p: max(p) > 0) > 0.5,
                              "first frame")

    def wait_for_frames(self, count=2):
        """Returns once `count` new frames have been seen. Every frame moves waves,
        particles or the aircraft, so a changed picture is a new frame. Input sent
        before the call is handled by the second new frame at the latest: the first
        may have begun before the input arrived."""
        for _ in range(count):
            before = self.screenshot()
            self.wait_for_picture(lambda shot: shot.data != before.data, "new frame")

    def wait_for_output(self, expected):
        """Waits until standard output past the GLEW line reads `expected`."""
        self.poll(lambda: self.output_after_glew() == expected, "output %r" % expected)

    def key(self, name):
        self.xdotool("key", "--window", self.window, name, check=False)

    def drag(self, button, start, end):
        """One xdotool call: the server takes one client's requests in order,
        while separate calls may reach it in any order under load."""
        self.xdotool(*self.drag_steps(button, start, end))

    def drag_steps(self, button, start, end, steps=10):
        """xdotool's arguments for a drag with `button` from start to end."""
        moves = []
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            moves += ["mousemove", "--window", self.window, str(x), str(y), "sleep", "0.02"]
        return ["mousemove", "--window", self.window, str(start[0]), str(start[1]),
                "mousedown", str(button), *moves, "mouseup", str(button)]

    def screenshot(self):
        ppm = subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:-"],
                             capture_output=True, timeout=30, check=True).stdout
        return Screenshot(ppm)

    def geometry(self):
        shell = self.xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in shell.split())
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def title(self):
        return self.xdotool("getwindowname", self.window).strip()

    def wait(self, timeout=30):
        try:
            status = self.process.wait(timeout=timeout)
        finally:
            self.close_files()
        return status

    def output(self):
        with open(self.stdout_path, "rb") as f:
            return f.read().decode()

    def output_after_glew(self):
        """Standard output past the key help and the GLEW line, which must lead it."""
        match = GLEW_OUTPUT.match(self.output())
        if match is None:
            raise AssertionError("unexpected start of output: %r" % self.output())
        return self.output()[match.end():]

    def errors(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode()

    def close_files(self):
        self.stdout_file.close()
        self.stderr_file.close()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.close_files()

    def switch_to_shadow_scene(self):
        """Key n, then waits for the shadow scene's look; returns that shot."""
        self.key("n")
        return self.wait_for_picture(shows_shadow_scene, "shadow scene")


class ProgramTestCase(unittest.TestCase):
    """Gives each test a fresh working directory."""

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="korvath-test-")
        for name in ("cg", "data"):
            source = os.path.join(RUNTIME_DIR, name)
            if os.path.isdir(source):
                shutil.copytree(source, os.path.join(self.workdir, name))
        self.programs = []

    def tearDown(self):
        for program in self.programs:
            program.kill()
        shutil.rmtree(self.workdir, ignore_errors=True)

    def start(self):
        # The window is found by its title, so an earlier program left running by
        # a failed step would take the new one's input.
        for earlier in self.programs:
            earlier.kill()
        program = Program(self.workdir)
        self.programs.append(program)
        return program

    def start_and_wait(self):
        """Starts the program and returns once its first frame is on screen."""
        program = self.start()
        program.wait_for_window()
        program.wait_for_first_frame()
        return program

    def run_scenes_and_escape(self, press_n, expected):
        """Runs the volcano scene, and the shadow scene after it if press_n, until
        each has drawn new frames and standard output reads `expected` while the
        program still runs (it is written when it happens); then escapes."""
        program = self.start_and_wait()
        program.wait_for_frames()
        if press_n:
            program.key("n")
            program.wait_for_frames()
        program.wait_for_output(expected)
        program.key("Escape")
        self.expect_status(program, 0, timeout=60)
        self.assertEqual(program.output_after_glew(), expected)
        return program

    def expect_status(self, program, status, timeout=30):
        self.assertEqual(program.wait(timeout), status, program.output())
