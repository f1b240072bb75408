#include "app/win32/win32_host.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// <windows.h> maps these names to its A/W functions; here they are start-up failure names, and
// the W functions are called by their own names.
#undef RegisterClass
#undef CreateWindow

#include <array>
#include <cstdint>
#include <cstdio>

#include "app/shell/input_rules.h"
#include "app/shell/presenter.h"
#include "app/shell/run_mode.h"
#include "app/shell/screen_layout.h"
#include "app/shell/window_texts.h"

namespace veldmark {
namespace {

constexpr wchar_t kClassName[] = L"VeldmarkWindow";
constexpr auto kTitle = WideText(kWindowTitle);
constexpr auto kConfigureMessage = WideText(kConfigureText);
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;

static_assert(kClassStyle == 0x23);

// The window procedure runs inside DispatchMessageW on the main thread; this is how it finds
// the host and the state. One host per process.
Win32Host* g_host = nullptr;
SimState* g_host_state = nullptr;

// A 32-bit top-down bitmap of the given size: the layout of the frame's pixels.
BITMAPINFO TopDownBitmapInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::uint64_t AsHandleBits(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }
template <class H>
H FromHandleBits(std::uint64_t bits)
{
    return reinterpret_cast<H>(static_cast<std::uintptr_t>(bits));
}

MouseEvent MouseEventOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: return MouseEvent::LeftDown;
    case WM_RBUTTONDOWN: return MouseEvent::RightDown;
    case WM_MBUTTONDOWN: return MouseEvent::MiddleDown;
    case WM_MOUSEWHEEL: return MouseEvent::Wheel;
    default: return MouseEvent::Move;
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    SimState* state = g_host_state;
    if (!state) return DefWindowProcW(window, message, wparam, lparam);
    switch (message) {
    case WM_DESTROY:
        state->running = 0;
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Handled keys never reach default handling, so Alt+F4 does nothing in a window.
        if (OnKeyDown(*state, static_cast<std::uint32_t>(wparam)) == InputVerdict::EndProgram)
            DestroyWindow(window);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL: {
        // The full-screen mouse rule measures on the whole desktop, across every monitor's
        // window: client positions become screen positions (the wheel's already are).
        const auto packed = static_cast<std::uint64_t>(lparam);
        POINT at{PackedMouseX(packed), PackedMouseY(packed)};
        if (message != WM_MOUSEWHEEL) ClientToScreen(window, &at);
        const InputVerdict verdict = OnMouse(*state, MouseEventOf(message), at.x, at.y);
        if (verdict == InputVerdict::Default) break;
        if (verdict == InputVerdict::EndProgram) DestroyWindow(window);
        return 0;
    }
    case WM_DISPLAYCHANGE:
        // A monitor came or went: the saver's windows no longer fit the desktop, and a saver
        // that ends (with exit code 0) is the safe answer.
        if (RunModeOf(*state) == ScreensaverMode::Fullscreen) DestroyWindow(window);
        break;
    case WM_PAINT:
        // Paused or not, an uncovered window shows the last frame rather than what was above it.
        if (g_host) {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            g_host->Repaint(window);
            EndPaint(window, &paint);
            return 0;
        }
        break;
    default: break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

// One window and what presenting into it needs. The first window's memory DC and bitmap are
// also the state record's memory_dc and present_bitmap.
struct Surface {
    HWND window = nullptr;
    HDC window_dc = nullptr;        // the class's own DC, kept for the whole run
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;       // a DIB section of the client size, selected into `memory`
    HBITMAP first_bitmap = nullptr; // what the memory DC held before ours, put back before deleting
    std::uint32_t* pixels = nullptr;// the section's pixels, rows top-down
    int width = 0;
    int height = 0;
    bool has_picture = false;
    Presenter presenter;            // fills the client area
};

struct Win32Host::Handles {
    std::array<Surface, kMaxScreens> surfaces;
    std::size_t count = 0;
    MonitorWatch monitor_watch;     // full screen: the layout the windows were made for
};

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT area, LPARAM list)
{
    const RECT& m = *area;
    return AddScreen(*reinterpret_cast<ScreenLayout*>(list), {m.left, m.top, m.right - m.left, m.bottom - m.top})
               ? TRUE
               : FALSE;
}

// Every monitor's rectangle on the virtual desktop (left of or above the primary monitor the
// coordinates are negative); the primary screen alone when none can be listed.
ScreenLayout ListMonitors()
{
    ScreenLayout monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.count == 0) AddScreen(monitors, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

// Shows the frame in one window, making its section anew when the client size changed.
bool PresentTo(Surface& surface, const FrameSlot& frame)
{
    RECT client{};
    if (!GetClientRect(surface.window, &client)) return false;
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return false;   // minimised: the frame waits for an area
    if (!surface.bitmap || width != surface.width || height != surface.height) {
        const BITMAPINFO info = TopDownBitmapInfo(width, height);   // as the scaler writes it
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(surface.window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits) {
            if (bitmap) DeleteObject(bitmap);
            return false;   // tried again next iteration
        }
        // A bitmap still selected into a DC cannot be deleted, so the new one goes in first.
        HGDIOBJ previous = SelectObject(surface.memory, bitmap);
        if (!surface.bitmap) surface.first_bitmap = static_cast<HBITMAP>(previous);
        else DeleteObject(previous);
        surface.bitmap = bitmap;
        surface.pixels = static_cast<std::uint32_t*>(bits);
        surface.width = width;
        surface.height = height;
    }
    // GDI may still be reading the section from the last BitBlt; it must be done before we write.
    GdiFlush();
    surface.presenter.Present(frame.pixels, surface.pixels, static_cast<std::size_t>(width), width, height);
    BitBlt(surface.window_dc, 0, 0, width, height, surface.memory, 0, 0, SRCCOPY);
    surface.has_picture = true;
    return true;
}

} // namespace

Win32Host::Win32Host(SimState& state) : state_(state), handles_(new Handles)
{
    g_host = this;
    g_host_state = &state;
}

Win32Host::~Win32Host()
{
    ReleasePresentation();
    g_host = nullptr;
    delete handles_;
}

StartupFailure Win32Host::Open()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));   // IDC_ARROW

    WNDCLASSW window_class{};
    window_class.style = kClassStyle;
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = arrow;
    window_class.lpszClassName = kClassName;
    if (!RegisterClassW(&window_class)) return StartupFailure::RegisterClass;

    // Configure mode never gets here: it shows its message box before any window exists.
    const ScreensaverMode mode = RunModeOf(state_);
    Handles& h = *handles_;
    if (mode == ScreensaverMode::Fullscreen) {
        // A topmost window on every monitor: the desktop stays covered wherever it is.
        const ScreenLayout monitors = ListMonitors();
        StartMonitorWatch(h.monitor_watch, monitors, GetTickCount());
        for (std::size_t i = 0; i < monitors.count; ++i) {
            const ScreenRect& m = monitors.screens[i];
            HWND window = CreateWindowExW(WS_EX_TOPMOST, kClassName, kTitle.data(), WS_POPUP | WS_VISIBLE, m.x, m.y,
                                          m.width, m.height, nullptr, nullptr, instance, nullptr);
            if (!window) return StartupFailure::CreateWindow;
            h.surfaces[h.count++].window = window;
        }
    } else if (mode == ScreensaverMode::Preview) {
        HWND parent = FromHandleBits<HWND>(state_.preview_parent);
        RECT client{};
        if (!parent || !GetClientRect(parent, &client)) return StartupFailure::CreateWindow;
        HWND window = CreateWindowExW(0, kClassName, kTitle.data(), WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                      client.bottom, parent, nullptr, instance, nullptr);
        if (!window) return StartupFailure::CreateWindow;
        h.surfaces[h.count++].window = window;
    } else {
        RECT frame{0, 0, kWindowWidth, kWindowHeight};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        HWND window = CreateWindowExW(0, kClassName, kTitle.data(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                      instance, nullptr);
        if (!window) return StartupFailure::CreateWindow;
        h.surfaces[h.count++].window = window;
    }
    for (std::size_t i = 0; i < h.count; ++i) ShowWindow(h.surfaces[i].window, SW_SHOW);

    if (mode == ScreensaverMode::Fullscreen) {
        ShowCursor(FALSE);   // the cursor belongs to the thread: hidden over every window
        cursor_hidden_ = true;
    }

    for (std::size_t i = 0; i < h.count; ++i) {
        Surface& surface = h.surfaces[i];
        surface.window_dc = GetDC(surface.window);
        if (!surface.window_dc) return StartupFailure::NoDC;
        surface.memory = CreateCompatibleDC(surface.window_dc);
        if (!surface.memory) return StartupFailure::NoMemDC;
    }
    state_.memory_dc = AsHandleBits(h.surfaces[0].memory);
    return StartupFailure::None;
}

