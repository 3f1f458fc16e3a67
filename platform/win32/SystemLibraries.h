#pragma once

// Safe loading of DLLs for the Windows program. Both functions work on every
// Windows from 95 on: what newer systems offer is looked up at run time.

// Call first in WinMain: restricts later LoadLibrary searches so that a DLL planted
// in the current or the program's folder is not picked up
// (SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) where it exists, else
// SetDllDirectoryA(""), else nothing).
void narrowDllSearchPath();

// Loads comctl32.dll from the system directory and registers its window classes
// (InitCommonControlsEx, or InitCommonControls where the former is missing).
// False, with the last error set, when neither can be called.
bool loadCommonControls();
