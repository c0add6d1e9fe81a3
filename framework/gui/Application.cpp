#include "framework/gui/Application.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>

#include <cxxabi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "framework/core/BackgroundTask.h"
#include "framework/gui/ControlImpl.h"
#include "framework/gui/Platform.h"
#include "framework/gui/Runtime.h"

namespace fw {
namespace detail {

Runtime& R() {
  // Never destroyed: windows and widgets must not outlive Qt's own statics at exit.
  static Runtime* runtime = new Runtime;
  return *runtime;
}

std::string ToUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

void CallStdFunction(void* arg) { (*static_cast<const std::function<void()>*>(arg))(); }

std::string Demangled(const char* name) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> out(abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
  return status == 0 && out ? std::string(out.get()) : std::string(name);
}

// Keyboard and mouse input, the kinds a user acts through.
bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::NativeGesture:
      return true;
    default:
      return false;
  }
}

// The widget that an input event is for. Qt hands window-system input to the window first and
// gives the focus to a pressed widget before the widget itself sees the press, so input is judged
// already at the window, by the widget under the pointer.
QWidget* InputWidget(QObject* target, const QEvent* e) {
  if (auto* widget = qobject_cast<QWidget*>(target)) return widget;
  auto* window = qobject_cast<QWindow*>(target);
  if (!window) return nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowHandle() != window) continue;
    if (e->isSinglePointEvent()) {
      const QPoint at = static_cast<const QSinglePointEvent*>(e)->position().toPoint();
      if (QWidget* child = top->childAt(at)) return child;
    }
    return top;
  }
  return nullptr;
}

// The ways to quit that stay open while the program is busy: the menus, whose items other than
// the quit item do nothing then, and the buttons made usable while busy. Closing the window is
// no input event.
bool UsableWhileBusy(QObject* target, const QEvent* e) {
  if (qobject_cast<QAction*>(target)) return true;
  for (QWidget* w = InputWidget(target, e); w; w = w->parentWidget()) {
    if (qobject_cast<QMenu*>(w) || qobject_cast<QMenuBar*>(w)) return true;
    if (const auto* link = dynamic_cast<const WidgetLink*>(w)) {
      return link->control() && link->control()->usableWhileBusy;
    }
  }
  return false;
}

// Drops keyboard and mouse input while the program is busy.
class BusyInputFilter : public QObject {
 protected:
  bool eventFilter(QObject* target, QEvent* e) override {
    if (!R().droppingInput || !IsUserInput(e->type())) return false;
    // A release ends a press that was let through, wherever the pointer has gone since.
    if (e->type() == QEvent::MouseButtonRelease && pressTaken_) {
      pressTaken_ = false;
      return false;
    }
    const bool usable = UsableWhileBusy(target, e);
    if (usable && e->type() == QEvent::MouseButtonPress) pressTaken_ = true;
    return !usable;
  }

 private:
  bool pressTaken_ = false;
};

void InstallBusyInputFilter() {
  static BusyInputFilter* filter = nullptr;
  if (filter || !QApplication::instance()) return;
  filter = new BusyInputFilter;
  QApplication::instance()->installEventFilter(filter);
}

// Processes every pending event, with user input dropped as above.
void ProcessEventsDroppingInput() {
  Runtime& r = R();
  const bool was = r.droppingInput;
  r.droppingInput = true;
  QApplication::processEvents();
  r.droppingInput = was;
}

// Lets the windows live during a long calculation: repaints, timers and the window's close
// request are processed, and the user can quit; other input made meanwhile is dropped as it
// arrives. Qt's ExcludeUserInputEvents would not do: on X11 it holds the window manager's close
// request back with the input, to be acted on only when the calculation is over.
void YieldHook() {
  Runtime& r = R();
  if (r.inYield || !QApplication::instance()) return;
  r.inYield = true;
  r.yieldedInHandler = true;
  ProcessEventsDroppingInput();
  r.inYield = false;
  UnwindIfQuitting();
}

// Clicks and keys made in the last moments of a long calculation, after its last yield, belong
// to a window that looked busy: acted on afterwards, they would start a second calculation
// nobody asked for.
void DropInputHeldDuringYields() {
  if (QApplication::instance()) ProcessEventsDroppingInput();
}

}  // namespace

void AtBoundary(const std::function<void()>& programCode) noexcept {
  Runtime& r = R();
  if (r.quitPending) return;
  if (r.boundaryDepth++ == 0) ++r.handlerCalls;
  std::exception_ptr failure;
  ExceptionHelper helper = r.helper ? r.helper : &CallFunctionWithExceptionHandling;
  try {
    failure = helper(&CallStdFunction, const_cast<std::function<void()>*>(&programCode));
  } catch (...) {
    failure = std::current_exception();
  }
  --r.boundaryDepth;
  if (failure) UnhandledException(failure);
  if (r.boundaryDepth == 0 && r.yieldedInHandler) {
    r.yieldedInHandler = false;
    if (!r.quitPending) DropInputHeldDuringYields();
  }
}

