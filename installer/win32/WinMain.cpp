// The program's start-up: the platform prepared, then one run of the installation.
#include <windows.h>

#include "common/Failure.h"
#include "installer/MainFunctions.h"
#include "installer/win32/WinPlatform.h"
#include "payload/win32/ModuleResources.h"
#include "services/win32/WinServices.h"
#include "ui/win32/FrmMain.h"
#include "win32/AnsiCodePage.h"
#include "win32/Com.h"
#include "win32/SystemLibrary.h"

namespace {

using namespace quillfern;

Exit RunInstaller() {
    // The folder browser and the scripting object need a single-threaded apartment.
    const win32::ComApartment apartment;

    ui::FrmMain window;
    win32::WinDialogue dialogue(window);
    win32::MultimediaClock clock;
    win32::WindowEventPump pump;
    win32::WinShell shell;
    win32::SystemAnsiCodePage codePage;
    win32::ScriptingFolderQuery folders;
    win32::ModuleResources resources;
    win32::SafeFileOutput files;

    Platform platform{window, dialogue, clock, pump, shell, codePage, folders, resources, files};
    MainFunctions installer(platform);
    return installer.Main();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // First of all, before any DLL is loaded on demand.
    win32::RestrictDllSearchToSystemFolder();

    Exit exit = Exit::UnhandledFailure;
    try {
        exit = RunInstaller();
    } catch (const Failure& failure) {
        win32::ReportStartupFailure(failure.Message());
    } catch (const std::exception& failure) {
        const std::string_view what = failure.what();
        win32::ReportStartupFailure(std::wstring(what.begin(), what.end()));
    }
    // Program end is immediate: no window, file or apartment is torn down first.
    ::ExitProcess(static_cast<UINT>(ExitCode(exit)));
}
