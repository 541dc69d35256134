// The one way the program loads a DLL at run time: from the system folder only,
// so a DLL planted beside the installer (say, in a downloads folder) is never used.
#pragma once

#include <windows.h>

#include "win32/Handles.h"

namespace quillfern::win32 {

// Removes the application's folder and the current folder from the search
// path of every later load, including the loads DLLs make for themselves.
void RestrictDllSearchToSystemFolder();

// Loads a DLL from the system folder; throws Failure when it is not there.
UniqueModule LoadSystemLibrary(const wchar_t* name);

// Finds an export; throws Failure when the DLL lacks it.
FARPROC FindExport(HMODULE module, const char* name);

template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(FindExport(module, name)));
}

}  // namespace quillfern::win32
