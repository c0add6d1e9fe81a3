// The executable's entry point: main, or wWinMain in a Windows build.

#include "app/Startup.h"
#include "framework/gui/Application.h"
#include "framework/gui/Object.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

int Run(int argc, char** argv) {
  fw::RuntimeInit(argc, argv);
  fw::RuntimePerformInitializers(ProgramInitializers());
  Main();
  fw::RuntimePerformFinalizers();
  return fw::RuntimeExit();
}

}  // namespace

#ifdef _WIN32
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showMode) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)showMode;
  return Run(__argc, __argv);
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
