// Web: a WebGL 2 context on the page's canvas (#canvas). The show is drawn into a 640 x 480
// framebuffer object and copied 1:1 into the canvas, whose element the page scales with its
// aspect kept and crisp pixels.
#include "platform/display.h"

#include <GLES3/gl3.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <string>
#include <vector>

#if defined(DEMO_GL_LAYER)
#include "platform/gl_layer/gl_layer.h"
#endif
#include "platform/web/web_internal.h"

namespace {

constexpr const char* kCanvas = "#canvas";

struct Display {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    GLuint framebuffer = 0;
    GLuint colorBuffer = 0;
    GLuint depthBuffer = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool offscreen = false;
    bool presented = false;  // a frame has reached the canvas
    bool presentedSinceAsked = false;
    bool layerOpen = false;
};

Display display;
std::string lastError;

bool Fail(const std::string& what) {
    lastError = what;
    DisplayClose();
    return false;
}

bool CreatePictureFramebuffer() {
    glGenFramebuffers(1, &display.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, display.framebuffer);
    glGenRenderbuffers(1, &display.colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, display.colorBuffer);
    // No alpha channel: a copy of the picture into a texture reads alpha 1 everywhere.
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, display.width, display.height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              display.colorBuffer);
    glGenRenderbuffers(1, &display.depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, display.depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, display.width, display.height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              display.depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// The display's own ES calls may have changed state the GL layer keeps: it sets it all again.
void LayerStateChanged() {
#if defined(DEMO_GL_LAYER)
    if (display.layerOpen) {
        GlLayerForgetAppliedState();
    }
#endif
}

// Chrome's WebGL finish() returns without waiting for the drawing to end, so queued work piles up
// and lands later on whichever call must wait (a read-back): the benchmark's frame times then say
// nothing, and one frame stalls for all the others. Reading one pixel does wait, as glFinish does
// on the desktop.
// clang-format off
EM_JS(void, MakeFinishWait, (EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle), {
    const context = GL.getContext(handle).GLctx;
    const pixel = new Uint8Array(4);
    context.finish = () => context.readPixels(0, 0, 1, 1, context.RGBA, context.UNSIGNED_BYTE,
                                              pixel);
});
// clang-format on

// Tells the page that the first picture is on the canvas (it measures the start-up by it).
// clang-format off
EM_JS(void, NoteFirstFrame, (), {
    if (typeof Module.onFirstFrame === 'function') {
        Module.onFirstFrame();
    }
});
// clang-format on

}  // namespace

bool WebDisplayIsOffscreen() {
    return display.context != 0 && display.offscreen;
}

bool WebDisplayTakePresented() {
    const bool presented = display.presentedSinceAsked;
    display.presentedSinceAsked = false;
    return presented;
}

bool DisplayOpen(const DisplayConfig& config) {
    DisplayClose();
    lastError.clear();
    display.width = config.pictureWidth;
    display.height = config.pictureHeight;
    display.offscreen = config.mode == DisplayMode::Offscreen;
    // The canvas holds exactly the picture; the page scales the element.
    if (emscripten_set_canvas_element_size(kCanvas, display.width, display.height) !=
        EMSCRIPTEN_RESULT_SUCCESS) {
        return Fail("the page has no canvas to draw on");
    }
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.antialias = EM_FALSE;
    // The canvas only receives finished pictures; the picture framebuffer has its own depth.
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.premultipliedAlpha = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    attributes.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
    display.context = emscripten_webgl_create_context(kCanvas, &attributes);
    if (display.context <= 0) {
        display.context = 0;
        return Fail("this browser has no WebGL 2");
    }
    emscripten_webgl_make_context_current(display.context);
    MakeFinishWait(display.context);
    if (!CreatePictureFramebuffer()) {
        return Fail("cannot create the picture framebuffer");
    }
#if defined(DEMO_GL_LAYER)
    std::string error;
    if (!GlLayerOpen(display.width, display.height, &error)) {
        return Fail("cannot set up drawing: " + error);
    }
    display.layerOpen = true;
#endif
    DisplayBindPicture();
    return true;
}

const char* DisplayLastError() {
    return lastError.c_str();
}

bool DisplayIsOpen() {
    return display.context != 0 && display.framebuffer != 0;
}

void DisplayBindPicture() {
    if (display.framebuffer != 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, display.framebuffer);
    }
}

bool DisplayShowPicture(int32_t* windowWidth, int32_t* windowHeight) {
    if (!DisplayIsOpen()) {
        return false;
    }
    GlLayerFinishDrawing();
    // The scissor test would clip the copy; the layer sets it again before its next draw. The
    // canvas is the picture's size (the page scales it), so the copy is one to one.
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, display.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, display.width, display.height, 0, 0, display.width, display.height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    LayerStateChanged();
    *windowWidth = display.width;
    *windowHeight = display.height;
    return true;
}

void DisplayFinishFrame() {
    if (!DisplayIsOpen()) {
        return;
    }
    GlLayerFinishDrawing();  // what was drawn over the canvas
    DisplayBindPicture();
    LayerStateChanged();
    // The browser shows the canvas when the frame loop's callback returns: no swap call.
    display.presentedSinceAsked = true;
    if (!display.presented) {
        display.presented = true;
        NoteFirstFrame();
    }
}

void DisplayPresent() {
    int32_t width = 0;
    int32_t height = 0;
    if (DisplayShowPicture(&width, &height)) {
        DisplayFinishFrame();
    }
}

void DisplayReadPicture(uint8_t* rgb) {
    if (!DisplayIsOpen()) {
        return;
    }
    // ES reads RGBA only: read it, then drop alpha and turn the rows top first.
    const size_t width = static_cast<size_t>(display.width);
    const size_t height = static_cast<size_t>(display.height);
    std::vector<uint8_t> rgba(width * height * 4);
    GlLayerFinishDrawing();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, display.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, display.width, display.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    LayerStateChanged();
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* source = rgba.data() + (height - 1 - y) * width * 4;
        uint8_t* target = rgb + y * width * 3;
        for (size_t x = 0; x < width; ++x) {
            target[3 * x] = source[4 * x];
            target[3 * x + 1] = source[4 * x + 1];
            target[3 * x + 2] = source[4 * x + 2];
        }
    }
}

void DisplayClose() {
#if defined(DEMO_GL_LAYER)
    if (display.layerOpen) {
        GlLayerClose();
    }
#endif
    if (display.context != 0) {
        if (display.framebuffer != 0) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glDeleteFramebuffers(1, &display.framebuffer);
            glDeleteRenderbuffers(1, &display.colorBuffer);
            glDeleteRenderbuffers(1, &display.depthBuffer);
        }
        emscripten_webgl_make_context_current(0);
        emscripten_webgl_destroy_context(display.context);
    }
    display = Display{};
}

// No second context here: the show draws with its one context throughout.
bool DisplayOpenSecondContext() {
    return false;
}

bool DisplayUseSecondContextHere() {
    return false;
}

void DisplayLeaveSecondContext() {}

bool DisplayMoveToSecondContext() {
    return false;
}

void DisplayCloseSecondContext() {}
