// Looks at a running Veldmark from the outside, as the Windows shell would, for the tests that
// run the Windows build under Wine:
//   win_probe client-size           the client area of the top-level "VeldmarkWindow"
//   win_probe message-box           the configure box's caption and text; then presses OK
//   win_probe preview PROGRAM [N]   plays the screensaver settings dialog: makes a parent
//                                   window, starts "PROGRAM /p HWND", finds the child, closes
//                                   the parent and reports the child's size, how many of its
//                                   edge pixels are black (a filled preview has none) and the
//                                   exit code
// Each prints what it saw and exits 0 when it saw what a correct program shows.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClass[] = L"VeldmarkWindow";
constexpr int kPreviewWidth = 152;    // the size of the preview monitor in the settings dialog
constexpr int kPreviewHeight = 112;
constexpr DWORD kPatienceMs = 20000;

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

template <class Find>
HWND WaitFor(Find find)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kPatienceMs) {
        if (HWND w = find()) return w;
        Pump();
        Sleep(50);
    }
    return nullptr;
}

int ClientSize()
{
    HWND w = WaitFor([] { return FindWindowW(kClass, nullptr); });
    if (!w) {
        std::printf("no window\n");
        return 1;
    }
    RECT r{};
    GetClientRect(w, &r);
    std::printf("client %ldx%ld\n", r.right, r.bottom);
    return 0;
}

int MessageBoxCheck()
{
    HWND box = WaitFor([] { return FindWindowW(L"#32770", L"Veldmark"); });
    if (!box) {
        std::printf("no message box\n");
        return 1;
    }
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 255);   // the box's static text control
    std::printf("caption Veldmark text %ls\n", text);
    const bool has_ok = GetDlgItem(box, IDOK) != nullptr;
    const bool has_cancel = GetDlgItem(box, IDCANCEL) != nullptr && GetDlgItem(box, IDCANCEL) != GetDlgItem(box, IDOK);
    std::printf("ok %d cancel %d\n", has_ok ? 1 : 0, has_cancel ? 1 : 0);
    const bool veldmark_window = FindWindowW(kClass, nullptr) != nullptr;
    std::printf("veldmark window %d\n", veldmark_window ? 1 : 0);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return std::wcscmp(text, L"Veldmark has no options to configure.") == 0 && has_ok && !veldmark_window ? 0 : 1;
}

LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

// The black pixels along the edges of a window's client area as the screen shows it; a pixel
// that cannot be read counts as black, so that a screen we cannot read never passes.
int BlackEdgePixels(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    int black = 0;
    const auto is_black = [&](int x, int y) {
        const COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
        return c == CLR_INVALID || (c & 0xFFFFFF) == 0;
    };
    for (int x = 0; x < client.right; ++x) black += is_black(x, 0) + is_black(x, client.bottom - 1);
    for (int y = 0; y < client.bottom; ++y) black += is_black(0, y) + is_black(client.right - 1, y);
    ReleaseDC(nullptr, screen);
    return black;
}

int Preview(const wchar_t* program)
{
    WNDCLASSW cls{};
    cls.lpfnWndProc = ParentProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    cls.lpszClassName = L"VeldmarkPreviewParent";
    RegisterClassW(&cls);
    RECT frame{0, 0, kPreviewWidth, kPreviewHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND parent = CreateWindowExW(0, cls.lpszClassName, L"Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  cls.hInstance, nullptr);
    RECT parent_client{};
    GetClientRect(parent, &parent_client);

    std::wstring command = L"\"" + std::wstring(program) + L"\" /p " +
                           std::to_wstring(reinterpret_cast<unsigned long long>(parent));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("cannot start the preview\n");
        return 1;
    }
    HWND child = WaitFor([&] { return FindWindowExW(parent, nullptr, kClass, nullptr); });
    RECT child_client{};
    if (child) GetClientRect(child, &child_client);
    std::printf("parent %ldx%ld child %s %ldx%ld\n", parent_client.right, parent_client.bottom,
                child ? "found" : "missing", child_client.right, child_client.bottom);

    // The settings dialog closes: the preview must notice and end by itself. It shows the preview
    // for a moment first: the child can be found while the preview's CreateWindowExW is still
    // running, and a parent destroyed then makes that creation fail (exit 1), a different case.
    const DWORD shown = GetTickCount();
    while (GetTickCount() - shown < 1500) {
        Pump();
        Sleep(50);
    }
    const int black_edge = child ? BlackEdgePixels(child) : -1;
    std::printf("black edge pixels %d\n", black_edge);
    DestroyWindow(parent);
    DWORD exit_code = 259;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kPatienceMs) {
        Pump();
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    GetExitCodeProcess(process.hProcess, &exit_code);
    std::printf("preview exit %lu\n", exit_code);
    if (exit_code == 259) TerminateProcess(process.hProcess, 3);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const bool sized = child && child_client.right == parent_client.right && child_client.bottom == parent_client.bottom;
    return sized && black_edge == 0 && exit_code == 0 ? 0 : 1;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    const std::wstring command = argv[1];
    if (command == L"client-size") return ClientSize();
    if (command == L"message-box") return MessageBoxCheck();
    if (command == L"preview" && argc >= 3) return Preview(argv[2]);
    return 2;
}
