#pragma once
// Why the program could not start. The name is what the user is told; the exit code is 1.
namespace veldmark {

enum class StartupFailure {
    None,
    RegisterClass,   // the window class could not be registered
    CreateWindow,    // no window (or no preview parent, or no display)
    NoDC,            // the window gave no device context (or renderer)
    NoMemDC,         // the off-screen presentation surface could not be made
    OutOfMemory,     // no memory to start a render thread
    Unexpected,      // a render thread could not be started
};

inline constexpr int kExitNormal = 0;
inline constexpr int kExitStartupFailure = 1;

inline const char* StartupFailureName(StartupFailure failure)
{
    switch (failure) {
    case StartupFailure::None: return "None";
    case StartupFailure::RegisterClass: return "RegisterClass";
    case StartupFailure::CreateWindow: return "CreateWindow";
    case StartupFailure::NoDC: return "NoDC";
    case StartupFailure::NoMemDC: return "NoMemDC";
    case StartupFailure::OutOfMemory: return "OutOfMemory";
    case StartupFailure::Unexpected: return "Unexpected";
    }
    return "Unexpected";
}

inline int ExitCodeOf(StartupFailure failure)
{
    return failure == StartupFailure::None ? kExitNormal : kExitStartupFailure;
}

} // namespace veldmark
