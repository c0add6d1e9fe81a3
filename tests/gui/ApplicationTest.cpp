// The application: start-up call-back, quitting, failures nobody caught, and the yield point.
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

#include "GuiTestSupport.h"
#include "framework/core/BackgroundTask.h"
#include "framework/core/Exceptions.h"
#include "framework/core/PropertyString.h"
#include "framework/gui/Dialogs.h"
#include "framework/gui/Runtime.h"

namespace {

using namespace guitest;

class ApplicationTest : public GuiTest {};

int lateStartups = 0;

TEST_F(ApplicationTest, StartUpCallsBackOnceAndQuitEndsTheLoopWithItsCode) {
  lateStartups = 0;
  fw::RunFrameworkInitialization([] { ++lateStartups; });
  fw::RunFrameworkInitialization([] { ++lateStartups; });
  EXPECT_EQ(lateStartups, 1);

  fw::Ref<TestWnd> w = Instance([](TestWnd& w) {
    w.createControls = [](TestWnd& self) {
      fw::Ref<fw::Timer> t = self.Add<fw::Timer>("Timer1");
      fw::SetProperties(*t, fw::PropertyListWriter().Integer("Period", 20).EnumWide("RunMode", 1).Build());
      fw::RuntimeAddEventHandler(t, fw::TimerEvent::Action, fw::Delegate([](const fw::Ref<fw::Object>&, const fw::EventArgs&) {
                                                    fw::Quit(3);
                                                    return false;
                                                  },
                                                  "( Timer )"));
    };
  });
  QElapsedTimer clock;
  clock.start();
  fw::RuntimeRun();
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_EQ(fw::RuntimeExit(), 3);
  fw::RuntimeRun();  // a quit program runs no more
}

TEST_F(ApplicationTest, AnUncaughtFailureIsReportedByClassAndEndsTheProgram) {
  struct Case {
    std::function<void()> fail;
    std::string className;
  };
  const Case cases[] = {{[] { throw fw::NilObjectException("nothing there"); }, "NilObjectException"},
                        {[] { throw fw::OutOfBoundsException(); }, "OutOfBoundsException"},
                        {[] { throw std::runtime_error("plain"); }, "std::runtime_error"},
                        {[] { throw 42; }, "an unknown exception"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    fw::testing::ResetFramework();
    fw::testing::RecordDialogs(true);
    std::vector<std::string> log;
    fw::Ref<TestWnd> w = Instance([&](TestWnd& w) {
      w.createControls = [&](TestWnd& self) {
        fw::Ref<fw::PushButton> b = self.Add<fw::PushButton>("Button");
        fw::RuntimeAddEventHandler(b, fw::PushButtonEvent::Action, fw::Delegate([&](const fw::Ref<fw::Object>&, const fw::EventArgs&) {
                                                         log.push_back("Action");
                                                         c.fail();
                                                         return false;
                                                       },
                                                       "( PushButton )"));
      };
    });
    Settle();
    auto button = fw::RuntimeCheckCast<fw::PushButton>(w->ControlByName("Button"));
    QTest::mouseClick(fw::testing::WidgetOf(button), Qt::LeftButton);  // through Qt: nothing may escape into it
    ASSERT_EQ(fw::testing::Messages().size(), 1u);
    EXPECT_NE(fw::testing::Messages()[0].find("class " + c.className), std::string::npos) << fw::testing::Messages()[0];
    EXPECT_NE(fw::RuntimeExit(), 0);
    EXPECT_TRUE(fw::testing::QuitPending());
    button->Push();
    EXPECT_EQ(log.size(), 1u) << "no program code runs after the report";
  }
  // A failure in the start-up call-back is reported too, and the loop never runs.
  fw::testing::ResetFramework();
  fw::testing::RecordDialogs(true);
  fw::RunFrameworkInitialization([] { throw fw::IllegalCastException("bad"); });
  EXPECT_EQ(fw::testing::Messages().size(), 1u);
  fw::RuntimeRun();
  EXPECT_EQ(fw::RuntimeExit(), 1);
}

// A long calculation yields; the window lives, and closing it ends the calculation.
TEST_F(ApplicationTest, DuringAYieldWindowsLiveAndClosingUnwindsTheCalculation) {
  int wheelPaints = 0;
  bool finished = false;
  bool closedRan = false;
  std::int64_t iterations = 0;
  class PaintCounter : public QObject {
   public:
    explicit PaintCounter(int& n) : n_(n) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++n_;
      return false;
    }
    int& n_;
  } counter(wheelPaints);

  fw::Ref<TestWnd> w = Instance([&](TestWnd& w) {
    w.onClose = [&](TestWnd&) {
      closedRan = true;
      fw::Quit(0);
    };
    w.createControls = [&](TestWnd& self) {
      fw::Ref<fw::ProgressWheel> wheel = self.Add<fw::ProgressWheel>("Pwheel");
      fw::SetProperties(*wheel, fw::PropertyListWriter().Integer("Width", 30).Integer("Height", 30).Build());
      fw::Ref<fw::PushButton> b = self.Add<fw::PushButton>("CalculateBtn");
      fw::RuntimeAddEventHandler(b, fw::PushButtonEvent::Action, fw::Delegate([&](const fw::Ref<fw::Object>&, const fw::EventArgs&) {
                                                       // Runs until something ends it, yielding all along.
                                                       QElapsedTimer clock;
                                                       clock.start();
                                                       while (clock.elapsed() < 5000) {
                                                         ++iterations;
                                                         fw::RuntimeBackgroundTask();
                                                       }
                                                       finished = true;
                                                       return false;
                                                     },
                                                     "( PushButton )"));
    };
  });
  Settle();
  QWidget* wheel = fw::testing::WidgetOf(w->ControlByName("Pwheel"));
  wheel->installEventFilter(&counter);
  QWidget* top = fw::testing::TopLevelOf(*w);
  QTimer::singleShot(400, top, [top] { top->close(); });
  QElapsedTimer clock;
  clock.start();
  QTest::mouseClick(fw::testing::WidgetOf(w->ControlByName("CalculateBtn")), Qt::LeftButton);
  const qint64 took = clock.elapsed();
  EXPECT_TRUE(closedRan);
  EXPECT_FALSE(finished) << "the calculation was unwound, not finished";
  EXPECT_GT(iterations, 1000);
  EXPECT_LT(took, 1400) << "ended within a second of the close";
  EXPECT_GE(wheelPaints, 4) << "the busy wheel turned during the calculation";
  EXPECT_EQ(fw::RuntimeExit(), 0);
  EXPECT_TRUE(fw::testing::QuitPending());
}

// During a calculation's yields keys and clicks are dropped as they come, except on a button
// made usable while busy: the one that quits.
TEST_F(ApplicationTest, DuringAYieldInputIsDroppedButAButtonUsableWhileBusyQuits) {
  bool finished = false;
  int otherClicks = 0;
  fw::Ref<TestWnd> w = Instance([&](TestWnd& w) {
    w.createControls = [&](TestWnd& self) {
      self.Add<fw::TextField>("Field");
      const auto button = [&self](const char* name, std::function<void()> action) {
        fw::Ref<fw::PushButton> b = self.Add<fw::PushButton>(name);
        fw::RuntimeAddEventHandler(b, fw::PushButtonEvent::Action, fw::Delegate([action](const fw::Ref<fw::Object>&, const fw::EventArgs&) {
                                                         action();
                                                         return false;
                                                       },
                                                       "( PushButton )"));
        return b;
      };
      button("OtherBtn", [&] { ++otherClicks; });
      button("QuitBtn", [] { fw::Quit(0); })->UsableWhileBusy(true);
      button("CalculateBtn", [&] {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) fw::RuntimeBackgroundTask();
        finished = true;
      });
    };
  });
  Settle();
  auto* field = qobject_cast<QLineEdit*>(fw::testing::WidgetOf(w->ControlByName("Field")));
  QWidget* other = fw::testing::WidgetOf(w->ControlByName("OtherBtn"));
  QWidget* quit = fw::testing::WidgetOf(w->ControlByName("QuitBtn"));
  ASSERT_NE(field, nullptr);
  field->setFocus();
  QTimer::singleShot(100, field, [&] {
    QTest::keyClicks(field, "7");
    QTest::mouseClick(other, Qt::LeftButton);
    QTest::mouseClick(field, Qt::MiddleButton);  // pastes the selection on X11
  });
  QTimer::singleShot(300, quit, [quit] { QTest::mouseClick(quit, Qt::LeftButton); });
  QElapsedTimer clock;
  clock.start();
  QTest::mouseClick(fw::testing::WidgetOf(w->ControlByName("CalculateBtn")), Qt::LeftButton);
  EXPECT_FALSE(finished) << "the Quit button unwound the calculation";
  EXPECT_LT(clock.elapsed(), 1300);
  EXPECT_EQ(field->text(), "");
  EXPECT_EQ(otherClicks, 0);
  EXPECT_TRUE(fw::testing::QuitPending());
  EXPECT_EQ(fw::RuntimeExit(), 0);
}

