#pragma once

// OpenGL 3.3 core entry points. The library links the vendor-neutral GL dispatch library, which
// forwards to whichever context SDL made current (GLX under X11, EGL offscreen).

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#ifndef GL_MIRROR_CLAMP_TO_EDGE
#define GL_MIRROR_CLAMP_TO_EDGE 0x8743
#endif
#ifndef GL_TEXTURE_MAX_ANISOTROPY
#define GL_TEXTURE_MAX_ANISOTROPY 0x84FE
#endif

#include "GlChecked.h"
