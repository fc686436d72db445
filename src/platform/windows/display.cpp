// Win32 window of class "demowin" with a WGL context. The show is drawn into a fixed-size
// framebuffer object and presented scaled into the window with its aspect kept: full screen is
// a borderless popup over the monitor (the display mode is never changed). Without framebuffer
// objects the show draws straight into a window of the picture's size.
#include "platform/display.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/picture_gl.h"
#include "platform/windows/window_procedure.h"

namespace {

constexpr char kClassName[] = "demowin";

using SwapIntervalCall = BOOL(WINAPI*)(int);

struct Display {
    HINSTANCE instance = nullptr;
    bool classRegistered = false;
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    FramebufferCalls gl;
    GLuint framebuffer = 0;  // 0: no framebuffer objects, the window itself holds the picture
    GLuint colorBuffer = 0;
    GLuint depthBuffer = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool cursorHidden = false;
    bool timerPeriodSet = false;
    bool paceFrames = false;  // no vsync: hold frames to 60 Hz ourselves
    std::chrono::steady_clock::time_point nextFrame;
};

Display display;
std::string lastError;

// wglGetProcAddress answers 1, 2, 3 or -1 instead of null on some drivers.
PROC GetGlCall(const char* name) {
    const PROC call = wglGetProcAddress(name);
    const auto value = reinterpret_cast<intptr_t>(call);
    return value == 0 || value == 1 || value == 2 || value == 3 || value == -1 ? nullptr : call;
}

// The core name, or the EXT extension's where the driver only offers that.
template <typename T>
bool Load(T* call, const char* name) {
    PROC found = GetGlCall(name);
    if (found == nullptr) {
        found = GetGlCall((std::string(name) + "EXT").c_str());
    }
    *call = reinterpret_cast<T>(reinterpret_cast<void*>(found));
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

std::string SystemError(const char* what) {
    return std::string(what) + " (Windows error " + std::to_string(GetLastError()) + ")";
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

void DeletePictureFramebuffer() {
    if (display.framebuffer == 0) {
        return;
    }
    display.gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    display.gl.deleteFramebuffers(1, &display.framebuffer);
    display.gl.deleteRenderbuffers(1, &display.colorBuffer);
    display.gl.deleteRenderbuffers(1, &display.depthBuffer);
    display.framebuffer = 0;
}

RECT MonitorArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) {
        area = info.rcMonitor;
    }
    return area;
}

// Outer rectangle of a window with `style` whose client area is width x height, centred in the
// desktop's work area (kept inside it at the top left).
RECT CentredWindow(int32_t width, int32_t height, DWORD style) {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    const LONG outerWidth = frame.right - frame.left;
    const LONG outerHeight = frame.bottom - frame.top;
    const LONG left = std::max(work.left, work.left + (work.right - work.left - outerWidth) / 2);
    const LONG top = std::max(work.top, work.top + (work.bottom - work.top - outerHeight) / 2);
    return RECT{left, top, left + outerWidth, top + outerHeight};
}

bool CreateTheWindow(DisplayMode mode, const char* title, int32_t width, int32_t height) {
    DWORD style = WS_POPUP;
    RECT area{0, 0, width, height};
    switch (mode) {
        case DisplayMode::Fullscreen:
            area = MonitorArea();
            style = WS_POPUP | WS_VISIBLE;
            break;
        case DisplayMode::Window: {
            style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
            RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            // Twice the picture size where the desktop has room for it and the frame.
            if (work.right - work.left >= 2 * width + 64 &&
                work.bottom - work.top >= 2 * height + 64) {
                width *= 2;
                height *= 2;
            }
            area = CentredWindow(width, height, style);
            break;
        }
        case DisplayMode::Offscreen:
            break;  // never shown
    }
    display.window =
        CreateWindowExA(0, kClassName, title, style, area.left, area.top, area.right - area.left,
                        area.bottom - area.top, nullptr, nullptr, display.instance, nullptr);
    return display.window != nullptr;
}

// Without framebuffer objects the window's own back buffer is the picture: a visible window
// shrinks to the picture's size (a popup centred on the monitor for full screen).
void FitWindowToPicture(DisplayMode mode) {
    if (mode == DisplayMode::Offscreen) {
        return;
    }
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE;
    if (mode == DisplayMode::Fullscreen) {
        style = WS_POPUP | WS_VISIBLE;
    }
    SetWindowLongPtrA(display.window, GWL_STYLE, static_cast<LONG_PTR>(style));
    const RECT area = CentredWindow(display.width, display.height, style);
    SetWindowPos(display.window, nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace

bool DisplayOpen(const DisplayConfig& config) {
    DisplayClose();
    lastError.clear();
    display.width = config.pictureWidth;
    display.height = config.pictureHeight;
    display.instance = GetModuleHandleA(nullptr);

    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DemoWindowProcedure;
    windowClass.hInstance = display.instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    display.classRegistered = RegisterClassA(&windowClass) != 0;
    if (!display.classRegistered && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return Fail(SystemError("cannot register the window class"));
    }
    if (!CreateTheWindow(config.mode, config.title, config.pictureWidth, config.pictureHeight)) {
        return Fail(SystemError("no display available: cannot open a window"));
    }
    display.dc = GetDC(display.window);

    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.cDepthBits = 32;
    format.iLayerType = PFD_MAIN_PLANE;
    const int chosen = ChoosePixelFormat(display.dc, &format);
    if (chosen == 0 || !SetPixelFormat(display.dc, chosen, &format)) {
        return Fail(SystemError("no OpenGL pixel format for the window"));
    }
    display.context = wglCreateContext(display.dc);
    if (display.context == nullptr || !wglMakeCurrent(display.dc, display.context)) {
        return Fail(SystemError("cannot create an OpenGL context"));
    }
    if (LoadFramebufferCalls(&display.gl)) {
        if (!CreatePictureFramebuffer()) {
            DeletePictureFramebuffer();
            return Fail("cannot create the picture framebuffer");
        }
    } else {
        FitWindowToPicture(config.mode);
    }
    if (config.mode != DisplayMode::Offscreen) {
        // Keys go to the window with the focus; a program started from a prompt has not got it.
        SetForegroundWindow(display.window);
        SetFocus(display.window);
    }
    if (config.mode == DisplayMode::Fullscreen) {
        ShowCursor(FALSE);
        display.cursorHidden = true;
    }
    if (config.mode == DisplayMode::Offscreen) {
        display.paceFrames = false;
    } else {
        // Millisecond sleeps for the frame pacing and the streaming thread.
        display.timerPeriodSet = timeBeginPeriod(1) == TIMERR_NOERROR;
        const auto swapInterval = reinterpret_cast<SwapIntervalCall>(
            reinterpret_cast<void*>(GetGlCall("wglSwapIntervalEXT")));
        const bool vsync = config.vsync && swapInterval != nullptr && swapInterval(1);
        display.paceFrames = !vsync;
    }
    display.nextFrame = std::chrono::steady_clock::now();
    DisplayBindPicture();
    glViewport(0, 0, display.width, display.height);
    // Errors of the set-up's queries must not be mistaken for the show's.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    return true;
}

const char* DisplayLastError() {
    return lastError.c_str();
}

bool DisplayIsOpen() {
    return display.context != nullptr;
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
    // Closed by the user: the driver stops at its next pass. Without framebuffer objects the
    // window's back buffer is the picture, and anything drawn over it would be in the picture.
    if (!DisplayIsOpen() || !IsWindow(display.window) || display.framebuffer == 0) {
        return false;
    }
    RECT client{};
    GetClientRect(display.window, &client);
    BlitPictureLetterboxed(display.gl, display.framebuffer, display.width, display.height,
                           client.right - client.left, client.bottom - client.top);
    display.gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    *windowWidth = client.right - client.left;
    *windowHeight = client.bottom - client.top;
    return true;
}

void DisplayFinishFrame() {
    if (!DisplayIsOpen() || !IsWindow(display.window)) {
        return;
    }
    SwapBuffers(display.dc);
    DisplayBindPicture();
    if (display.paceFrames) {
        PaceToSixtyHertz(display.nextFrame);
    }
}

void DisplayReadPicture(uint8_t* rgb) {
    if (!DisplayIsOpen()) {
        return;
    }
    if (display.framebuffer != 0) {
        display.gl.bindFramebuffer(GL_READ_FRAMEBUFFER, display.framebuffer);
    } else {
        glReadBuffer(GL_BACK);
    }
    ReadPictureRows(display.width, display.height, rgb);
}

void DisplayClose() {
    if (display.context != nullptr) {
        DeletePictureFramebuffer();
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(display.context);
    }
    if (display.dc != nullptr && IsWindow(display.window)) {
        ReleaseDC(display.window, display.dc);
    }
    if (display.window != nullptr && IsWindow(display.window)) {
        DestroyWindow(display.window);
    }
    if (display.classRegistered) {
        UnregisterClassA(kClassName, display.instance);
    }
    if (display.cursorHidden) {
        ShowCursor(TRUE);
    }
    if (display.timerPeriodSet) {
        timeEndPeriod(1);
    }
    ClearWindowMessages();
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