std::uint64_t Win32Host::ClockFrequency()
{
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return 0;
    return static_cast<std::uint64_t>(frequency.QuadPart);
}

std::uint64_t Win32Host::ClockNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart);
}

void Win32Host::SleepMilliseconds(std::uint32_t ms) { Sleep(ms); }

bool Win32Host::PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // WM_DISPLAYCHANGE reports a monitor that comes or goes, but not every system sends it for
    // every change (a monitor's place alone, or Wine): the layout is also compared now and then.
    Handles& h = *handles_;
    const DWORD now = GetTickCount();
    if (MonitorLookDue(h.monitor_watch, now) && MonitorLayoutChanged(h.monitor_watch, ListMonitors(), now) &&
        h.count > 0)
        DestroyWindow(h.surfaces[0].window);   // ends the run, exit code 0
    return true;
}

bool Win32Host::PreviewParentExists() { return IsWindow(FromHandleBits<HWND>(state_.preview_parent)) != FALSE; }

bool Win32Host::Visible()
{
    // A minimised window (or a preview whose dialog is minimised) has nothing to show.
    for (std::size_t i = 0; i < handles_->count; ++i) {
        HWND window = handles_->surfaces[i].window;
        if (!IsIconic(window) && IsWindowVisible(window)) return true;
    }
    return false;
}