TEST_F(ApplicationTest, MessagesBeepsAndDatesGoThroughTheSeams) {
  std::vector<std::string> seen;
  fw::testing::OnMessage([&](const std::string& m) { seen.push_back(m); });
  fw::MessageDialog::Show("Nothing to print.");
  fw::Beep();
  EXPECT_EQ(fw::testing::Messages(), (std::vector<std::string>{"Nothing to print."}));
  EXPECT_EQ(seen, fw::testing::Messages());
  EXPECT_EQ(fw::testing::BeepCount(), 1);

  const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 9));
  fw::testing::FixClock(std::chrono::system_clock::time_point(std::chrono::milliseconds(when.toMSecsSinceEpoch())));
  fw::Date date;
  date.Constructor();
  EXPECT_EQ(date.ShortDate(), QLocale::system().toString(when.date(), QLocale::ShortFormat).toStdString());
  EXPECT_EQ(date.LongTime(), QLocale::system().toString(when.time(), QLocale::LongFormat).toStdString());
}

class IconApp : public fw::Application {
 public:
  const fw::ClassDecl& Declaration() const override {
    static const fw::ClassDecl decl{"IconApp", "Application", {}, {}, {}};
    return decl;
  }
};

TEST_F(ApplicationTest, TheApplicationsIconFileBecomesTheWindowIconInEverySize) {
  QApplication::setWindowIcon(QIcon());
  fw::Ref<IconApp> app = fw::RuntimeNewObject<IconApp>();
  app->x_SetVersionData(3, 0, 0, 0, 3, "", "3.0", "Tessivar");
  fw::RuntimeRegisterAppObject(app);
  QList<int> widths;
  for (const QSize& size : QApplication::windowIcon().availableSizes()) widths << size.width();
  std::sort(widths.begin(), widths.end());
  widths.erase(std::unique(widths.begin(), widths.end()), widths.end());
  EXPECT_EQ(widths, (QList<int>{16, 32, 48, 256}));
}

