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

#include <cstdint>
#include <cstdio>

#include "app/shell/input_rules.h"
#include "app/shell/run_mode.h"

namespace veldmark {
namespace {

constexpr wchar_t kClassName[] = L"VeldmarkWindow";
constexpr wchar_t kTitle[] = L"Veldmark";
constexpr int kWindowWidth = 960;
constexpr int kWindowHeight = 600;
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
        const auto packed = static_cast<std::uint64_t>(lparam);
        const InputVerdict verdict = OnMouse(*state, MouseEventOf(message), PackedMouseX(packed), PackedMouseY(packed));
        if (verdict == InputVerdict::Default) break;
        if (verdict == InputVerdict::EndProgram) DestroyWindow(window);
        return 0;
    }
    case WM_PAINT:
        // Paused or not, an uncovered window shows the last frame rather than what was above it.
        if (g_host) {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            g_host->Repaint();
            EndPaint(window, &paint);
            return 0;
        }
        break;
    default: break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

struct Win32Host::Handles {
    HWND window = nullptr;
    HDC window_dc = nullptr;        // the class's own DC, kept for the whole run
    HBITMAP first_bitmap = nullptr; // what the memory DC held before ours, put back before deleting
};

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
    HWND window = nullptr;
    if (mode == ScreensaverMode::Fullscreen) {
        window = CreateWindowExW(WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP | WS_VISIBLE, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                 instance, nullptr);
    } else if (mode == ScreensaverMode::Preview) {
        HWND parent = FromHandleBits<HWND>(state_.preview_parent);
        RECT client{};
        if (!parent || !GetClientRect(parent, &client)) return StartupFailure::CreateWindow;
        window = CreateWindowExW(0, kClassName, kTitle, WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                                 parent, nullptr, instance, nullptr);
    } else {
        RECT frame{0, 0, kWindowWidth, kWindowHeight};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        window = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                 nullptr);
    }
    if (!window) return StartupFailure::CreateWindow;
    handles_->window = window;
    ShowWindow(window, SW_SHOW);

    if (mode == ScreensaverMode::Fullscreen) {
        ShowCursor(FALSE);
        cursor_hidden_ = true;
    }

    handles_->window_dc = GetDC(window);
    if (!handles_->window_dc) return StartupFailure::NoDC;
    HDC memory = CreateCompatibleDC(handles_->window_dc);
    if (!memory) return StartupFailure::NoMemDC;
    state_.memory_dc = AsHandleBits(memory);
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
    return true;
}

bool Win32Host::PreviewParentExists() { return IsWindow(FromHandleBits<HWND>(state_.preview_parent)) != FALSE; }

bool Win32Host::Visible()
{
    // A minimised window (or a preview whose dialog is minimised) has nothing to show.
    HWND window = handles_->window;
    return window && !IsIconic(window) && IsWindowVisible(window);
}

void Win32Host::WaitForEvents(std::uint32_t ms)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
}

bool Win32Host::Present(const FrameSlot& frame)
{
    RECT client{};
    if (!GetClientRect(handles_->window, &client)) return false;
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return false;   // minimised: the frame waits for an area

    HDC memory = FromHandleBits<HDC>(state_.memory_dc);
    if (state_.present_bitmap == 0 || width != state_.present_width || height != state_.present_height) {
        const BITMAPINFO info = TopDownBitmapInfo(width, height);   // as the scaler writes it
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(handles_->window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits) {
            if (bitmap) DeleteObject(bitmap);
            return false;   // tried again next iteration
        }
        // A bitmap still selected into a DC cannot be deleted, so the new one goes in first.
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (state_.present_bitmap == 0) handles_->first_bitmap = static_cast<HBITMAP>(previous);
        else DeleteObject(previous);
        state_.present_bitmap = AsHandleBits(bitmap);
        state_.present_width = width;
        state_.present_height = height;
        bitmap_pixels_ = static_cast<std::uint32_t*>(bits);
        scaler_.Resize(width, height);
    }
    // GDI may still be reading the section from the last BitBlt; it must be done before we write.
    GdiFlush();
    scaler_.Scale(frame.pixels, bitmap_pixels_, static_cast<std::size_t>(width));
    BitBlt(handles_->window_dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    have_picture_ = true;
    return true;
}

void Win32Host::Repaint()
{
    if (!have_picture_ || state_.memory_dc == 0) return;
    BitBlt(handles_->window_dc, 0, 0, state_.present_width, state_.present_height,
           FromHandleBits<HDC>(state_.memory_dc), 0, 0, SRCCOPY);
}

void Win32Host::ReleasePresentation()
{
    HDC memory = FromHandleBits<HDC>(state_.memory_dc);
    if (state_.present_bitmap != 0) {
        if (memory && handles_->first_bitmap) SelectObject(memory, handles_->first_bitmap);
        DeleteObject(FromHandleBits<HBITMAP>(state_.present_bitmap));
        state_.present_bitmap = 0;
        bitmap_pixels_ = nullptr;
    }
    if (memory) DeleteDC(memory);
    state_.memory_dc = 0;
    have_picture_ = false;
    if (cursor_hidden_) ShowCursor(TRUE);
    cursor_hidden_ = false;
}

int ShowConfigureMessage()
{
    MessageBoxW(nullptr, L"Veldmark has no options to configure.", kTitle, 0);
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
