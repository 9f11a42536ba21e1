// pelagor.exe: the converter dialog, and nothing else, for as long as it is open.

#include "app/win32/ConverterWindow.h"
#include "app/win32/WindowsApi.h"

// The command line is read whole, as CommandLineToArgvW splits it, not from lpCmdLine.
int WINAPI wWinMain(HINSTANCE hInstance, [[maybe_unused]] HINSTANCE hPrevInstance,
                    [[maybe_unused]] LPWSTR lpCmdLine, [[maybe_unused]] int nShowCmd) {
    const pelagor::app::RegistryProfile profile;
    pelagor::app::ConverterSession session(profile, pelagor::app::LoadAppIcons(hInstance));
    session.startSource = pelagor::app::StartSource(::GetCommandLineW());
    // A successful conversion and a closed dialog end the same way.
    pelagor::app::RunConverterWindow(hInstance, session);
    return 0;
}