TEST(StartupFailureTest, NamesTheCauseThatQtGives) {
  using fw::detail::HeldMessage;
  const QString fatal = QStringLiteral(
      "This application failed to start because no Qt platform plugin could be initialized.\n\n"
      "Available platform plugins are: offscreen, xcb.");
  const HeldMessage notLoaded{QtCriticalMsg, "qt.qpa.plugin",
                              "Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found."};
  const struct {
    const char* what;
    std::vector<HeldMessage> held;
    QString fatal;
    QByteArray display;
    QString line;
  } cases[] = {
      {"no DISPLAY", {{QtWarningMsg, "qt.qpa.xcb", "could not connect to display "}, notLoaded}, fatal, "",
       "there is no display to show its windows on (DISPLAY is not set)"},
      {"a display that is not there", {{QtWarningMsg, "qt.qpa.xcb", "could not connect to display :41"}, notLoaded},
       fatal, ":41", "there is no display to show its windows on (cannot open display :41)"},
      {"an unknown plugin", {{QtWarningMsg, "qt.qpa.plugin", "Could not find the Qt platform plugin \"bogus\" in \"\""}},
       fatal, ":41", "Could not find the Qt platform plugin \"bogus\""},
      {"a plugin that fails for its own reason", {{QtWarningMsg, "default", "QStandardPaths: wrong permissions"}},
       "Could not find DRM device!\nmore", ":41", "Could not find DRM device!"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fw::detail::StartupFailure(c.held, c.fatal, c.display), c.line) << c.what;
  }
}

// Alone, it sees the arguments that the next test gives its process.
TEST_F(ApplicationTest, QtSeesOnlyTheProgramsName) {
  EXPECT_EQ(QCoreApplication::arguments().size(), 1) << QCoreApplication::arguments().join(' ').toStdString();
  EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
}

TEST_F(ApplicationTest, QtsOwnCommandLineOptionsAndAnyOtherArgumentAreIgnored) {
  EXPECT_TRUE(PassesAlone("ApplicationTest.QtSeesOnlyTheProgramsName", {"-reverse", "-qwindowtitle", "X", "stray"}));
}

// Alone, it runs in the home folder that the next test gives its process.
TEST_F(ApplicationTest, AFileChooserIsMadeAndGoes) {
  auto chooser = std::make_unique<QFileDialog>(nullptr, QString(), QDir::tempPath());
  chooser->setHistory({QDir::tempPath()});
  chooser->show();
  QCoreApplication::processEvents();
}

TEST_F(ApplicationTest, AFileChooserKeepsNothingBetweenRuns) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("HOME", home.path());
  environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
  ASSERT_TRUE(PassesAlone("ApplicationTest.AFileChooserIsMadeAndGoes", {}, environment));
  QStringList written;
  for (QDirIterator it(home.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
       it.hasNext();) {
    written << it.next();
  }
  EXPECT_TRUE(written.isEmpty()) << written.join(' ').toStdString();
}

}  // namespace
