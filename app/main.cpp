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
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The program reads no arguments, and Qt is given only the name, as elsewhere.
  static char programName[] = "Tessivar";
  static char* argv[] = {programName, nullptr};
  return Run(1, argv);
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