void ExitLoops(int code) {
  // QCoreApplication::exit outside any loop would make the next loop return at once.
  if (R().loopDepth > 0 && QCoreApplication::instance()) QCoreApplication::exit(code);
}

int ExecModal(QDialog& dialog) {
  ++R().loopDepth;
  const int result = dialog.exec();
  --R().loopDepth;
  return result;
}

void UnwindIfQuitting() {
  const Runtime& r = R();
  if (r.quitPending && r.boundaryDepth > 0) throw QuitUnwind{};
}

std::string ApplicationTitle() {
  const Runtime& r = R();
  if (r.appObject && !r.appObject->Version().packageInfo.empty()) return r.appObject->Version().packageInfo;
  return ToUtf8(QCoreApplication::applicationName());
}

void ShowMessageBox(const std::string& message) { Platform().ShowMessage(message); }

}  // namespace detail

using detail::R;

Application::Application() = default;
Application::~Application() = default;

std::string_view Application::ClassName() const { return Declaration().className; }

void Application::x_SetVersionData(std::int64_t majorVersion, std::int64_t minorVersion,
                                   std::int64_t bugVersion, std::int64_t nonReleaseVersion,
                                   std::int64_t stageCode, std::string_view longVersion,
                                   std::string_view shortVersion, std::string_view packageInfo) {
  version_.majorVersion = majorVersion;
  version_.minorVersion = minorVersion;
  version_.bugVersion = bugVersion;
  version_.nonReleaseVersion = nonReleaseVersion;
  version_.stageCode = stageCode;
  version_.longVersion = longVersion;
  version_.shortVersion = shortVersion;
  version_.packageInfo = packageInfo;
  if (QCoreApplication::instance()) {
    QCoreApplication::setApplicationVersion(detail::FromUtf8(shortVersion));
    if (!packageInfo.empty()) QCoreApplication::setApplicationName(detail::FromUtf8(packageInfo));
  }
}

const VersionData& Application::Version() const { return version_; }

Ref<fw::MenuBar> Application::MenuBar() const { return menuBar_; }

void Application::MenuBar(const Ref<fw::MenuBar>& bar) {
  menuBar_ = bar;
  if (R().appObject.Get() == this) detail::RebuildMenuBars();
}

// Qt 6 scales for high-DPI screens by itself.
void Application::SetSupportsHiDPI(bool) {}

