#pragma once
// OpenGL core declarations for the gl backend, taken from the system's
// libGL dispatch (which exports every core entry point).
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