void Win32Host::WaitForEvents(std::uint32_t ms)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
}

std::size_t Win32Host::window_count() const { return handles_->count; }

bool Win32Host::Present(const FrameSlot& frame)
{
    // The same frame in every window; one that cannot take it now simply keeps its picture.
    bool shown = false;
    for (std::size_t i = 0; i < handles_->count; ++i) shown = PresentTo(handles_->surfaces[i], frame) || shown;
    const Surface& first = handles_->surfaces[0];
    state_.present_bitmap = AsHandleBits(first.bitmap);
    state_.present_width = first.width;
    state_.present_height = first.height;
    return shown;
}

void Win32Host::Repaint(void* window)
{
    for (std::size_t i = 0; i < handles_->count; ++i) {
        const Surface& surface = handles_->surfaces[i];
        if (surface.window == window && surface.has_picture)
            BitBlt(surface.window_dc, 0, 0, surface.width, surface.height, surface.memory, 0, 0, SRCCOPY);
    }
}

void Win32Host::ReleasePresentation()
{
    for (std::size_t i = 0; i < handles_->count; ++i) {
        Surface& surface = handles_->surfaces[i];
        if (surface.bitmap) {
            if (surface.memory && surface.first_bitmap) SelectObject(surface.memory, surface.first_bitmap);
            DeleteObject(surface.bitmap);
        }
        if (surface.memory) DeleteDC(surface.memory);
        surface.bitmap = nullptr;
        surface.memory = nullptr;
        surface.pixels = nullptr;
        surface.has_picture = false;
    }
    state_.present_bitmap = 0;
    state_.memory_dc = 0;
    if (cursor_hidden_) ShowCursor(TRUE);
    cursor_hidden_ = false;
}

int ShowConfigureMessage()
{
    MessageBoxW(nullptr, kConfigureMessage.data(), kTitle.data(), 0);
    return kExitNormal;
}

int ReportStartup(StartupFailure failure)
{
    if (failure == StartupFailure::None) return kExitNormal;
    char line[96];
    const int length = std::snprintf(line, sizeof line, "veldmark: cannot start: %s\n", StartupFailureName(failure));
    OutputDebugStringA(line);
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error && error != INVALID_HANDLE_VALUE && length > 0) {
        DWORD written = 0;
        WriteFile(error, line, static_cast<DWORD>(length), &written, nullptr);
    }
    return ExitCodeOf(failure);
}

} // namespace veldmark
