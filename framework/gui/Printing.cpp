// Printing: a page from the print dialog, in units of 1/72 inch, and the text area's printer.

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "framework/core/Exceptions.h"
#include "framework/gui/Dialogs.h"
#include "framework/gui/Platform.h"
#include "framework/gui/Runtime.h"
#include "framework/gui/ControlImpl.h"
#include "framework/gui/TextAreaImpl.h"

namespace fw {

using detail::R;

namespace {

// A message from the end of a print job, which may run in a destructor: it throws nothing.
void Tell(const QString& message) noexcept {
  if (R().quitPending) return;
  try {
    detail::ShowMessageBox(detail::ToUtf8(message));
  } catch (...) {
    // Whatever shows the message failed; the job is over either way.
  }
}

QString PrinterNamed(const QPrinter& printer) {
  return printer.printerName().isEmpty() ? QStringLiteral("the printer")
                                         : QStringLiteral("the printer \"%1\"").arg(printer.printerName());
}

}  // namespace

struct Graphics::Impl {
  using Drawing = std::function<void(QPainter&)>;
  // The dialog's choices; the text is laid out for it.
  std::unique_ptr<QPrinter> printer;
  // Printing to a file: the file appears only once it is written whole.
  std::unique_ptr<QSaveFile> file;
  double unit = 1.0;  // device pixels per page unit

  // Every page is kept until the job ends, so that the dialog's page range, order and copies
  // can be applied to the whole text. Copies that the printing system does not make itself are
  // made here.
  std::vector<std::vector<Drawing>> pages{1};
  int copies = 1;
  bool collate = true;

  bool InRange(int number) const {
    if (printer->printRange() != QPrinter::PageRange) return true;
    const QPageRanges ranges = printer->pageRanges();
    return ranges.isEmpty() || ranges.contains(number);
  }

  // The pages to put out, in order, copies included.
  std::vector<const std::vector<Drawing>*> Sheets() const {
    std::vector<const std::vector<Drawing>*> chosen;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (InRange(static_cast<int>(i) + 1)) chosen.push_back(&pages[i]);
    }
    if (printer->pageOrder() == QPrinter::LastPageFirst) std::reverse(chosen.begin(), chosen.end());
    std::vector<const std::vector<Drawing>*> sheets;
    for (int c = 0; c < (collate ? copies : 1); ++c) {
      for (const auto* page : chosen) sheets.insert(sheets.end(), collate ? 1 : copies, page);
    }
    return sheets;
  }

  enum class Outcome { NotStarted, Failed, Done };
  static Outcome Draw(QPagedPaintDevice& device, const std::vector<const std::vector<Drawing>*>& sheets) {
    QPainter painter;
    if (!painter.begin(&device)) return Outcome::NotStarted;
    bool ok = true;
    for (std::size_t i = 0; ok && i < sheets.size(); ++i) {
      if (i > 0) ok = device.newPage();
      for (const Drawing& draw : *sheets[i]) draw(painter);
    }
    return painter.end() && ok ? Outcome::Done : Outcome::Failed;
  }

  void Finish() {
    // A quit while printing abandons the job: no part of the text goes out.
    if (R().quitPending) return;
    const std::vector<const std::vector<Drawing>*> sheets = Sheets();
    if (sheets.empty()) {
      Tell(QStringLiteral("The chosen page range holds no page; nothing was printed."));
      return;
    }
    if (!file) {
      const Outcome outcome = Draw(*printer, sheets);
      if (outcome == Outcome::NotStarted) {
        Tell(QStringLiteral("Printing could not start: %1 did not take the job.").arg(PrinterNamed(*printer)));
      } else if (outcome == Outcome::Failed) {
        Tell(QStringLiteral("Printing failed: %1 did not take the whole job.").arg(PrinterNamed(*printer)));
      }
      return;
    }
    QPdfWriter writer(file.get());
    writer.setPdfVersion(printer->pdfVersion());
    writer.setTitle(printer->docName());
    writer.setCreator(printer->creator());
    writer.setResolution(printer->resolution());
    writer.setPageLayout(printer->pageLayout());
    // Qt's PDF writer reports no failed write; the file does, and the flush names the cause.
    const bool drawn = Draw(writer, sheets) == Outcome::Done;
    if (drawn && file->flush() && file->error() == QFileDevice::NoError && file->commit()) return;
    const QString reason = file->errorString();
    file->cancelWriting();
    Tell(QStringLiteral("The file \"%1\" could not be written: %2. Nothing was saved.")
             .arg(QDir::toNativeSeparators(file->fileName()), reason));
  }

  ~Impl() {
    try {
      Finish();
    } catch (...) {
      Tell(QStringLiteral("Printing failed."));
    }
  }
};

Graphics::Graphics(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Graphics::~Graphics() = default;

void Graphics::NextPage() { impl_->pages.emplace_back(); }

namespace detail {

Ref<Graphics> PageOn(std::unique_ptr<QPrinter> printer) {
  const QPrinter& p = *printer;
  std::unique_ptr<QSaveFile> file;
  if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty()) {
    // Opened now, so that a file that cannot be made is reported before anything is drawn.
    file = std::make_unique<QSaveFile>(p.outputFileName());
    if (!file->open(QIODevice::WriteOnly)) {
      Tell(QStringLiteral("Printing could not start: the file \"%1\" cannot be written: %2.")
               .arg(QDir::toNativeSeparators(p.outputFileName()), file->errorString()));
      return {};
    }
  }
  auto impl = std::make_unique<Graphics::Impl>();
  if (!p.supportsMultipleCopies()) {
    impl->copies = std::clamp(p.copyCount(), 1, 999);
    impl->collate = p.collateCopies();
  }
  impl->unit = p.resolution() / 72.0;
  impl->file = std::move(file);
  impl->printer = std::move(printer);
  return RuntimeNewObject<Graphics>(std::move(impl));
}

}  // namespace detail

