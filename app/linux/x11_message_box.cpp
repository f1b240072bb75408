#include "app/linux/x11_message_box.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstring>

namespace veldmark {
namespace {

constexpr int kMargin = 24;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr unsigned long kFace = 0xF0F0F0;
constexpr unsigned long kInk = 0x000000;

struct Layout {
    int width;
    int height;
    XRectangle button;
};

void Draw(Display* d, Window w, GC gc, XFontStruct* font, const Layout& layout, const char* text)
{
    XClearWindow(d, w);
    const int line = font->ascent + font->descent;
    XDrawString(d, w, gc, kMargin, kMargin + font->ascent, text, static_cast<int>(std::strlen(text)));
    const XRectangle& b = layout.button;
    XDrawRectangle(d, w, gc, b.x, b.y, b.width, b.height);
    const int label_width = XTextWidth(font, "OK", 2);
    XDrawString(d, w, gc, b.x + (b.width - label_width) / 2, b.y + (b.height - line) / 2 + font->ascent, "OK", 2);
}

bool Inside(const XRectangle& r, int x, int y)
{
    return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

} // namespace

bool ShowX11MessageBox(const char* caption, const char* text)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d) return false;
    XFontStruct* font = XLoadQueryFont(d, "-*-helvetica-medium-r-normal--12-*-*-*-*-*-iso8859-1");
    if (!font) font = XLoadQueryFont(d, "fixed");
    if (!font) {
        XCloseDisplay(d);
        return false;
    }
    const int text_width = XTextWidth(font, text, static_cast<int>(std::strlen(text)));
    const int line = font->ascent + font->descent;
    Layout layout{};
    layout.width = std::max(text_width + 2 * kMargin, kButtonWidth + 2 * kMargin);
    layout.height = kMargin + line + kMargin + kButtonHeight + kMargin / 2;
    layout.button = {static_cast<short>((layout.width - kButtonWidth) / 2),
                     static_cast<short>(layout.height - kMargin / 2 - kButtonHeight),
                     static_cast<unsigned short>(kButtonWidth), static_cast<unsigned short>(kButtonHeight)};

    const int screen = DefaultScreen(d);
    const int x = (DisplayWidth(d, screen) - layout.width) / 2;
    const int y = (DisplayHeight(d, screen) - layout.height) / 2;
    const Window w = XCreateSimpleWindow(d, RootWindow(d, screen), x, y, static_cast<unsigned>(layout.width),
                                         static_cast<unsigned>(layout.height), 1, kInk, kFace);
    XStoreName(d, w, caption);
    XClassHint class_hint{const_cast<char*>("veldmark"), const_cast<char*>("Veldmark")};
    XSetClassHint(d, w, &class_hint);
    XSizeHints* size = XAllocSizeHints();
    if (size) {
        size->flags = PMinSize | PMaxSize | PPosition;
        size->min_width = size->max_width = layout.width;
        size->min_height = size->max_height = layout.height;
        size->x = x;
        size->y = y;
        XSetWMNormalHints(d, w, size);
        XFree(size);
    }
    Atom delete_window = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, w, &delete_window, 1);
    Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
    Atom dialog = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(d, w, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&dialog), 1);
    XSelectInput(d, w, ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
    GC gc = XCreateGC(d, w, 0, nullptr);
    XSetForeground(d, gc, kInk);
    XSetFont(d, gc, font->fid);
    XMapRaised(d, w);

    bool open = true;
    bool pressed_on_button = false;
    while (open) {
        XEvent e;
        XNextEvent(d, &e);
        switch (e.type) {
        case Expose:
            if (e.xexpose.count == 0) Draw(d, w, gc, font, layout, text);
            break;
        case MapNotify:
            XSetInputFocus(d, w, RevertToParent, CurrentTime);
            break;
        case KeyPress: {
            const KeySym key = XLookupKeysym(&e.xkey, 0);
            if (key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space) open = false;
            break;
        }
        case ButtonPress: pressed_on_button = Inside(layout.button, e.xbutton.x, e.xbutton.y); break;
        case ButtonRelease:
            if (pressed_on_button && Inside(layout.button, e.xbutton.x, e.xbutton.y)) open = false;
            pressed_on_button = false;
            break;
        case ClientMessage:
            if (static_cast<Atom>(e.xclient.data.l[0]) == delete_window) open = false;
            break;
        case DestroyNotify: open = false; break;
        default: break;
        }
    }
    XFreeGC(d, gc);
    XFreeFont(d, font);
    XDestroyWindow(d, w);
    XCloseDisplay(d);
    return true;
}

} // namespace veldmark
