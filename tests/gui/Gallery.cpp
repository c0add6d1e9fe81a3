// Shows a window with every kind of control and saves what it looks like to a PNG file (and,
// given a second path, a printed page of its text area to a PDF file): for looking at, under
// Xvfb or offscreen. Not a test.
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <iostream>

#include "framework/core/PropertyString.h"
#include "framework/gui/Application.h"
#include "framework/gui/Controls.h"
#include "framework/gui/Dialogs.h"
#include "framework/gui/Menus.h"
#include "framework/gui/TestingQt.h"
#include "framework/gui/Window.h"

namespace {

using fw::PropertyListWriter;

class GalleryApp : public fw::Application {
 public:
  const fw::ClassDecl& Declaration() const override {
    static const fw::ClassDecl decl{"App", "Application", {}, {}, {}};
    return decl;
  }
};

class GalleryWnd : public fw::Window {
 public:
  const fw::ClassDecl& Declaration() const override {
    static const fw::ClassDecl decl{"GalleryWnd.GalleryWnd", "Window", {}, {}, {"Layout", "CreateControls"}};
    return decl;
  }
  void Layout() override {
    fw::SetProperties(*this, PropertyListWriter()
                                 .Integer("Width", 500)
                                 .Integer("Height", 330)
                                 .Text("Title", "Gallery")
                                 .Boolean("Resizeable", false)
                                 .Boolean("HasBackgroundColor", true)
                                 .Colour("BackgroundColor", 0xFFFFFF)
                                 .Boolean("HasMaximizeButton", false)
                                 .Build());
  }
  template <class C>
  fw::Ref<C> Add(const char* name, const fw::PropertyString& list) {
    fw::Ref<C> c = New<C>();
    if constexpr (std::is_base_of_v<fw::RectControl, C>) c->Constructor();
    AddControl(name, c);
    fw::SetProperties(*c, list);
    return c;
  }
  static PropertyListWriter At(int left, int top, int width, int height) {
    PropertyListWriter w;
    w.Integer("Left", left).Integer("Top", top).Integer("Width", width).Integer("Height", height);
    return w;
  }
  void CreateControls() override {
    Add<fw::Canvas>("Canvas1", At(20, 10, 200, 60).Build())->Backdrop(fw::RuntimeGetPictureFromResourceManager("Tessivar.png"));
    Add<fw::Label>("Caption", At(240, 14, 240, 20).Text("Value", "Number of variables:").Boolean("Bold", true)
                                   .Single("FontSize", 14.0f).Colour("TextColor", 0x18605A).Build());
    Add<fw::TextField>("VarFld", At(240, 40, 40, 20).Text("Value", "25").EnumWide("TextAlignment", 2)
                                      .Single("FontSize", 12.0f).Text("ValidationMask", "###").Build());
    Add<fw::Label>("VarWarning", At(290, 42, 100, 16).Text("Value", "(3 - 200)").Colour("TextColor", 0xEF1F1D)
                                      .Single("FontSize", 12.0f).Build());
    Add<fw::ProgressWheel>("Pwheel", At(420, 36, 30, 30).Build());
    Add<fw::Line>("Line1", PropertyListWriter().Double("X1", 20).Double("X2", 480).Double("Y1", 84).Double("Y2", 84)
                               .Double("Thickness", 8).Colour("LineColor", 0x18605A).Build());
    fw::Ref<fw::TextArea> area = Add<fw::TextArea>(
        "DataFld", At(20, 100, 460, 180).Text("FontName", "Courier").Single("FontSize", 11.0f)
                       .Boolean("HasVerticalScrollbar", true).Build());
    std::string report = "Tessivar for Parallel Analysis\r\n\r\nRank  Mean    Std. dev.\r\n";
    for (int i = 1; i <= 80; ++i) report += "  " + std::to_string(i) + "   1.2345  .0678\r\n";
    area->Text(report);
    const char* captions[] = {"Calculate", "Print", "Clear", "Quit"};
    for (int i = 0; i < 4; ++i) {
      Add<fw::PushButton>(captions[i], At(20 + 110 * i, 296, 70, 20).Text("Caption", captions[i])
                                           .Boolean("Default", true).Single("FontSize", 12.0f).Build());
    }
    Add<fw::PushButton>("Qbtn", At(458, 289, 30, 30).Text("Caption", "").EnumWide("MacButtonStyle", 9).Build());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: fw_gallery out.png [out.pdf]\n";
    return 2;
  }
  fw::RuntimeInit(argc, argv);
  fw::testing::UseTestPlatform();  // the pictures of the build tree
  auto app = fw::RuntimeNewObject<GalleryApp>();
  auto bar = fw::RuntimeNewObject<fw::MenuBar>();
  for (const char* text : {"File", "Edit"}) {
    auto menu = fw::RuntimeNewObject<fw::MenuItem>();
    menu->Name(text);
    menu->Text(text);
    auto item = fw::RuntimeNewObject<fw::MenuItem>();
    item->Name(std::string(text) + "Item");
    item->Text("Item");
    menu->AddMenu(item);
    bar->AddMenu(menu);
  }
  app->MenuBar(bar);
  fw::RuntimeRegisterAppObject(app);
  auto w = fw::RuntimeNewObject<GalleryWnd>();
  w->Constructor();
  auto field = fw::RuntimeCheckCast<fw::TextField>(w->ControlByName("VarFld"));
  field->SetFocus();
  QTimer::singleShot(600, [&] {
    const QPixmap shot = fw::testing::TopLevelOf(*w)->grab();
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) std::cerr << "could not write " << argv[1] << "\n";
    if (argc > 2) {
      fw::testing::RecordDialogs(true);
      fw::testing::AnswerPrinterDialog(std::string(argv[2]));
      auto area = fw::RuntimeCheckCast<fw::TextArea>(w->ControlByName("DataFld"));
      auto page = fw::PrinterSetup::ShowPrinterDialog();
      auto printer = area->styledTextPrinter(page, 540);
      while (!printer->EOFReached()) {
        printer->DrawBlock(0, 0, 720);
        if (!printer->EOFReached()) page->NextPage();
      }
    }
    fw::Quit(0);
  });
  fw::RuntimeRun();
  return fw::RuntimeExit();
}
