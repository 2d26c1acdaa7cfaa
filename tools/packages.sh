# Package lists shared by run.sh and test.sh.
# shellcheck shell=bash
RUNTIME_PACKAGES=(cmake make g++ pkg-config freeglut3-dev libglew-dev libdevil-dev libglu1-mesa-dev
                  libgl1-mesa-dri xvfb xdotool x11-utils imagemagick)
TEST_PACKAGES=(googletest libgtest-dev libgmock-dev libbenchmark-dev python3 clang libclang-rt-14-dev
               g++-aarch64-linux-gnu mesa-vulkan-drivers)
