"""Refreshes the screenshots in docs/ from the real program.

Run from the repository root with the build directory's program, under Xvfb:
  KORVATH_BINARY=build/korvath KORVATH_RUNTIME_DIR=build \
    tools/with-xvfb.sh python3 tools/docs_screenshots.py
"""
import os
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "integration"))
from harness import ProgramTestCase  # noqa: E402

DOCS = os.path.join(ROOT, "docs")


def save_png(shot, name):
    with tempfile.NamedTemporaryFile(suffix=".ppm") as ppm:
        shot.save(ppm.name)
        subprocess.run(["convert", ppm.name, os.path.join(DOCS, name)], check=True)


class DocsScreenshots(ProgramTestCase):
    def test_refresh(self):
        program = self.start_and_wait()
        time.sleep(1.0)
        save_png(program.screenshot(), "volcano-start.png")
        time.sleep(5.0)
        save_png(program.screenshot(), "volcano-flight.png")
        program.key("space")
        program.drag(1, (300, 300), (340, 310))
        time.sleep(0.5)
        save_png(program.screenshot(), "volcano-drag.png")
        program.key("n")
        time.sleep(3.0)
        save_png(program.screenshot(), "shadow-switch.png")
        program.drag(1, (400, 300), (400, 325))
        time.sleep(1.0)
        save_png(program.screenshot(), "shadow-drag.png")


if __name__ == "__main__":
    unittest.main()
