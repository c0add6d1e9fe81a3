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

namespace {

struct StartupStep {
  std::string_view name;
  std::function<void()> run;
};

void Perform(const StartupStep& step, const StartupStepHook& beforeStep) {
  if (beforeStep) beforeStep(step.name);
  step.run();
}

// Runs a step inside the framework's failure handling; true when nothing escaped it. What
// escaped goes to the unhandled-failure report.
bool PerformHandled(const StartupStep& step, const StartupStepHook& beforeStep) {
  struct Call {
    const StartupStep& step;
    const StartupStepHook& beforeStep;
  } call{step, beforeStep};
  std::exception_ptr failure = fw::CallFunctionWithExceptionHandling(
      [](void* arg) {
        const Call& c = *static_cast<Call*>(arg);
        Perform(c.step, c.beforeStep);
      },
      &call);
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

void Main(const StartupStepHook& beforeStep) {
  const StartupStep steps[] = {
      {"_RuntimeSetExceptionHelper",
       [] { fw::RuntimeSetExceptionHelper(fw::CallFunctionWithExceptionHandling); }},
      {"RuntimeSetCompiledRelease", [] { fw::RuntimeSetCompiledRelease(fw::kFrameworkRelease); }},
      {"_EarlyStartup", [&beforeStep] { EarlyStartup(beforeStep); }},
      {"_RunFrameworkInitialization", [] { fw::RunFrameworkInitialization(LateStartup); }},
      {"_RuntimeRun", fw::RuntimeRun},
  };
  for (const StartupStep& step : steps) {
    if (!PerformHandled(step, beforeStep)) return;
  }
}

void EarlyStartup(const StartupStepHook& beforeStep) {
  const StartupStep steps[] = {
      {"Application._SetSupportsHiDPI", [] { fw::Application::SetSupportsHiDPI(true); }},
      {"_RuntimeInitExternalClasses", fw::RuntimeInitExternalClasses},
      {"_InitPluginEntrypoints", fw::InitPluginEntrypoints},
      {"_InitFileTypes", InitFileTypes},
      {"_NewAppInstance", NewAppInstance},
      {"_ApplicationAddMenuHandlers", ApplicationAddMenuHandlers},
  };
  for (const StartupStep& step : steps) Perform(step, beforeStep);
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
