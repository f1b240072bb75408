#pragma once
// A small message box in plain Xlib: a caption, one line of text and an OK button. It does not
// depend on a toolkit or a helper program being installed (SDL's box on this platform does).
namespace veldmark {

// Shows the box and returns once it is dismissed (OK, Return, Escape, space or the close box).
// Returns false, showing nothing, when there is no X display.
bool ShowX11MessageBox(const char* caption, const char* text);

} // namespace veldmark