std::exception_ptr CallFunctionWithExceptionHandling(void (*fn)(void*), void* arg) {
  try {
    fn(arg);
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

namespace {

// A Windows build carries its icon in the executable; elsewhere the same icon file, named after
// the application's package, lies beside the executable. Every image of every size goes in, so
// the desktop can pick the full-colour one.
void SetWindowIconFromFile(const QString& fileName) {
  const QString path = detail::ResourceFilePath(fileName);
  if (path.isEmpty() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  QIcon icon;
  QImageReader reader(path);
  for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
    if (i > 0 && !reader.jumpToImage(i)) break;
    const QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  if (!icon.isNull()) QApplication::setWindowIcon(icon);
}

}  // namespace

namespace detail {

QString StartupFailure(const std::vector<HeldMessage>& held, const QString& fatal, const QByteArray& display) {
  const auto from = [&](const char* category) {
    QStringList lines;
    for (const HeldMessage& m : held) {
      if (m.category == category) lines << m.text.trimmed();
    }
    return lines;
  };
  if (!from("qt.qpa.xcb").filter(QLatin1String("could not connect to display")).isEmpty()) {
    return QLatin1String("there is no display to show its windows on") +
           (display.isEmpty() ? QLatin1String(" (DISPLAY is not set)")
                              : QLatin1String(" (cannot open display ") + QString::fromLocal8Bit(display) + u')');
  }
  // Qt names the plugin that it could not find or load; the folder it looked in says nothing
  // to a user, and is often empty.
  QStringList reasons = from("qt.qpa.plugin");
  for (QString& reason : reasons) {
    reason.remove(QRegularExpression(QStringLiteral(" in \"[^\"]*\"")));
    while (reason.endsWith(u'.')) reason.chop(1);
  }
  if (reasons.isEmpty()) reasons << fatal.section(u'\n', 0, 0).trimmed();
  return reasons.join(QLatin1String("; "));
}

}  // namespace detail

namespace {

// Qt's messages while the application object is made, held back: when it cannot start, Qt gives
// up with several lines and abort(), which leaves a core file. One line that names the cause and
// exit code 1 say it better.
std::vector<detail::HeldMessage> heldMessages;
std::string programName;

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    heldMessages.push_back({type, QByteArray(context.category), message});
    return;
  }
  const std::string line = programName + ": cannot start: " +
                           detail::ToUtf8(detail::StartupFailure(heldMessages, message, qgetenv("DISPLAY"))) + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

void RuntimeInit(int argc, char** argv) {
  if (!QApplication::instance()) {
    // The program reads no arguments, and Qt gets none either, as on Windows: only the name.
    // QApplication keeps a reference to the count for its whole life.
    static int appArgc = 1;
    static char fallbackName[] = "tessivar";
    static char* fallbackArgv[] = {fallbackName, nullptr};
    if (argc <= 0 || !argv || !argv[0]) argv = fallbackArgv;
    programName = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toStdString();
    const QtMessageHandler previous = qInstallMessageHandler(&HoldStartupMessage);
    new QApplication(appArgc, argv);  // lives until the process ends
    qInstallMessageHandler(previous);
    for (const detail::HeldMessage& m : heldMessages) {
      const char* category = m.category.isEmpty() ? "default" : m.category.constData();
      previous(m.type, QMessageLogContext(nullptr, 0, nullptr, category), m.text);
    }
    heldMessages.clear();
  }
  // Nothing is kept between runs: the print dialog's file chooser would keep its history and
  // last folder in the user's Qt settings, so those go nowhere.
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
  }
  QApplication::setQuitOnLastWindowClosed(false);
  detail::InstallBusyInputFilter();
  SetBackgroundTaskHook(&detail::YieldHook);
}

void RuntimeSetExceptionHelper(ExceptionHelper helper) { R().helper = helper; }
// Only one framework release exists, so there is nothing to adapt to.
void RuntimeSetCompiledRelease(double) {}
// The busy wheel and every other control are built in; nothing to register or load.
void RuntimeInitExternalClasses() {}
void InitPluginEntrypoints() {}

void RuntimeRegisterAppObject(const Ref<Application>& app) {
  R().appObject = app;
  if (app) {
    const VersionData& v = app->Version();
    if (!v.packageInfo.empty() && QCoreApplication::instance()) {
      QCoreApplication::setApplicationName(detail::FromUtf8(v.packageInfo));
      SetWindowIconFromFile(detail::FromUtf8(v.packageInfo) + QLatin1String(".ico"));
    }
  }
  detail::RebuildMenuBars();
}

Ref<Application> GetAppObject() { return R().appObject; }

void RunFrameworkInitialization(void (*lateStartup)()) {
  detail::Runtime& r = R();
  if (r.frameworkInitialized) return;
  r.frameworkInitialized = true;
  if (lateStartup) detail::AtBoundary([lateStartup] { lateStartup(); });
}

void RuntimeRun() {
  if (R().quitPending || !QApplication::instance()) return;
  ++R().loopDepth;
  QApplication::exec();
  --R().loopDepth;
}

void Quit(int exitCode) {
  detail::Runtime& r = R();
  if (r.quitPending) return;
  r.quitPending = true;
  r.exitCode = exitCode;
  // Ends every running event loop, nested ones included.
  detail::ExitLoops(exitCode);
}

int RuntimeExit() { return R().exitCode; }

void UnhandledException(std::exception_ptr failure) {
  if (!failure) return;
  std::string className;
  std::string message;
  try {
    std::rethrow_exception(failure);
  } catch (const detail::QuitUnwind&) {
    return;  // a quit that is already under way
  } catch (const RuntimeException& e) {
    className = e.ClassName();
    message = e.Message();
  } catch (const std::exception& e) {
    className = detail::Demangled(typeid(e).name());
    message = e.what();
  } catch (...) {
    className = "an unknown exception";
  }
  detail::Runtime& r = R();
  const bool firstFailure = !r.failed;
  r.failed = true;
  const bool quitting = r.quitPending;
  // Nothing of the program runs while the report is open or after it.
  r.quitPending = true;
  if (firstFailure && !quitting) {
    r.exitCode = 1;
    std::string text = "An exception of class " + className + " was not handled. The application must shut down.";
    if (!message.empty()) text += "\n\n" + message;
    try {
      detail::ShowMessageBox(text);
    } catch (...) {
      // Whatever shows the report may fail; the program still ends.
    }
  }
  detail::ExitLoops(r.exitCode);
}

std::string FileType::Operator_Convert() {
  auto& types = R().fileTypes;
  bool known = false;
  for (const auto& t : types) known = known || t.Get() == this;
  if (!known) {
    auto self = std::dynamic_pointer_cast<FileType>(weak_from_this().lock());
    if (self) types.emplace_back(std::move(self));
  }
  return Name;
}

std::vector<Ref<FileType>> RegisteredFileTypes() { return R().fileTypes; }

}  // namespace fw
