#include "app/Startup.h"

#include <exception>

#include "app/App.h"
#include "app/FileTypes.h"
#include "app/Menu.h"
#include "framework/gui/Application.h"
#include "resources/Version.h"
#include "ui/ControlWnd.h"
#include "ui/CreditLine.h"
#include "ui/SplashWnd.h"

namespace startup_testing {
void (*StepHook)(std::string_view step) = nullptr;
}  // namespace startup_testing

namespace {

struct StartupStep {
  std::string_view name;
  void (*run)();
};

void Perform(const StartupStep& step) {
  if (startup_testing::StepHook) startup_testing::StepHook(step.name);
  step.run();
}

// Runs a step inside the framework's failure handling; true when nothing escaped it. What
// escaped goes to the unhandled-failure report.
bool PerformHandled(const StartupStep& step) {
  std::exception_ptr failure = fw::CallFunctionWithExceptionHandling(
      [](void* arg) { Perform(*static_cast<const StartupStep*>(arg)); },
      const_cast<StartupStep*>(&step));
  if (!failure) return true;
  fw::UnhandledException(failure);
  return false;
}

}  // namespace

std::vector<std::function<void()>> ProgramInitializers() {
  return {
      FileTypes::ModuleInitializer, RegisterAppClass,        RegisterMenuClass,
      RegisterSplashWndClass,       RegisterControlWndClass,
  };
}

void Main() {
  static constexpr StartupStep steps[] = {
      {"RuntimeSetExceptionHelper",
       [] { fw::RuntimeSetExceptionHelper(fw::CallFunctionWithExceptionHandling); }},
      {"RuntimeSetCompiledRelease", [] { fw::RuntimeSetCompiledRelease(fw::kFrameworkRelease); }},
      {"EarlyStartup", EarlyStartup},
      {"RunFrameworkInitialization", [] { fw::RunFrameworkInitialization(LateStartup); }},
      {"RuntimeRun", fw::RuntimeRun},
  };
  for (const StartupStep& step : steps) {
    if (!PerformHandled(step)) return;
  }
}

void EarlyStartup() {
  static constexpr StartupStep steps[] = {
      {"SetSupportsHiDPI", [] { fw::Application::SetSupportsHiDPI(true); }},
      {"RuntimeInitExternalClasses", fw::RuntimeInitExternalClasses},
      {"InitPluginEntrypoints", fw::InitPluginEntrypoints},
      {"InitFileTypes", InitFileTypes},
      {"NewAppInstance", NewAppInstance},
      {"ApplicationAddMenuHandlers", ApplicationAddMenuHandlers},
  };
  for (const StartupStep& step : steps) Perform(step);
}

void InitFileTypes() { FileTypes::Initialize(); }

void NewAppInstance() {
  fw::Ref<class App> app = fw::RuntimeNewObject<class App>();
  app->Constructor();
  // Stage 3: a final release.
  app->x_SetVersionData(TESSIVAR_VERSION_MAJOR, TESSIVAR_VERSION_MINOR, TESSIVAR_VERSION_PATCH,
                        TESSIVAR_VERSION_TWEAK, 3, CreditLine, TESSIVAR_VERSION_SHORT, "Tessivar");
  app->MenuBar(Menu());
  fw::RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers() {}

void LateStartup() { MakeDefaultView(); }

void MakeDefaultView() { (void)SplashWnd(); }
