// pelagor.exe: the converter dialog, and nothing else, for as long as it is open.

#include "app/win32/WindowsApi.h"

#include "app/win32/ConverterWindow.h"

int WINAPI wWinMain(HINSTANCE module, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
    const pelagor::app::RegistryProfile profile;
    pelagor::app::ConverterSession session(profile, pelagor::app::LoadAppIcons(module));
    session.startSource = pelagor::app::StartSource(::GetCommandLineW());
    // A successful conversion and a closed dialog end the same way.
    pelagor::app::RunConverterWindow(module, session);
    return 0;
}
