// Temporary bodies so that the interface links; replaced file by file.
#include "framework/gui/Application.h"
#include "framework/gui/Controls.h"
#include "framework/gui/Dialogs.h"
#include "framework/gui/Events.h"
#include "framework/gui/Menus.h"
#include "framework/gui/Object.h"
#include "framework/gui/Testing.h"
#include "framework/gui/Window.h"

#include <QApplication>
#include <QString>

namespace fw {

// Object.h
const PropertySchema& Object::Schema() const { static const PropertySchema none; return none; }
void Object::SetProperty(std::string_view, const PropertyValue&) {}
PropertyValue Object::Property(std::string_view) const { return {}; }
void RuntimeRegisterClass(const ClassDecl&) {}
const ClassDecl* RuntimeFindClass(std::string_view) { return nullptr; }
bool RuntimeIsEventHandled(const Object&, std::string_view, std::string_view, bool) { return false; }
void RuntimePerformInitializers(const std::vector<std::function<void()>>& initializers) {
  for (const auto& f : initializers) f();
}
void RuntimePerformFinalizers() {}
void SetProperties(Object&, const PropertyString&) {}

// Application.h
Application::Application() = default;
Application::~Application() = default;
std::string_view Application::ClassName() const { return Declaration().className; }
void Application::x_SetVersionData(std::int64_t, std::int64_t, std::int64_t, std::int64_t, std::int64_t,
                                   std::string_view, std::string_view, std::string_view) {}
const VersionData& Application::Version() const { return version_; }
Ref<fw::MenuBar> Application::MenuBar() const { return menuBar_; }
void Application::MenuBar(const Ref<fw::MenuBar>& bar) { menuBar_ = bar; }
void Application::SetSupportsHiDPI(bool) {}
std::exception_ptr CallFunctionWithExceptionHandling(void (*fn)(void*), void* arg) {
  try { fn(arg); } catch (...) { return std::current_exception(); }
  return nullptr;
}
void RuntimeInit(int argc, char** argv) {
  static int s_argc = argc;
  if (!QApplication::instance()) new QApplication(s_argc, argv);
}
void RuntimeSetExceptionHelper(ExceptionHelper) {}
void RuntimeSetCompiledRelease(double) {}
void RuntimeInitExternalClasses() {}
void InitPluginEntrypoints() {}
void RuntimeRegisterAppObject(const Ref<Application>&) {}
Ref<Application> GetAppObject() { return {}; }
void RunFrameworkInitialization(void (*lateStartup)()) { lateStartup(); }
void RuntimeRun() { QApplication::exec(); }
void Quit(int exitCode) { QApplication::exit(exitCode); }
int RuntimeExit() { return 0; }
void UnhandledException(std::exception_ptr) {}
std::string FileType::Operator_Convert() { return Name; }
std::vector<Ref<FileType>> RegisteredFileTypes() { return {}; }

// Controls.h
Picture::Picture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
struct Picture::Impl {};
Picture::~Picture() = default;
std::int64_t Picture::Width() const { return 0; }
std::int64_t Picture::Height() const { return 0; }
Ref<Picture> RuntimeGetPictureFromResourceManager(std::string_view) { return {}; }
struct Control::Impl { std::string name; };
Control::Control(Window* owner) : impl_(std::make_unique<Impl>()), owner_(owner) {}
Control::~Control() = default;
const std::string& Control::Name() const { return impl_->name; }
const PropertySchema& Control::Schema() const { static const PropertySchema none; return none; }
void Control::SetProperty(std::string_view, const PropertyValue&) {}
PropertyValue Control::Property(std::string_view) const { return {}; }
const PropertySchema& Timer::Schema() const { static const PropertySchema none; return none; }
void Timer::SetProperty(std::string_view, const PropertyValue&) {}
PropertyValue Timer::Property(std::string_view) const { return {}; }
void RectControl::Constructor() {}
bool RectControl::Visible() const { return true; }
void RectControl::Visible(bool) {}
bool RectControl::Enabled() const { return true; }
void RectControl::Enabled(bool) {}
void RectControl::SetFocus() {}
TextArea::TextArea(Window* owner) : TextEdit(owner) {}
std::string TextArea::Text() const { return {}; }
void TextArea::Text(std::string_view) {}
std::int64_t TextArea::SelectionStart() const { return 0; }
void TextArea::SelectionStart(std::int64_t) {}
std::string TextArea::SelectedText() const { return {}; }
void TextArea::SelectedText(std::string_view) {}
Ref<StyledTextPrinter> TextArea::styledTextPrinter(const Ref<Graphics>&, std::int64_t) { return {}; }
TextField::TextField(Window* owner) : TextEdit(owner) {}
std::string TextField::Text() const { return {}; }
void TextField::Text(std::string_view) {}
Label::Label(Window* owner) : RectControl(owner) {}
std::string Label::Text() const { return {}; }
void Label::Text(std::string_view) {}
PushButton::PushButton(Window* owner) : RectControl(owner) {}
void PushButton::Push() {}
Canvas::Canvas(Window* owner) : RectControl(owner) {}
Ref<Picture> Canvas::Backdrop() const { return {}; }
void Canvas::Backdrop(const Ref<Picture>&) {}
Line::Line(Window* owner) : RectControl(owner) {}
ProgressWheel::ProgressWheel(Window* owner) : RectControl(owner) {}
struct Timer::Impl {};
Timer::Timer(Window* owner) : owner_(owner), impl_(std::make_unique<Impl>()) {}
Timer::~Timer() = default;
void Timer::Constructor() {}
std::int64_t Timer::Period() const { return 0; }
std::int64_t Timer::RunMode() const { return 0; }

// Dialogs.h
void MessageDialog::Show(std::string_view) {}
void Beep() { QApplication::beep(); }
Date::Date() = default;
void Date::Constructor() {}
std::string Date::ShortDate() const { return {}; }
std::string Date::LongTime() const { return {}; }
struct Graphics::Impl {};
Graphics::Graphics(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Graphics::~Graphics() = default;
void Graphics::NextPage() {}
Ref<Graphics> PrinterSetup::ShowPrinterDialog() { return {}; }
struct StyledTextPrinter::Impl {};
StyledTextPrinter::StyledTextPrinter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
StyledTextPrinter::~StyledTextPrinter() = default;
void StyledTextPrinter::DrawBlock(std::int64_t, std::int64_t, std::int64_t) {}
bool StyledTextPrinter::EOFReached() const { return true; }

// Events.h
bool Delegate::Invoke(const Ref<Object>& sender, const EventArgs& args) const {
  return invoker_ ? invoker_(sender, args) : false;
}
namespace detail {
void CheckSignature(std::string_view expected, std::string_view given) {
  if (expected != given) throw InvalidArgumentException("delegate signature mismatch");
}
}  // namespace detail
void RuntimeAddEventHandler(const Ref<Object>&, int, const Delegate&) {}

// Menus.h
struct MenuItem::Impl { std::string name, text, key; bool keySet = false, autoEnable = false, visible = true, enabled = true; std::vector<Ref<MenuItem>> children; };
MenuItem::MenuItem() : impl_(std::make_unique<Impl>()) {}
MenuItem::~MenuItem() = default;
void MenuItem::Constructor() {}
const std::string& MenuItem::Name() const { return impl_->name; }
void MenuItem::Name(std::string_view v) { impl_->name = v; }
const std::string& MenuItem::Text() const { return impl_->text; }
void MenuItem::Text(std::string_view v) { impl_->text = v; }
const std::string& MenuItem::CommandKey() const { return impl_->key; }
void MenuItem::CommandKey(std::string_view v) { impl_->key = v; impl_->keySet = true; }
bool MenuItem::CommandKeyIsSet() const { return impl_->keySet; }
bool MenuItem::AutoEnable() const { return impl_->autoEnable; }
void MenuItem::AutoEnable(bool on) { impl_->autoEnable = on; }
bool MenuItem::Visible() const { return impl_->visible; }
void MenuItem::Visible(bool on) { impl_->visible = on; }
bool MenuItem::Enabled() const { return impl_->enabled; }
void MenuItem::Enabled(bool on) { impl_->enabled = on; }
void MenuItem::AddMenu(const Ref<MenuItem>& item) { impl_->children.push_back(item); }
Ref<MenuItem> MenuItem::Child(std::string_view name) const {
  for (const auto& c : impl_->children) if (c->Name() == name) return c;
  return {};
}
Ref<MenuItem> MenuItem::Lookup(std::string_view name) const {
  for (const auto& c : impl_->children) {
    if (c->Name() == name) return c;
    if (auto r = c->Lookup(name)) return r;
  }
  return {};
}
std::int64_t MenuItem::Count() const { return static_cast<std::int64_t>(impl_->children.size()); }
Ref<MenuItem> MenuItem::Item(std::int64_t index) const { return impl_->children.at(static_cast<std::size_t>(index)); }
void MenuItem::Action() {}
void QuitMenuItem::Action() { Quit(0); }

// Window.h
struct Window::Impl {};
Window::Window() : impl_(std::make_unique<Impl>()) {}
Window::~Window() = default;
std::string_view Window::ClassName() const { return Declaration().className; }
void Window::Constructor() {}
void Window::Show() {}
void Window::Hide() {}
bool Window::IsVisible() const { return false; }
void Window::Refresh(bool) {}
void Window::AddControl(std::string_view, const Ref<Object>&) {}
Ref<Object> Window::ControlByName(std::string_view) const { return {}; }
void Window::AddMenuHandler(std::string_view, const Delegate&) {}
const PropertySchema& Window::Schema() const { static const PropertySchema none; return none; }
void Window::SetProperty(std::string_view, const PropertyValue&) {}
PropertyValue Window::Property(std::string_view) const { return {}; }
Ref<Window> GetImplicitWindow(std::string_view) { return {}; }

}  // namespace fw

namespace fw::testing {
void RecordDialogs(bool) {}
const std::vector<std::string>& Messages() { static const std::vector<std::string> none; return none; }
int BeepCount() { return 0; }
void ClearRecords() {}
void OnMessage(std::function<void(const std::string&)>) {}
void AnswerPrinterDialog(std::optional<std::string>) {}
void FixClock(std::optional<std::chrono::system_clock::time_point>) {}
void ResetFramework() {}
}  // namespace fw::testing
