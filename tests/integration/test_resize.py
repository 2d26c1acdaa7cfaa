"""A resized window: each scene stretches its picture to fill it, as its fixed
projection makes it, with no clear-colour band beside it and no part cut off."""
import statistics
import time

from harness import ProgramTestCase

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
    cells = [(shot.width * column // GRID, shot.height * row // GRID,
              shot.width * (column + 1) // GRID, shot.height * (row + 1) // GRID)
             for row in range(GRID) for column in range(GRID)]
    return [[statistics.mean(shot.pixel(x, y)[c] for x, y in shot.samples(cell)) for c in range(3)]
            for cell in cells]


def layout_differences(reference, shot):
    """Per cell, the mean channel difference of the two layouts."""
    return [statistics.mean(abs(a[c] - b[c]) for c in range(3))
            for a, b in zip(cell_means(reference), cell_means(shot))]


class ResizeTest(ProgramTestCase):
    def live_shot(self, program, size):
        """A shot at size drawn after the size was set: a picture left from before
        the resize never changes, while every frame moves something."""
        def at_size(shot):
            return (shot.width, shot.height) == size

        earlier = program.wait_for_picture(at_size, "picture at %dx%d" % size)
        return program.wait_for_picture(lambda shot: at_size(shot) and shot.data != earlier.data,
                                        "new frame at %dx%d" % size)

    def steady_shot(self, program, size):
        """A live shot at size whose layout the next one keeps: the camera stands,
        and frames drawn between the resize and the program's handling of it, at
        the old viewport, are past."""
        shot = self.live_shot(program, size)
        deadline = time.time() + WAIT_SECONDS
        while time.time() < deadline:
            later = self.live_shot(program, size)
            if statistics.mean(layout_differences(shot, later)) < SAME_LAYOUT:
                return later
            shot = later
        raise AssertionError("the picture kept changing for %d s" % WAIT_SECONDS)

    def check_fills_every_size(self, program):
        reference = self.steady_shot(program, (800, 600))
        for size in SIZES:
            with self.subTest(size=size):
                program.xdotool("windowsize", program.window, str(size[0]), str(size[1]))
                shot = self.steady_shot(program, size)
                differences = layout_differences(reference, shot)
                self.assertLess(statistics.mean(differences), SAME_LAYOUT,
                                "cells differ from the 800x600 picture: %s"
                                % ["%.1f" % d for d in differences])
        program.xdotool("windowsize", program.window, "800", "600")

    def test_both_scenes_fill_the_resized_window(self):
        program = self.start_and_wait()
        # Wholly on the screen, so that it reads back whole: freeglut places it
        # one pixel beyond the top left corner.
        program.xdotool("windowmove", program.window, "0", "0")
        program.key("space")  # the camera stands, so only the eruption and waves move
        self.check_fills_every_size(program)
        program.switch_to_shadow_scene()
        self.check_fills_every_size(program)
        program.key("Escape")
        self.expect_status(program, 0)
