// SDL2 window with a compatibility-profile GL context; the show is drawn into a fixed-size
// framebuffer object and presented scaled into the window with its aspect kept.
#include "platform/display.h"

#include <SDL.h>

#include <chrono>
#include <string>

#include "platform/picture_gl.h"

#if defined(DEMO_GL_LAYER)
#include "platform/gl_layer/gl_layer.h"
#endif

namespace {

struct Display {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    FramebufferCalls gl;
    GLuint framebuffer = 0;
    GLuint colorBuffer = 0;
    GLuint depthBuffer = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool vsync = false;       // the swap waits for the display
    bool paceFrames = false;  // no vsync: hold frames to 60 Hz ourselves
    std::chrono::steady_clock::time_point nextFrame;
    bool sdlStarted = false;
};

// The second context, and what the thread drawing with it made: a hidden window of its own to be
// current with (a surface is current on one thread at a time) and its picture framebuffer.
struct SecondContext {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    GLuint framebuffer = 0;
    GLuint colorBuffer = 0;
    GLuint depthBuffer = 0;
    // The show's window size when the context was made, for the drawing thread's one present,
    // so that it takes the same scaling path without asking SDL about another thread's window.
    int presentWidth = 0;
    int presentHeight = 0;
};

Display display;
SecondContext second;
std::string lastError;

template <typename T>
bool Load(T* call, const char* name) {
    *call = reinterpret_cast<T>(SDL_GL_GetProcAddress(name));
    return *call != nullptr;
}

bool LoadFramebufferCalls(FramebufferCalls* gl) {
    return Load(&gl->genFramebuffers, "glGenFramebuffers") &&
           Load(&gl->deleteFramebuffers, "glDeleteFramebuffers") &&
           Load(&gl->bindFramebuffer, "glBindFramebuffer") &&
           Load(&gl->genRenderbuffers, "glGenRenderbuffers") &&
           Load(&gl->deleteRenderbuffers, "glDeleteRenderbuffers") &&
           Load(&gl->bindRenderbuffer, "glBindRenderbuffer") &&
           Load(&gl->renderbufferStorage, "glRenderbufferStorage") &&
           Load(&gl->framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           Load(&gl->checkFramebufferStatus, "glCheckFramebufferStatus") &&
           Load(&gl->blitFramebuffer, "glBlitFramebuffer");
}

bool Fail(const std::string& what) {
    lastError = what;
    DisplayClose();
    return false;
}

// A framebuffer object in the current context, bound, over the given renderbuffers; with
// `makeBuffers` the renderbuffers are made first (the picture's size and formats).
bool MakePictureFramebuffer(GLuint* framebuffer, GLuint* colorBuffer, GLuint* depthBuffer,
                            bool makeBuffers) {
    FramebufferCalls& gl = display.gl;
    if (makeBuffers) {
        gl.genRenderbuffers(1, colorBuffer);
        gl.bindRenderbuffer(GL_RENDERBUFFER, *colorBuffer);
        // No alpha channel: a copy of the picture into a texture reads alpha 1 everywhere.
        gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, display.width, display.height);
        gl.genRenderbuffers(1, depthBuffer);
        gl.bindRenderbuffer(GL_RENDERBUFFER, *depthBuffer);
        gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, display.width,
                               display.height);
        gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    }
    gl.genFramebuffers(1, framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, *framebuffer);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, *colorBuffer);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, *depthBuffer);
    return gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// SDL's context set-up queries state that older context versions do not know; its errors must
// not be mistaken for the show's.
void DiscardSetUpErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

bool CreatePictureFramebuffer() {
    return MakePictureFramebuffer(&display.framebuffer, &display.colorBuffer, &display.depthBuffer,
                                  true);
}

}  // namespace

bool DisplayOpen(const DisplayConfig& config) {
    DisplayClose();
    lastError.clear();
    // Offscreen needs no display server: Mesa renders through EGL without one. An explicit
    // SDL_VIDEODRIVER in the environment still wins.
    if (config.mode == DisplayMode::Offscreen) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
    // Stop requests reach the program through platform/signals.h, not as SDL quit events.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        lastError = std::string("no display available: ") + SDL_GetError();
        return false;
    }
    display.sdlStarted = true;
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (config.mode != DisplayMode::Offscreen && (driver == "offscreen" || driver == "dummy")) {
        // SDL falls back to these when no display server answers; nobody would see the show.
        return Fail(
            "no display available (is DISPLAY or WAYLAND_DISPLAY set?); "
            "--capture draws the show without one");
    }
    display.width = config.pictureWidth;
    display.height = config.pictureHeight;

