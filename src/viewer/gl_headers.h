#pragma once
// The viewer draws with fixed-function GL 1.1 and GLU only. The executable chooses the GL
// implementation (OSMesa headless, libGL under Qt); the library links none.

#include <GL/gl.h>
#include <GL/glu.h>
