#include "framework/gui/Testing.h"

#include <QCoreApplication>
#include <QEvent>
#include <QAction>
#include <QMenuBar>
#include <QPrinter>
#include <QWidget>

#include "framework/gui/ControlImpl.h"
#include "framework/gui/Platform.h"
#include "framework/gui/Runtime.h"
#include "framework/gui/TestingQt.h"
#include "framework/gui/WindowImpl.h"

namespace fw::testing {

using detail::R;

namespace {

// Qt's services unless a test asked for a recording, an answer, a clock or folders of its own.
class TestPlatform : public QtPlatformServices {
 public:
  bool record = false;
  std::vector<std::string> messages;
  int beeps = 0;
  int printerDialogs = 0;
  std::function<void(const std::string&)> onMessage;
  std::optional<std::string> printerAnswer;
  std::optional<std::chrono::system_clock::time_point> clock;
  std::optional<std::vector<std::string>> folders;

  void ShowMessage(const std::string& text) override {
    if (!record) return QtPlatformServices::ShowMessage(text);
    messages.push_back(text);
    if (onMessage) onMessage(text);
  }

  void Beep() override {
    ++beeps;
    if (!record) QtPlatformServices::Beep();
  }

  bool ChoosePrinter(QPrinter& printer) override {
    ++printerDialogs;
    if (!record) return QtPlatformServices::ChoosePrinter(printer);
    if (!printerAnswer) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(detail::FromUtf8(*printerAnswer));
    return true;
  }

  std::chrono::system_clock::time_point Now() override { return clock ? *clock : QtPlatformServices::Now(); }

  std::vector<std::string> DataFolders() override {
    if (folders) return *folders;
    std::vector<std::string> all = QtPlatformServices::DataFolders();
    all.emplace_back(TESSIVAR_BUILD_RESOURCE_DIR);
    return all;
  }
};

TestPlatform& Test() {
  static TestPlatform* platform = new TestPlatform;  // used up to the very end of the process
  SetPlatform(platform);
  return *platform;
}

}  // namespace

void UseTestPlatform() { (void)Test(); }
void RecordDialogs(bool on) { Test().record = on; }
const std::vector<std::string>& Messages() { return Test().messages; }
int BeepCount() { return Test().beeps; }

void ClearRecords() {
  TestPlatform& t = Test();
  t.messages.clear();
  t.beeps = 0;
  t.printerDialogs = 0;
}

void OnMessage(std::function<void(const std::string& message)> hook) { Test().onMessage = std::move(hook); }
void AnswerPrinterDialog(std::optional<std::string> pdfPath) { Test().printerAnswer = std::move(pdfPath); }
int PrinterDialogCount() { return Test().printerDialogs; }
void FixClock(std::optional<std::chrono::system_clock::time_point> now) { Test().clock = now; }
void SetDataFolders(std::optional<std::vector<std::string>> folders) { Test().folders = std::move(folders); }

std::vector<std::pair<int, std::string>> BoundEvents(const Ref<Object>& source) {
  const std::map<int, Delegate>* handlers = source ? detail::HandlersOf(*source, nullptr) : nullptr;
  std::vector<std::pair<int, std::string>> bound;
  if (handlers) {
    for (const auto& [number, delegate] : *handlers) bound.emplace_back(number, delegate.Signature());
  }
  return bound;
}

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
  TestPlatform& t = Test();
  t.record = false;
  t.onMessage = nullptr;
  t.printerAnswer.reset();
  t.clock.reset();
  t.folders.reset();
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

Ref<Graphics> PageOn(std::unique_ptr<QPrinter> printer) { return detail::PageOn(std::move(printer)); }

QPoint PlacedTopLeft(const QRect& available, const QSize& frame) { return detail::PlacedTopLeft(available, frame); }

bool QuitPending() { return R().quitPending; }

}  // namespace fw::testing