Ref<Graphics> PrinterSetup::ShowPrinterDialog() {
  if (R().quitPending) return {};
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  // A quarter inch all round: a 540 x 720 block fits on both Letter and A4.
  printer->setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
  const bool chosen = Platform().ChoosePrinter(*printer);
  detail::UnwindIfQuitting();
  if (!chosen) return {};
  Ref<Graphics> page = detail::PageOn(std::move(printer));
  // Closing the main window while a message was open ends the program.
  detail::UnwindIfQuitting();
  return page;
}

struct StyledTextPrinter::Impl {
  Ref<Graphics> page;
  // Shared with the drawings of the pages, which may be put out after the printer is gone.
  std::shared_ptr<QTextDocument> document = std::make_shared<QTextDocument>();
  QColor colour;
  double width = 0.0;  // device pixels
  struct LineSpan {
    const QTextLayout* layout;
    int line;
    double top, bottom;  // in the document, device pixels
  };
  std::vector<LineSpan> lines;
  std::size_t next = 0;
};

StyledTextPrinter::StyledTextPrinter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
StyledTextPrinter::~StyledTextPrinter() = default;

void StyledTextPrinter::DrawBlock(std::int64_t x, std::int64_t y, std::int64_t height) {
  Impl& p = *impl_;
  if (EOFReached()) return;
  Graphics::Impl& g = p.page->impl();
  const double top = p.lines[p.next].top;
  const double limit = top + static_cast<double>(std::max<std::int64_t>(0, height)) * g.unit + 0.01;
  // Whole lines only; the first one always, so that a line taller than the block still prints.
  std::size_t last = p.next;
  while (last + 1 < p.lines.size() && p.lines[last + 1].bottom <= limit) ++last;
  const QPointF origin(static_cast<double>(x) * g.unit, static_cast<double>(y) * g.unit - top);
  g.pages.back().push_back([document = p.document, lines = std::vector<Impl::LineSpan>(p.lines.begin() + static_cast<std::ptrdiff_t>(p.next),
                                                                                  p.lines.begin() + static_cast<std::ptrdiff_t>(last) + 1),
                       origin, colour = p.colour](QPainter& painter) {
    painter.save();
    painter.resetTransform();
    painter.translate(origin);
    painter.setPen(colour);
    // Line by line rather than clipped: text outside a clip would still be in the page's content.
    for (const Impl::LineSpan& span : lines) span.layout->lineAt(span.line).draw(&painter, span.layout->position());
    painter.restore();
  });
  p.next = last + 1;
}

bool StyledTextPrinter::EOFReached() const { return impl_->next >= impl_->lines.size(); }

namespace {

// The tab stop distance that puts stops `wanted` device pixels apart: Qt scales the distance by
// the device's resolution again, so it is measured rather than assumed.
double TabStopFor(const QFont& font, QPaintDevice* device, double wanted) {
  QTextLayout probe(QStringLiteral("\tx"), font, device);
  QTextOption option;
  option.setTabStopDistance(wanted);
  probe.setTextOption(option);
  probe.beginLayout();
  QTextLine line = probe.createLine();
  line.setLineWidth(1e6);
  probe.endLayout();
  const double got = line.cursorToX(1);
  return got > 0.0 ? wanted * wanted / got : wanted;
}

}  // namespace

Ref<StyledTextPrinter> TextArea::styledTextPrinter(const Ref<Graphics>& page, std::int64_t width) {
  if (page.IsNil()) throw NilObjectException("styledTextPrinter was given no page");
  const detail::TextAreaWidget& area = detail::AreaOf(*impl_);
  Graphics::Impl& g = page->impl();
  auto impl = std::make_unique<StyledTextPrinter::Impl>();
  impl->page = page;
  impl->colour = area.palette().color(QPalette::Active, QPalette::Text);
  impl->width = static_cast<double>(std::max<std::int64_t>(1, width)) * g.unit;
  QTextDocument& doc = *impl->document;
  // Laid out for the printer itself, in the area's font.
  doc.documentLayout()->setPaintDevice(g.printer.get());
  doc.setDocumentMargin(0.0);
  // On paper the design's font size is in true points (1/72 inch).
  QFont font = area.font();
  const PropertyValue size = impl_->Get("FontSize");
  const PropertyValue unit = impl_->Get("FontUnit");
  if (size.real > 0.0 && size.real < 1000.0 && (unit.integer == 0 || unit.integer == 2)) font.setPointSizeF(size.real);
  doc.setDefaultFont(font);
  QTextOption option = area.document()->defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  // Tab stops as far apart on paper, in page units, as on screen in the area's pixels.
  option.setTabStopDistance(TabStopFor(font, g.printer.get(), area.tabStopDistance() * g.unit));
  doc.setDefaultTextOption(option);
  QString text = detail::TextAreaWidget::Shown(area.Exact());
  // The line end after the last line ends that line; it starts no empty line on a page of its own.
  if (text.endsWith(QChar(0x2029))) text.chop(1);
  text.replace(QChar(0x2029), QLatin1Char('\n'));
  doc.setPlainText(text);
  doc.setTextWidth(impl->width);
  (void)doc.size();  // lays the whole text out
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    const double blockTop = layout->position().y();
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      impl->lines.push_back({layout, i, blockTop + line.y(), blockTop + line.y() + line.height()});
    }
  }
  return RuntimeNewObject<StyledTextPrinter>(std::move(impl));
}

}  // namespace fw
