// Printing a text area block by block into a PDF file, one block per page.
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <unistd.h>

#include "GuiTestSupport.h"
#include "framework/core/PropertyString.h"
#include "framework/gui/Dialogs.h"

namespace {

using guitest::Instance;
using guitest::TestWnd;

class PrintingTest : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    w = Instance([](TestWnd& w) {
      w.createControls = [](TestWnd& self) {
        fw::SetProperties(*self.Add<fw::TextArea>("DataFld"),
                          fw::PropertyListWriter().Text("FontName", "Courier").Single("FontSize", 11.0f).Build());
      };
    });
    area = fw::RuntimeCheckCast<fw::TextArea>(w->ControlByName("DataFld"));
  }
  void TearDown() override {
    QFile::remove(QString::fromStdString(pdf));
    GuiTest::TearDown();
  }
  // Prints the area as the program does; the number of blocks drawn.
  int Print() {
    fw::Ref<fw::Graphics> page = fw::PrinterSetup::ShowPrinterDialog();
    if (page.IsNil()) return -1;
    fw::Ref<fw::StyledTextPrinter> printer = area->styledTextPrinter(page, 540);
    int blocks = 0;
    while (!printer->EOFReached()) {
      printer->DrawBlock(0, 0, 720);
      ++blocks;
      if (!printer->EOFReached()) page->NextPage();
    }
    printer->DrawBlock(0, 0, 720);  // past the end: nothing more
    return blocks;
  }
  int PdfPages() const {
    QFile file(QString::fromStdString(pdf));
    if (!file.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page[^s]")));
  }

  fw::Ref<TestWnd> w;
  fw::Ref<fw::TextArea> area;
  const std::string pdf = QDir::temp().filePath("fw_print_" + QString::number(getpid()) + ".pdf").toStdString();
};

TEST_F(PrintingTest, EachBlockIsOnePageWithNoEmptyPageAfterTheLast) {
  fw::testing::AnswerPrinterDialog(pdf);
  struct Case {
    int lines;
    int minBlocks, maxBlocks;
  };
  for (const Case c : {Case{1, 1, 1}, Case{40, 1, 1}, Case{200, 3, 5}}) {
    SCOPED_TRACE(c.lines);
    std::string text;
    for (int i = 1; i <= c.lines; ++i) text += "line " + std::to_string(i) + (i < c.lines ? "\r\n" : "");
    area->Text(text);
    const int blocks = Print();
    EXPECT_GE(blocks, c.minBlocks);
    EXPECT_LE(blocks, c.maxBlocks);
    EXPECT_EQ(PdfPages(), blocks);
  }
  // A line far wider than the block is broken, not lost: it takes more lines, so more blocks.
  area->Text(std::string(150 * 90, 'w'));
  EXPECT_GE(Print(), 2);
}

TEST_F(PrintingTest, ACancelledDialogGivesNoPage) {
  fw::testing::AnswerPrinterDialog(std::nullopt);
  EXPECT_EQ(Print(), -1);
  EXPECT_EQ(fw::testing::PrinterDialogCount(), 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

}  // namespace
