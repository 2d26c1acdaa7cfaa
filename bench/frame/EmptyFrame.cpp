// The frame-rate baseline: an 800x600 window that only clears and swaps, the
// way the demo's frame driver starts and ends every frame.
#include <GL/freeglut.h>

namespace {

void emptyFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutCreateWindow("Empty Frame");
    glClearColor(0.4f, 0.7f, 0.9f, 1.0f);
    glutDisplayFunc(emptyFrame);
    glutIdleFunc(emptyFrame);
    glutMainLoop();
    return 0;
}
