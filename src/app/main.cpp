// Die Korvath: start-up, then GLUT's main loop drives everything.
#include "app/Application.h"

#include "scenes/VolcanoScene.h"

#include <GL/freeglut.h>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace korvath;
    // Line-buffered, so each message reaches a pipe when it is printed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("SPACE - stop predefined camera movement\n");
    std::printf("ESC - exit program\n");
    std::printf("n - switch to second scenes\n");
    std::printf("left mouse - rotating\n");
    std::printf("middle mouse - translating x,y\n");
    std::printf("right mouse - scaling\n\n");

    initGraphics(argc, argv);
    initExtensions();
    application.volcanoScene = new VolcanoScene(application.shaderContext);
    glutMainLoop();
    releaseActiveScene();
    return 0;
}
