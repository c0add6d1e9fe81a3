#pragma once
// The application object, start-up and the event loop, quitting, and the report of failures
// that nothing caught. No C++ exception ever crosses into Qt: every call into program code goes
// through the exception helper, and what escapes it goes to UnhandledException.

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/gui/Menus.h"
#include "framework/gui/Object.h"

namespace fw {

// The framework release that this layer implements.
inline constexpr double kFrameworkRelease = 2024.0;

struct VersionData {
  std::int64_t majorVersion = 0, minorVersion = 0, bugVersion = 0, nonReleaseVersion = 0,
               stageCode = 0;
  std::string longVersion, shortVersion, packageInfo;
};

class Application : public Object {
 public:
  static constexpr std::string_view kClassName = "Application";
  Application();
  ~Application() override;
  std::string_view ClassName() const override;
  virtual const ClassDecl& Declaration() const = 0;

  void x_SetVersionData(std::int64_t majorVersion, std::int64_t minorVersion,
                        std::int64_t bugVersion, std::int64_t nonReleaseVersion,
                        std::int64_t stageCode, std::string_view longVersion,
                        std::string_view shortVersion, std::string_view packageInfo);
  const VersionData& Version() const;
  Ref<fw::MenuBar> MenuBar() const;
  void MenuBar(const Ref<fw::MenuBar>& bar);
  static void SetSupportsHiDPI(bool on);

 private:
  VersionData version_;
  Ref<fw::MenuBar> menuBar_;
};

// Calls fn(arg) inside the framework's failure handling; the exception that escaped, or none.
using ExceptionHelper = std::exception_ptr (*)(void (*fn)(void*), void* arg);
std::exception_ptr CallFunctionWithExceptionHandling(void (*fn)(void*), void* arg);

// Start and end, in the order start-up calls them.
void RuntimeInit(int argc, char** argv);
void RuntimeSetExceptionHelper(ExceptionHelper helper);
void RuntimeSetCompiledRelease(double release);
void RuntimeInitExternalClasses();
void InitPluginEntrypoints();
void RuntimeRegisterAppObject(const Ref<Application>& app);
Ref<Application> GetAppObject();
// Completes the framework's set-up and calls lateStartup back once, before the user can act.
void RunFrameworkInitialization(void (*lateStartup)());
// The event loop; returns when the application quits.
void RuntimeRun();
// Ends the event loop with the exit code. Inside a running calculation it unwinds that
// calculation through the framework; no further program code runs.
void Quit(int exitCode = 0);
// The process exit code: the one given to Quit, or non-zero after an unhandled failure.
int RuntimeExit();

// Reports a failure that nothing caught: a modal message naming its class; the application
// then ends with a non-zero exit code.
void UnhandledException(std::exception_ptr failure);

// A file type that the application knows.
class FileType : public Object {
 public:
  static constexpr std::string_view kClassName = "FileType";
  std::string_view ClassName() const override { return kClassName; }
  std::string Name, Extensions, MacType, MacCreator, MimeType, ConformsTo, UTI;
  bool Imported = false;
  // The type's name; the first conversion registers the type with the framework.
  std::string Operator_Convert();
};
// The file types registered so far, in order.
std::vector<Ref<FileType>> RegisteredFileTypes();

}  // namespace fw
