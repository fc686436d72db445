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
    bool paceFrames = false;  // no vsync: hold frames to 60 Hz ourselves
    std::chrono::steady_clock::time_point nextFrame;
    bool sdlStarted = false;
};

Display display;
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

bool CreatePictureFramebuffer() {
    FramebufferCalls& gl = display.gl;
    gl.genFramebuffers(1, &display.framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, display.framebuffer);
    gl.genRenderbuffers(1, &display.colorBuffer);
    gl.bindRenderbuffer(GL_RENDERBUFFER, display.colorBuffer);
    // No alpha channel: a copy of the picture into a texture reads alpha 1 everywhere.
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, display.width, display.height);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                               display.colorBuffer);
    gl.genRenderbuffers(1, &display.depthBuffer);
    gl.bindRenderbuffer(GL_RENDERBUFFER, display.depthBuffer);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, display.width, display.height);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                               display.depthBuffer);
    gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    return gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
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
        const bool vsync = config.vsync && SDL_GL_SetSwapInterval(1) == 0;
        display.paceFrames = !vsync;
    }
    display.nextFrame = std::chrono::steady_clock::now();
    DisplayBindPicture();
    // SDL's context set-up queries state that older context versions do not know; its errors
    // must not be mistaken for the show's.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
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

void DisplayClose() {
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
