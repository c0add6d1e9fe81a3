// Printing a text area block by block into a PDF file, one block per page.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <random>

#include <sys/mount.h>
#include <sys/resource.h>
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

// A printer as the dialog leaves it for a PDF file.
struct Choices {
  int copies = 1;
  bool collate = true;
  int from = 0, to = 0;  // 0: all pages
  bool reverse = false;
};

std::unique_ptr<QPrinter> PdfPrinter(const std::string& path, const Choices& c = {}) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(QString::fromStdString(path));
  printer->setCopyCount(c.copies);
  printer->setCollateCopies(c.collate);
  if (c.from > 0) {
    printer->setPrintRange(QPrinter::PageRange);
    printer->setFromTo(c.from, c.to);
  }
  printer->setPageOrder(c.reverse ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
  return printer;
}

TEST_F(PrintingTest, CopiesThePageRangeAndTheOrderOfTheDialogAreHonoured) {
  area->Text(PagedLines(4) + "\r\n");
  struct Case {
    Choices choices;
    QList<int> printed;
  };
  const Case cases[] = {
      {{1, true, 0, 0}, {1, 2, 3, 4}},
      {{2, true, 0, 0}, {1, 2, 3, 4, 1, 2, 3, 4}},
      {{2, false, 0, 0}, {1, 1, 2, 2, 3, 3, 4, 4}},
      {{1, true, 2, 3}, {2, 3}},
      {{2, true, 2, 3}, {2, 3, 2, 3}},
      {{3, false, 4, 4}, {4, 4, 4}},
      {{1, true, 3, 9}, {3, 4}},
      {{1, true, 0, 0, true}, {4, 3, 2, 1}},
      {{2, true, 2, 4, true}, {4, 3, 2, 4, 3, 2}},
      {{2, false, 0, 0, true}, {4, 4, 3, 3, 2, 2, 1, 1}},
  };
  for (const Case& c : cases) {
    const Choices& o = c.choices;
    SCOPED_TRACE(std::to_string(o.copies) + (o.collate ? " collated " : " ") + std::to_string(o.from) + "-" +
                 std::to_string(o.to) + (o.reverse ? " reversed" : ""));
    EXPECT_EQ(PrintOn(fw::testing::PageOn(PdfPrinter(pdf, o))), 4);
    EXPECT_EQ(PrintedPages(), c.printed);
  }
  EXPECT_TRUE(fw::testing::Messages().empty());
}

TEST_F(PrintingTest, ARangeThatHoldsNoPagePrintsNothingAndSaysSo) {
  area->Text(PagedLines(2));
  QFile::remove(QString::fromStdString(pdf));
  EXPECT_EQ(PrintOn(fw::testing::PageOn(PdfPrinter(pdf, {.from = 3, .to = 5}))), 2);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
  ASSERT_EQ(fw::testing::Messages().size(), 1u);
  EXPECT_NE(fw::testing::Messages()[0].find("no page"), std::string::npos) << fw::testing::Messages()[0];
}

TEST_F(PrintingTest, AFileInAFolderThatDoesNotExistIsReportedAndGivesNoPage) {
  const std::string missing = QDir::temp().filePath("fw_print_no_folder_" + QString::number(getpid())).toStdString();
  const std::string file = missing + "/report.pdf";
  fw::testing::AnswerPrinterDialog(file);
  area->Text("text");
  EXPECT_EQ(Print(), -1);
  ASSERT_EQ(fw::testing::Messages().size(), 1u);
  const std::string& message = fw::testing::Messages()[0];
  EXPECT_NE(message.find("could not start"), std::string::npos) << message;
  EXPECT_NE(message.find(file), std::string::npos) << message;
  EXPECT_FALSE(QDir(QString::fromStdString(missing)).exists());
}

TEST_F(PrintingTest, APrinterThatDoesNotStartIsReportedWhenThePagesGoOut) {
  // A PDF printer without a file: Qt's printer refuses to begin.
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  area->Text(PagedLines(2));
  EXPECT_EQ(PrintOn(fw::testing::PageOn(std::move(printer))), 2);
  ASSERT_EQ(fw::testing::Messages().size(), 1u);
  EXPECT_NE(fw::testing::Messages()[0].find("could not start"), std::string::npos) << fw::testing::Messages()[0];
}

TEST_F(PrintingTest, AQuitWhilePrintingAbandonsTheJob) {
  area->Text(PagedLines(2));
  QFile::remove(QString::fromStdString(pdf));
  {
    fw::Ref<fw::Graphics> page = fw::testing::PageOn(PdfPrinter(pdf));
    fw::Ref<fw::StyledTextPrinter> printer = area->styledTextPrinter(page, 540);
    printer->DrawBlock(0, 0, 720);
    page->NextPage();
    fw::Quit(0);
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
  EXPECT_TRUE(fw::testing::Messages().empty());
}

TEST_F(PrintingTest, ACancelledDialogGivesNoPage) {
  fw::testing::AnswerPrinterDialog(std::nullopt);
  EXPECT_EQ(Print(), -1);
  EXPECT_EQ(fw::testing::PrinterDialogCount(), 1);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}

// Printing into a folder where the file cannot be written whole: nothing of it is left, and the
// message names the file.
class ShortDiskTest : public PrintingTest {
 protected:
  void SetUp() override {
    PrintingTest::SetUp();
    char name[] = "/tmp/fw_print_disk_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder = name;
    target = folder + "/report.pdf";
    // Full lines of letters and digits, which compress little: a file far larger than the room.
    std::mt19937 random(7);
    const std::string characters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const int lines = kPages * LinesPerBlock();
    std::string text;
    for (int line = 0; line < lines; ++line) {
      if (line > 0) text += "\r\n";
      for (int i = 0; i < 70; ++i) text += characters[random() % characters.size()];
    }
    area->Text(text);
    ASSERT_EQ(Print(), kPages);
    ASSERT_GT(QFileInfo(QString::fromStdString(pdf)).size(), 3 * kRoom);
    fw::testing::ClearRecords();
  }
  void TearDown() override {
    if (mounted) umount2(folder.c_str(), MNT_DETACH);
    QDir(QString::fromStdString(folder)).removeRecursively();
    PrintingTest::TearDown();
  }
  int PrintToTarget() {
    fw::testing::AnswerPrinterDialog(target);
    return Print();
  }
  void ExpectNoFileAndAMessage() {
    ASSERT_EQ(fw::testing::Messages().size(), 1u);
    const std::string& message = fw::testing::Messages()[0];
    EXPECT_NE(message.find(target), std::string::npos) << message;
    const QDir dir(QString::fromStdString(folder));
    EXPECT_TRUE(dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        << "left: " << dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(' ').toStdString();
  }
  static constexpr qint64 kRoom = 12 * 1024;
  static constexpr int kPages = 6;
  std::string folder, target;
  bool mounted = false;
};

TEST_F(ShortDiskTest, AFullDiskLeavesNoFileAndSaysSo) {
  const std::string options = "size=" + std::to_string(kRoom);
  if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
    GTEST_SKIP() << "a small disk needs the right to mount one: " << std::strerror(errno);
  }
  mounted = true;
  EXPECT_EQ(PrintToTarget(), kPages);
  ExpectNoFileAndAMessage();
}

TEST_F(ShortDiskTest, AFileSizeLimitLeavesNoFileAndSaysSo) {
  // The same fault without a mount: writes past the limit fail (EFBIG) instead of raising SIGXFSZ.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit low = old;
  low.rlim_cur = kRoom;
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
  const int blocks = PrintToTarget();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(blocks, kPages);
  ExpectNoFileAndAMessage();
}

}  // namespace
