#include "framework/gui/Testing.h"

#include <QCoreApplication>
#include <QEvent>
#include <QAction>
#include <QMenuBar>
#include <QWidget>

#include "framework/gui/ControlImpl.h"
#include "framework/gui/Runtime.h"
#include "framework/gui/TestingQt.h"
#include "framework/gui/WindowImpl.h"

namespace fw::testing {

using detail::R;

void RecordDialogs(bool on) { R().recordDialogs = on; }
const std::vector<std::string>& Messages() { return R().messages; }
int BeepCount() { return R().beeps; }

void ClearRecords() {
  R().messages.clear();
  R().beeps = 0;
  R().printerDialogs = 0;
}

void OnMessage(std::function<void(const std::string& message)> hook) { R().onMessage = std::move(hook); }
void AnswerPrinterDialog(std::optional<std::string> pdfPath) { R().printerAnswer = std::move(pdfPath); }
int PrinterDialogCount() { return R().printerDialogs; }
std::vector<std::pair<int, std::string>> BoundEvents(const Ref<Object>& source) {
  const std::map<int, Delegate>* handlers = source ? detail::HandlersOf(*source, nullptr) : nullptr;
  std::vector<std::pair<int, std::string>> bound;
  if (handlers) {
    for (const auto& [number, delegate] : *handlers) bound.emplace_back(number, delegate.Signature());
  }
  return bound;
}

void FixClock(std::optional<std::chrono::system_clock::time_point> now) { R().fixedClock = now; }

void ResetFramework() {
  detail::Runtime& r = R();
  // No program code runs while the windows go (hiding one moves the focus, for instance).
  r.quitPending = true;
  auto windows = std::move(r.windows);
  r.windows.clear();
  for (auto& [name, window] : windows) {
    if (window) window->Hide();
  }
  windows.clear();
  r.appObject = Ref<Application>();
  r.classes.clear();
  r.fileTypes.clear();
  r.lastActiveWindow = nullptr;
  r.yieldedInHandler = false;
  r.returningFromMessage = nullptr;
  r.helper = nullptr;
  r.frameworkInitialized = false;
  r.failed = false;
  r.exitCode = 0;
  r.recordDialogs = false;
  r.onMessage = nullptr;
  r.printerAnswer.reset();
  r.fixedClock.reset();
  ClearRecords();
  if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  r.quitPending = false;
}

QWidget* WidgetOf(const Ref<Object>& control) {
  if (auto* c = dynamic_cast<Control*>(control.Get())) return c->impl().widget;
  return nullptr;
}

QWidget* TopLevelOf(const Window& window) { return window.impl().top; }
QWidget* ClientOf(const Window& window) { return window.impl().client; }
QMenuBar* MenuBarOf(const Window& window) { return window.impl().menuBar; }

QAction* ActionOf(const Ref<MenuItem>& item) {
  namespace d = fw::detail;
  return item ? d::ActionOf(*item) : nullptr;
}

bool QuitPending() { return R().quitPending; }

}  // namespace fw::testing
