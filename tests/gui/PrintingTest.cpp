// Printing a text area block by block into a PDF file, one block per page.
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>

#include <memory>

#include <unistd.h>

#include "GuiTestSupport.h"
#include "PdfText.h"
#include "framework/core/PropertyString.h"
#include "framework/gui/Dialogs.h"

namespace {

using namespace guitest;

class PrintingTest : public GuiTest {
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
  int Print() { return PrintOn(fw::PrinterSetup::ShowPrinterDialog()); }
  int PrintOn(fw::Ref<fw::Graphics> page) {
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

  // The text of each page of the PDF, as pdftotext reads it.
  QStringList PdfTexts() const {
    QStringList pages;
    for (const std::string& page : PdfPageTexts(pdf)) pages << QString::fromStdString(page);
    return pages;
  }
  static std::string Lines(int n, const std::string& line = "x") {
    std::string text;
    for (int i = 0; i < n; ++i) text += (i ? "\r\n" : "") + line;
    return text;
  }
  // The number of lines that fill a block exactly.
  int LinesPerBlock() {
    fw::testing::AnswerPrinterDialog(pdf);
    int lines = 1;
    for (area->Text(Lines(lines + 1)); Print() == 1; area->Text(Lines(lines + 1))) ++lines;
    return lines;
  }
  // Full pages whose lines name their page.
  std::string PagedLines(int pages) {
    const int perPage = LinesPerBlock();
    std::string text;
    for (int page = 1; page <= pages; ++page) text += (page > 1 ? "\r\n" : "") + Lines(perPage, "page" + std::to_string(page));
    return text;
  }
  // Page p of PagedLines starts with "page<p>": the pages put out, by the page they begin with.
  QList<int> PrintedPages() const {
    QList<int> printed;
    static const QRegularExpression first(QStringLiteral("^\\s*page(\\d+)"));
    for (const QString& text : PdfTexts()) {
      const QRegularExpressionMatch m = first.match(text);
      printed << (m.hasMatch() ? m.captured(1).toInt() : 0);
    }
    return printed;
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

TEST_F(PrintingTest, TheLineEndAfterTheLastLineStartsNoPage) {
  const int full = LinesPerBlock();
  for (const int lines : {1, full, full + 1, 2 * full}) {
    SCOPED_TRACE(lines);
    const std::string bare = Lines(lines);
    area->Text(bare);
    const int blocks = Print();
    area->Text(bare + "\r\n");
    EXPECT_EQ(Print(), blocks);
    EXPECT_EQ(PdfPages(), blocks);
  }
}

TEST_F(PrintingTest, TabsPrintOnTheLineTheyAreOn) {
  fw::testing::AnswerPrinterDialog(pdf);
  std::string text;
  for (int i = 0; i < 40; ++i) text += "Rank\tMean\tSD\r\n";
  area->Text(text);
  EXPECT_EQ(Print(), 1) << "40 lines fit one block";
  const QStringList pages = PdfTexts();
  ASSERT_EQ(pages.size(), 1);
  const QStringList lines = pages[0].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 40);
  EXPECT_TRUE(lines[0].contains(QRegularExpression(QStringLiteral("^Rank\\s+Mean\\s+SD$")))) << lines[0].toStdString();
}

TEST_F(PrintingTest, CopiesAndThePageRangeOfTheDialogAreHonoured) {
  area->Text(PagedLines(4) + "\r\n");
  struct Case {
    int copies;
    bool collate;
    int from, to;  // 0: all pages
    QList<int> printed;
  };
  const Case cases[] = {
      {1, true, 0, 0, {1, 2, 3, 4}},
      {2, true, 0, 0, {1, 2, 3, 4, 1, 2, 3, 4}},
      {2, false, 0, 0, {1, 1, 2, 2, 3, 3, 4, 4}},
      {1, true, 2, 3, {2, 3}},
      {2, true, 2, 3, {2, 3, 2, 3}},
      {3, false, 4, 4, {4, 4, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.copies) + (c.collate ? " collated " : " ") + std::to_string(c.from) + "-" +
                 std::to_string(c.to));
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(pdf));
    printer->setCopyCount(c.copies);
    printer->setCollateCopies(c.collate);
    if (c.from > 0) {
      printer->setPrintRange(QPrinter::PageRange);
      printer->setFromTo(c.from, c.to);
    }
    EXPECT_EQ(PrintOn(fw::testing::PageOn(std::move(printer))), 4);
    EXPECT_EQ(PrintedPages(), c.printed);
  }
}

TEST_F(PrintingTest, ACancelledDialogGivesNoPage) {
  fw::testing::AnswerPrinterDialog(std::nullopt);
  EXPECT_EQ(Print(), -1);
  EXPECT_EQ(fw::testing::PrinterDialogCount(), 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

}  // namespace