#if defined(DEMO_GL_LAYER)
    // Our GL layer draws the show on OpenGL ES 3.0.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
#else
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    // The show needs OpenGL 1.1 plus framebuffer objects. Asking for a higher version fails
    // where a driver caps it (Mesa does when extensions are overridden), so ask for the least.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
#endif
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);

    Uint32 flags = SDL_WINDOW_OPENGL;
    int windowWidth = config.pictureWidth;
    int windowHeight = config.pictureHeight;
    switch (config.mode) {
        case DisplayMode::Fullscreen:
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
            break;
        case DisplayMode::Window: {
            flags |= SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
            // Twice the picture size where the desktop has room for it.
            SDL_Rect usable;
            if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w >= 2 * windowWidth &&
                usable.h >= 2 * windowHeight) {
                windowWidth *= 2;
                windowHeight *= 2;
            }
            break;
        }
        case DisplayMode::Offscreen:
            flags |= SDL_WINDOW_HIDDEN;
            break;
    }
    display.window = SDL_CreateWindow(config.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                      windowWidth, windowHeight, flags);
    if (display.window == nullptr) {
        return Fail(std::string("cannot open a window: ") + SDL_GetError());
    }
    display.context = SDL_GL_CreateContext(display.window);
    if (display.context == nullptr) {
        return Fail(std::string("cannot create an OpenGL context: ") + SDL_GetError());
    }
    if (!LoadFramebufferCalls(&display.gl)) {
        return Fail("the OpenGL driver has no framebuffer objects");
    }
    if (!CreatePictureFramebuffer()) {
        return Fail("cannot create the picture framebuffer");
    }
#if defined(DEMO_GL_LAYER)
    if (std::string why; !GlLayerOpen(display.width, display.height, &why)) {
        return Fail(why);
    }
#endif
    if (config.mode == DisplayMode::Offscreen) {
        display.paceFrames = false;
    } else {
        SDL_ShowCursor(SDL_DISABLE);
        display.vsync = config.vsync && SDL_GL_SetSwapInterval(1) == 0;
        display.paceFrames = !display.vsync;
    }
    display.nextFrame = std::chrono::steady_clock::now();
    DisplayBindPicture();
    DiscardSetUpErrors();
    return true;
}

const char* DisplayLastError() {
    return lastError.c_str();
}

bool DisplayIsOpen() {
    return display.context != nullptr && display.framebuffer != 0;
}

void DisplayBindPicture() {
    if (display.framebuffer != 0) {
        display.gl.bindFramebuffer(GL_FRAMEBUFFER, display.framebuffer);
    }
}

void DisplayPresent() {
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    DisplayShowPicture(&windowWidth, &windowHeight);
    DisplayFinishFrame();
}

bool DisplayShowPicture(int32_t* windowWidth, int32_t* windowHeight) {
    if (!DisplayIsOpen()) {
        return false;
    }
#if defined(DEMO_GL_LAYER)
    GlLayerFinishDrawing();
#endif
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(display.window, &drawableWidth, &drawableHeight);
    BlitPictureLetterboxed(display.gl, display.framebuffer, display.width, display.height,
                           drawableWidth, drawableHeight);
    display.gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
#if defined(DEMO_GL_LAYER)
    GlLayerForgetAppliedState();
#endif
    *windowWidth = drawableWidth;
    *windowHeight = drawableHeight;
    return true;
}

void DisplayFinishFrame() {
    if (!DisplayIsOpen()) {
        return;
    }
#if defined(DEMO_GL_LAYER)
    GlLayerFinishDrawing();  // what was drawn over the window
#endif
    SDL_GL_SwapWindow(display.window);
    DisplayBindPicture();
#if defined(DEMO_GL_LAYER)
    GlLayerForgetAppliedState();
#endif
    if (display.paceFrames) {
        PaceToSixtyHertz(display.nextFrame);
    }
}

