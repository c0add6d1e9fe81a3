#pragma once
// From process start to the event loop: the program's initialisers and the start-up steps.

#include <functional>
#include <string_view>
#include <vector>

// The initialisers of the program's classes and module data, in the order they run.
std::vector<std::function<void()>> ProgramInitializers();

// Called with each start-up step's name just before the step runs (tests watch start-up through
// it); a hook that throws makes that step fail.
using StartupStepHook = std::function<void(std::string_view step)>;

// The start-up driver: each step in turn, up to and including the event loop. A failure that
// escapes a step goes to the unhandled-failure report and ends start-up there.
void Main(const StartupStepHook& beforeStep = {});
// High-DPI support, the framework's classes and plug-ins, the file type, the application object.
void EarlyStartup(const StartupStepHook& beforeStep = {});
void InitFileTypes();
// Creates the application object, gives it its version data and menu bar, and registers it.
void NewAppInstance();
// The application object registers no menu handlers.
void ApplicationAddMenuHandlers();
// Called back by the framework once its set-up is complete.
void LateStartup();
// Opens the splash window, the only window at start.
void MakeDefaultView();
