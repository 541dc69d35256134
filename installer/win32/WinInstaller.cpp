#include "installer/win32/WinInstaller.h"

#include "installer/MainFunctions.h"
#include "installer/win32/WinPlatform.h"
#include "payload/win32/ModuleResources.h"
#include "services/win32/WinServices.h"
#include "ui/win32/FrmMain.h"
#include "win32/AnsiCodePage.h"
#include "win32/Com.h"

namespace quillfern::win32 {

Exit RunWinInstaller(const PlatformDecorator& decorate) {
    // The folder browser and the scripting object need a single-threaded apartment.
    const ComApartment apartment;

    ui::FrmMain window;
    WinDialogue dialogue(window);
    MultimediaClock clock;
    WindowEventPump pump;
    WinShell shell;
    SystemAnsiCodePage codePage;
    ScriptingFolderQuery folders;
    ModuleResources resources;
    SafeFileOutput files;
    ImmediateProgramEnd end;

    const Platform real{window, dialogue, clock, pump, shell, codePage, folders, resources, files, end};
    Platform platform = decorate ? decorate(real) : real;
    MainFunctions installer(platform);
    return installer.Main();
}

}  // namespace quillfern::win32
