#pragma once

#include <windows.h>

namespace pal4::win32 {

// A function of a Windows system library that the tool needs only when the user asks for it
// (the colour dialog, opening a web page). Loading the library on first use keeps it, and all
// it pulls in (shell32 alone brings ole32 and rpcrt4, a few megabytes), out of every run that
// never needs it. The library is taken from the system folder only, never from beside the exe,
// and stays loaded until the process ends. Null when the library or the function is missing.
FARPROC systemProcedure(const wchar_t* library, const char* name);

template <typename Function> Function systemFunction(const wchar_t* library, const char* name) {
    // void(*)() is the one function type that converts to and from every other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(systemProcedure(library, name)));
}

} // namespace pal4::win32
