// The GL side of the fixed-size picture, shared by both display backends: the framebuffer-object
// calls, the letterboxed blit to the window, 60 Hz pacing and the read-back.
#pragma once

#if defined(DEMO_GL_LAYER)
// The display owns the ES context under the GL layer and calls ES itself.
#include <GLES3/gl3.h>
#else
#ifdef _WIN32
#include <windows.h>  // GL/gl.h builds on it there
#endif
#include <GL/gl.h>
#include <GL/glext.h>
#endif

#include <chrono>
#include <cstdint>

// Framebuffer-object entry points, looked up by each backend once its context is current.
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
};

// Copies the width x height picture in `framebuffer` into the window's drawable of the given
// size: the largest centred rectangle of the picture's aspect, black borders around it. The
// scissor test and clear colour the show set are put back afterwards.
void BlitPictureLetterboxed(const FramebufferCalls& gl, GLuint framebuffer, int32_t width,
                            int32_t height, int drawableWidth, int drawableHeight);

// Without vsync: sleeps until 1/60 s after the previous frame's slot. A frame that is late moves
// the slot to now instead of hurrying the next ones.
void PaceToSixtyHertz(std::chrono::steady_clock::time_point& nextFrame);

// Reads the bound read buffer's width x height picture as tightly packed RGB rows, top row first.
void ReadPictureRows(int32_t width, int32_t height, uint8_t* rgb);
