// Start-up: the order of its steps, the file type, the application object with its version data
// and menu bar, the splash window as the only window, and a failing step ending start-up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "app/Accessors.h"
#include "app/App.h"
#include "app/FileTypes.h"
#include "app/Menu.h"
#include "app/Startup.h"
#include "framework/gui/Application.h"
#include "framework/gui/Testing.h"
#include "tests/ui/ProgramFixture.h"
#include "ui/CreditLine.h"
#include "ui/SplashWnd.h"

namespace {

std::vector<std::string> steps;
std::string failAt;
std::function<void(std::string_view)> onStep;

void RecordStep(std::string_view step) {
  steps.emplace_back(step);
  if (onStep) onStep(step);
  if (step == failAt) throw fw::RuntimeException("injected start-up failure");
  // Ends the event loop as soon as it runs, as a user quitting at once would.
  if (step == "_RuntimeRun") QTimer::singleShot(0, [] { fw::Quit(0); });
}

int VisibleTopLevelWindows() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) n += w->isVisible() ? 1 : 0;
  return n;
}

class StartupTest : public ProgramTest {
 protected:
  void SetUp() override {
    steps.clear();
    failAt.clear();
    onStep = nullptr;
    ProgramTest::SetUp();
  }
  void TearDown() override {
    onStep = nullptr;
    ProgramTest::TearDown();
  }
  // What the entry point does after the initialisers.
  static int RunMain() {
    Main(RecordStep);
    fw::RuntimePerformFinalizers();
    return fw::RuntimeExit();
  }
};

const std::vector<std::string> kAllSteps = {
    "_RuntimeSetExceptionHelper",     "RuntimeSetCompiledRelease",   "_EarlyStartup",
    "Application._SetSupportsHiDPI",  "_RuntimeInitExternalClasses", "_InitPluginEntrypoints",
    "_InitFileTypes",                 "_NewAppInstance",             "_ApplicationAddMenuHandlers",
    "_RunFrameworkInitialization",    "_RuntimeRun",
};

TEST_F(StartupTest, RunsItsStepsInOrderAndOpensOnlyTheSplashWindow) {
  onStep = [](std::string_view step) {
    SCOPED_TRACE(std::string(step));
    if (step == "_InitFileTypes") {
      EXPECT_TRUE(FileTypes::pAllFileTypes.empty());
      EXPECT_TRUE(FileTypes::pText.IsNil());
    }
    if (step == "_NewAppInstance") {
      EXPECT_EQ(fw::RegisteredFileTypes().size(), 1u) << "file type first";
      EXPECT_TRUE(fw::GetAppObject().IsNil());
    }
    if (step == "_ApplicationAddMenuHandlers") {
      ASSERT_FALSE(App().IsNil());
      EXPECT_EQ(App()->MenuBar(), fw::Ref<fw::MenuBar>(Menu()));
    }
    if (step == "_RunFrameworkInitialization") {
      EXPECT_EQ(VisibleTopLevelWindows(), 0);
    }
    if (step == "_RuntimeRun") {
      EXPECT_FALSE(fw::GetImplicitWindow(SplashWnd::kClassName).IsNil());
      EXPECT_TRUE(fw::GetImplicitWindow("ControlWnd.ControlWnd").IsNil())
          << "the main window waits for the splash window";
      EXPECT_TRUE(SplashWnd()->IsVisible());
      EXPECT_EQ(VisibleTopLevelWindows(), 1);
    }
  };
  EXPECT_EQ(RunMain(), 0);
  EXPECT_EQ(steps, kAllSteps);
  EXPECT_TRUE(fw::testing::Messages().empty());
}

TEST_F(StartupTest, RegistersTheOneFileType) {
  RunMain();
  ASSERT_EQ(FileTypes::pAllFileTypes.size(), 1u);
  fw::Ref<fw::FileType> text = FileTypes::Text();
  EXPECT_EQ(FileTypes::pAllFileTypes[0], text);
  EXPECT_EQ(FileTypes::Text(), text);
  EXPECT_EQ(text->Name, "text");
  EXPECT_EQ(text->Extensions, "");
  EXPECT_EQ(text->MacType, "TEXT");
  EXPECT_EQ(text->MacCreator, "Tsvr");
  EXPECT_EQ(text->MimeType, "");
  EXPECT_TRUE(text->Imported);
  EXPECT_EQ(text->ConformsTo, "");
  EXPECT_EQ(text->UTI, "");
  std::vector<fw::Ref<fw::FileType>> registered = fw::RegisteredFileTypes();
  ASSERT_EQ(registered.size(), 1u);
  EXPECT_EQ(registered[0], text);
}

TEST_F(StartupTest, GivesTheApplicationItsVersionDataAndMenuBar) {
  RunMain();
  fw::Ref<class App> app = App();
  ASSERT_FALSE(app.IsNil());
  EXPECT_EQ(App(), app);
  EXPECT_EQ(app->ClassName(), "App");
  const fw::VersionData& v = app->Version();
  EXPECT_EQ(v.majorVersion, 3);
  EXPECT_EQ(v.minorVersion, 0);
  EXPECT_EQ(v.bugVersion, 0);
  EXPECT_EQ(v.nonReleaseVersion, 0);
  EXPECT_EQ(v.stageCode, 3);
  EXPECT_EQ(v.longVersion, CreditLine);
  EXPECT_EQ(v.shortVersion, "3.0");
  EXPECT_EQ(v.packageInfo, "Tessivar");

  fw::Ref<fw::AppleMenuItem> about = AboutTessivar();
  ASSERT_FALSE(about.IsNil());
  EXPECT_EQ(about->Name(), "AboutTessivar");
  EXPECT_EQ(fw::Ref<fw::MenuItem>(about), Menu()->Child("UntitledMenu0")->Item(7));
}

TEST_F(StartupTest, AnsweringEventQueriesTheApplicationImplementsNone) {
  RunMain();
  for (const char* event : {"Open", "Close", "UnhandledException", "Activate"}) {
    EXPECT_FALSE(App()->IsEventImplemented(event)) << event;
  }
}

TEST_F(StartupTest, AboutItemNeedsAnApplicationObject) {
  EXPECT_THROW(AboutTessivar(), fw::NilObjectException);
}

// A step that fails ends start-up: no later step, no window, no event loop, a report of the
// failure and a non-zero exit code.
TEST_F(StartupTest, AFailingStepEndsStartUpWithoutAWindow) {
  for (const char* step : {"_RuntimeSetExceptionHelper", "RuntimeSetCompiledRelease", "Application._SetSupportsHiDPI",
                           "_InitPluginEntrypoints", "_InitFileTypes", "_NewAppInstance",
                           "_ApplicationAddMenuHandlers", "_RunFrameworkInitialization"}) {
    SCOPED_TRACE(step);
    SetUp();
    failAt = step;
    EXPECT_NE(RunMain(), 0);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), step);
    EXPECT_EQ(fw::testing::Messages().size(), 1u);
    EXPECT_TRUE(fw::GetImplicitWindow(SplashWnd::kClassName).IsNil());
    EXPECT_EQ(VisibleTopLevelWindows(), 0);
  }
}

}  // namespace
