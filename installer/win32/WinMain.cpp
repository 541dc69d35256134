// The program's start-up: the platform prepared, then one run of the installation.
#include <windows.h>

#include "common/Failure.h"
#include "installer/win32/WinInstaller.h"
#include "installer/win32/WinPlatform.h"
#include "win32/AnsiCodePage.h"
#include "win32/ProcessPolicy.h"
#include "win32/SystemLibrary.h"

using namespace quillfern;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // First of all, before any DLL is loaded on demand or any file opened.
    win32::RestrictDllSearchToSystemFolder();
    win32::EnforceRedirectionTrust();

    Exit exit = Exit::UnhandledFailure;
    try {
        exit = win32::RunWinInstaller();
    } catch (const Failure& failure) {
        win32::ReportStartupFailure(failure.Message());
    } catch (const std::exception& failure) {
        win32::ReportStartupFailure(win32::SystemAnsiCodePage().FromAnsi(failure.what()));
    }
    // Reached only when the run could not start: the sequence ends the process itself.
    ::ExitProcess(static_cast<UINT>(ExitCode(exit)));
}