void DisplayReadPicture(uint8_t* rgb) {
    if (!DisplayIsOpen()) {
        return;
    }
#if defined(DEMO_GL_LAYER)
    GlLayerFinishDrawing();
#endif
    display.gl.bindFramebuffer(GL_READ_FRAMEBUFFER, display.framebuffer);
    ReadPictureRows(display.width, display.height, rgb);
#if defined(DEMO_GL_LAYER)
    GlLayerForgetAppliedState();
#endif
}

bool DisplayOpenSecondContext() {
#if defined(DEMO_GL_LAYER)
    return false;
#else
    if (!DisplayIsOpen() || second.context != nullptr) {
        return false;
    }
    second.window =
        SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, display.width,
                         display.height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (second.window != nullptr) {
        SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
        second.context = SDL_GL_CreateContext(second.window);
        SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
        DiscardSetUpErrors();  // the new context is current here for now
    }
    SDL_GL_MakeCurrent(display.window, display.context);
    SDL_GL_GetDrawableSize(display.window, &second.presentWidth, &second.presentHeight);
    if (second.context == nullptr) {
        DisplayCloseSecondContext();
        return false;
    }
    return true;
#endif
}

bool DisplayUseSecondContextHere() {
    if (second.context == nullptr || SDL_GL_MakeCurrent(second.window, second.context) != 0) {
        return false;
    }
    if (!MakePictureFramebuffer(&second.framebuffer, &second.colorBuffer, &second.depthBuffer,
                                true)) {
        DisplayLeaveSecondContext();
        return false;
    }
    return true;
}

void DisplayLeaveSecondContext() {
    if (second.context == nullptr) {
        return;
    }
    FramebufferCalls& gl = display.gl;
    if (second.framebuffer != 0) {
        BlitPictureLetterboxed(gl, second.framebuffer, display.width, display.height,
                               second.presentWidth, second.presentHeight);
        glFinish();
        gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        gl.deleteFramebuffers(1, &second.framebuffer);
        gl.deleteRenderbuffers(1, &second.colorBuffer);
        gl.deleteRenderbuffers(1, &second.depthBuffer);
        second.framebuffer = second.colorBuffer = second.depthBuffer = 0;
    }
    SDL_GL_MakeCurrent(second.window, nullptr);
}

bool DisplayMoveToSecondContext() {
    if (!DisplayIsOpen() || second.context == nullptr) {
        return false;
    }
    // What the first context drew must be in the picture before the second reads or draws it.
    glFinish();
    if (SDL_GL_MakeCurrent(display.window, second.context) != 0) {
        SDL_GL_MakeCurrent(display.window, display.context);
        return false;
    }
    GLuint framebuffer = 0;
    if (!MakePictureFramebuffer(&framebuffer, &display.colorBuffer, &display.depthBuffer, false)) {
        display.gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        display.gl.deleteFramebuffers(1, &framebuffer);
        SDL_GL_MakeCurrent(display.window, display.context);
        DisplayBindPicture();
        return false;
    }
    // A framebuffer object belongs to its context: the first one's goes with it.
    SDL_GL_DeleteContext(display.context);
    display.context = second.context;
    display.framebuffer = framebuffer;
    second.context = nullptr;
    SDL_DestroyWindow(second.window);
    second = SecondContext{};
    if (display.vsync) {
        SDL_GL_SetSwapInterval(1);
    }
    return true;
}

void DisplayCloseSecondContext() {
    if (second.context != nullptr) {
        SDL_GL_DeleteContext(second.context);
    }
    if (second.window != nullptr) {
        SDL_DestroyWindow(second.window);
    }
    second = SecondContext{};
}

void DisplayClose() {
    DisplayCloseSecondContext();
    if (display.context != nullptr) {
#if defined(DEMO_GL_LAYER)
        GlLayerClose();
#endif
        if (display.framebuffer != 0) {
            display.gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
            display.gl.deleteFramebuffers(1, &display.framebuffer);
            display.gl.deleteRenderbuffers(1, &display.colorBuffer);
            display.gl.deleteRenderbuffers(1, &display.depthBuffer);
        }
        SDL_GL_MakeCurrent(display.window, nullptr);
        SDL_GL_DeleteContext(display.context);
    }
    if (display.window != nullptr) {
        SDL_DestroyWindow(display.window);
    }
    if (display.sdlStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    display = Display{};
}
