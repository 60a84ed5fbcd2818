#include "installer/win32/Startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return RunInstaller(instance); }
