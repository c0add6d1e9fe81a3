#pragma once
// A window class for framework tests: it implements the events its declaration lists and
// records what it receives. Handlers bound to controls are plain lambdas.

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "framework/gui/Application.h"
#include "framework/gui/Controls.h"
#include "framework/gui/Events.h"
#include "framework/gui/Testing.h"
#include "framework/gui/TestingQt.h"
#include "framework/gui/Window.h"

namespace guitest {

inline fw::ClassDecl Declared(std::vector<std::string> events, std::string name = "TestWnd.TestWnd") {
  fw::ClassDecl decl;
  decl.className = std::move(name);
  decl.baseClass = "Window";
  decl.events = std::move(events);
  return decl;
}

inline const fw::ClassDecl& AllEvents() {
  static const fw::ClassDecl decl = Declared({"Layout", "CreateControls", "AddMenuHandlers", "Open", "Close",
                                              "Activate", "EnableMenuItems", "KeyDown", "MouseDown"});
  return decl;
}

class TestWnd : public fw::Window {
 public:
  explicit TestWnd(const fw::ClassDecl* decl = &AllEvents()) : decl_(decl) {}
  const fw::ClassDecl& Declaration() const override { return *decl_; }

  std::vector<std::string> log;
  std::function<void(TestWnd&)> layout, createControls, onClose, onEnableMenuItems;
  bool swallowKeys = false;

  void Layout() override {
    log.push_back("Layout");
    if (layout) layout(*this);
  }
  void CreateControls() override {
    log.push_back("CreateControls");
    if (createControls) createControls(*this);
  }
  void AddMenuHandlers(fw::Ref<fw::Window> w) override {
    log.push_back(w.Get() == this ? "AddMenuHandlers" : "AddMenuHandlers(other)");
  }
  void Event_Open() override { log.push_back("Open"); }
  void Event_Close() override {
    log.push_back("Close");
    if (onClose) onClose(*this);
  }
  void Event_Activate() override { log.push_back("Activate"); }
  void Event_EnableMenuItems() override {
    log.push_back("EnableMenuItems");
    if (onEnableMenuItems) onEnableMenuItems(*this);
  }
  bool Event_KeyDown(const std::string& key) override {
    log.push_back("KeyDown " + key);
    return swallowKeys;
  }
  bool Event_MouseDown(std::int64_t x, std::int64_t y) override {
    log.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
    return false;
  }

  // Makes, constructs and adds a control, as the program's control creation does.
  template <class C>
  fw::Ref<C> Add(const std::string& name) {
    fw::Ref<C> c = New<C>();
    if constexpr (std::is_base_of_v<fw::RectControl, C>) c->Constructor();
    AddControl(name, c);
    return c;
  }

 private:
  const fw::ClassDecl* decl_;
};

// The implicit instance of the test window, built on the first call.
inline fw::Ref<TestWnd> Instance(const std::function<void(TestWnd&)>& setUp = {},
                                 const fw::ClassDecl* decl = &AllEvents()) {
  if (fw::Ref<fw::Window> w = fw::GetImplicitWindow(decl->className)) return fw::RuntimeCheckCast<TestWnd>(w);
  fw::Ref<TestWnd> w = fw::RuntimeNewObject<TestWnd>(decl);
  if (setUp) setUp(*w);
  w->Constructor();
  return w;
}

// A handler of the given signature that records "<tag>" and answers `result`.
inline fw::Delegate Recorder(std::vector<std::string>& log, std::string tag, std::string signature,
                             bool result = false) {
  return fw::Delegate(
      [&log, tag, result](const fw::Ref<fw::Object>& sender, const fw::EventArgs& a) {
        std::string entry = tag;
        if (auto* c = dynamic_cast<fw::Control*>(sender.Get())) entry += " " + c->Name();
        if (!a.key.empty() || tag.find("Key") != std::string::npos) entry += " [" + a.key + "]";
        if (tag.find("Mouse") == 0 && (tag == "MouseDown" || tag == "MouseUp")) {
          entry += " " + std::to_string(a.x) + "," + std::to_string(a.y);
        }
        log.push_back(entry);
        return result;
      },
      std::move(signature));
}

inline void Settle(int ms = 0) {
  QApplication::processEvents();
  if (ms > 0) QTest::qWait(ms);
  QApplication::processEvents();
}

// Runs one test of this executable in a process of its own, whose application object is made
// from those arguments and environment (a scale factor, say, is fixed before it exists); tells
// whether that test passed, with the child's output when it did not.
inline ::testing::AssertionResult PassesAlone(const QString& test, const QStringList& arguments = {},
                                              const QProcessEnvironment& environment =
                                                  QProcessEnvironment::systemEnvironment()) {
  QProcess child;
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), QStringList{"--gtest_filter=" + test} + arguments);
  if (!child.waitForFinished(120000)) return ::testing::AssertionFailure() << "the child process did not end";
  const QString output = QString::fromLocal8Bit(child.readAll());
  if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 ||
      !output.contains("[  PASSED  ] 1 test")) {
    return ::testing::AssertionFailure() << output.toStdString();
  }
  return ::testing::AssertionSuccess();
}

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::testing::ResetFramework();
    fw::testing::RecordDialogs(true);
  }
  void TearDown() override { fw::testing::ResetFramework(); }
};

}  // namespace guitest
