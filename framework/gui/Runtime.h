#pragma once
// The framework's private state and the event boundary. Only framework/gui includes this.

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "framework/gui/Application.h"
#include "framework/gui/Window.h"

class QDialog;
class QWidget;

namespace fw::detail {

// Thrown after Quit from framework calls that return into program code (the yield above all),
// so that a running calculation unwinds to our event boundary. Deliberately not a
// std::exception: the program catches nothing, and our boundary swallows it.
struct QuitUnwind {};

// The file of that bare name in the first of the platform's data folders that holds it; empty
// when there is none.
QString ResourceFilePath(const QString& name);

struct Runtime {
  ExceptionHelper helper = nullptr;
  bool frameworkInitialized = false;

  Ref<Application> appObject;
  std::vector<const ClassDecl*> classes;  // the program's declarations, which are static
  std::vector<Ref<FileType>> fileTypes;
  // Implicit window instances in the order they were built.
  std::vector<std::pair<std::string, Ref<Window>>> windows;
  QPointer<QWidget> lastActiveWindow;
  // The window that a message box of ours was over: its return to the front when the box closes
  // is not a new activation, so the program's focus choice stands.
  QPointer<QWidget> returningFromMessage;

  bool quitPending = false;
  bool failed = false;
  int exitCode = 0;
  int boundaryDepth = 0;
  std::uint64_t handlerCalls = 0;  // outermost calls into program code so far: one per event
  int loopDepth = 0;  // event loops of ours running (the main one, modal dialogs)
  bool inYield = false;
  bool yieldedInHandler = false;  // input arrived meanwhile is dropped when the handler ends
  bool droppingInput = false;     // busy: only the ways to quit take input
};

Runtime& R();

// Runs program code called from Qt: a failure goes to UnhandledException, the quit unwind is
// swallowed, and nothing runs once a quit is pending.
void AtBoundary(const std::function<void()>& programCode) noexcept;
// Ends the running event loops (when there are any) with the exit code.
void ExitLoops(int code);
// Runs a modal dialog's event loop; counted so that Quit can end it.
int ExecModal(QDialog& dialog);
// Raises the quit unwind when a quit is pending and program code is running below us.
void UnwindIfQuitting();
// Whether the window's class declares that it implements the event.
bool Implements(const Window& window, std::string_view eventName);
// The program window whose top-level widget this is, or null.
Window* WindowOfWidget(const QWidget* topLevel);
// The active program window, or the one that was active last.
Window* ActiveWindow();
// The application's menu bar changed: every window rebuilds its copy.
void RebuildMenuBars();
// Runs the menu enabling pass for the window (null: the active one).
void UpdateMenus(Window* window);
// Shows a plain modal message box through the platform services; no unwinding.
void ShowMessageBox(const std::string& message);
std::string ApplicationTitle();

std::string ToUtf8(const QString& text);
QString FromUtf8(std::string_view text);

// A message that Qt gave while the application object was being made.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};
// Why Qt could not start, in one line for the user, from the messages held before its fatal one
// and the DISPLAY variable.
QString StartupFailure(const std::vector<HeldMessage>& held, const QString& fatal, const QByteArray& display);

}  // namespace fw::detail
