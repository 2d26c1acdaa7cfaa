"""A resized window: each scene stretches its picture to fill it, as its fixed
projection makes it, with no clear-colour band beside it and no part cut off."""
import time

from harness import ProgramTestCase, is_land, is_sky

# Larger and smaller than the 800x600 start, the larger one wider than 4:3; both
# inside Xvfb's 1024x768 screen.
SIZES = ((1000, 700), (560, 420))
GRID = 4  # the picture is compared as a GRID x GRID layout of mean colours
# The largest mean, over the cells, of the cells' mean channel differences that
# still counts as the same picture stretched. Measured: 0.1-0.2 in the shadow
# scene and 0.2-1.5 in the volcano scene, whose lava moves between the shots
# (one cell up to 18); an 800x600 viewport left at the lower left gives 24 in
# the larger window and 41 in the smaller.
SAME_LAYOUT = 4.0
WAIT_SECONDS = 60


def cell_means(shot):
    """Mean colour of each cell of a GRID x GRID division of the shot."""
    means = []
    for row in range(GRID):
        for column in range(GRID):
            region = (shot.width * column // GRID, shot.height * row // GRID,
                      shot.width * (column + 1) // GRID, shot.height * (row + 1) // GRID)
            points = shot.samples(region)
            pixels = [shot.pixel(x, y) for x, y in points]
            means.append(tuple(sum(p[c] for p in pixels) / len(pixels) for c in range(3)))
    return means


def layout_differences(reference, shot):
    """Per cell, the mean channel difference of the two layouts."""
    return [sum(abs(a[c] - b[c]) for c in range(3)) / 3
            for a, b in zip(cell_means(reference), cell_means(shot))]


def mean(values):
    return sum(values) / len(values)


def is_shadow_scene(shot):
    """Sky above fields; the volcano scene's start shows sea above the island."""
    w, h = shot.width, shot.height
    return (shot.fraction(is_sky, (0, 0, w, h // 10)) > 0.8
            and shot.fraction(is_land, (0, h // 2, w, h)) > 0.8)


class ResizeTest(ProgramTestCase):
    def live_shot(self, program, size):
        """A shot at size drawn after the size was set: the window is read until it
        has that size and changes between two reads, since a picture left from
        before the resize never changes."""
        deadline = time.time() + WAIT_SECONDS
        earlier = None
        while time.time() < deadline:
            shot = program.screenshot()
            if (shot.width, shot.height) == size:
                if earlier is not None and earlier.data != shot.data:
                    return shot
                earlier = shot
            time.sleep(0.05)
        raise AssertionError("no new frame at %dx%d within %d s" % (*size, WAIT_SECONDS))

    def steady_shot(self, program):
        """A live 800x600 shot whose layout the next one keeps: the camera stands."""
        shot = self.live_shot(program, (800, 600))
        deadline = time.time() + WAIT_SECONDS
        while time.time() < deadline:
            later = self.live_shot(program, (800, 600))
            if mean(layout_differences(shot, later)) < SAME_LAYOUT:
                return later
            shot = later
        raise AssertionError("the view kept moving for %d s" % WAIT_SECONDS)

    def start_on_screen(self):
        """The program with its window wholly on the screen, so that it reads back
        whole: freeglut places it one pixel beyond the top left corner."""
        program = self.start_and_wait()
        program.xdotool("windowmove", program.window, "0", "0")
        return program

    def check_fills_every_size(self, program, reference):
        for size in SIZES:
            with self.subTest(size=size):
                program.xdotool("windowsize", program.window, str(size[0]), str(size[1]))
                shot = self.live_shot(program, size)
                differences = layout_differences(reference, shot)
                self.assertLess(mean(differences), SAME_LAYOUT,
                                "cells differ from the 800x600 picture: %s"
                                % ["%.1f" % d for d in differences])

    def test_volcano_scene_fills_the_resized_window(self):
        program = self.start_on_screen()
        program.key("space")  # the camera stands, so only the eruption and waves move
        reference = self.steady_shot(program)
        self.check_fills_every_size(program, reference)
        program.key("Escape")
        self.expect_status(program, 0)

    def test_shadow_scene_fills_the_resized_window(self):
        program = self.start_on_screen()
        program.key("n")
        deadline = time.time() + WAIT_SECONDS
        while not is_shadow_scene(program.screenshot()):
            self.assertLess(time.time(), deadline, "the shadow scene did not appear")
            time.sleep(0.1)
        reference = self.steady_shot(program)
        self.check_fills_every_size(program, reference)
        program.key("Escape")
        self.expect_status(program, 0)
