// Printing: a page from the print dialog, in units of 1/72 inch, and the text area's printer.

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
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

struct Graphics::Impl {
  using Drawing = std::function<void(QPainter&)>;
  std::unique_ptr<QPrinter> printer;
  QPainter painter;
  double unit = 1.0;  // device pixels per page unit

  // The program draws page after page; a page is put out when it is finished, and only when the
  // dialog's page range holds it. Copies that the printing system does not make itself are made
  // here: page by page, or, collated, the whole range again at the end.
  int page = 1;
  std::vector<Drawing> current;
  std::vector<std::vector<Drawing>> kept;  // for collated copies
  int copies = 1;
  bool collate = true;
  bool putOut = false;  // a page is on paper already: the next one needs a new sheet

  bool InRange(int number) const {
    if (printer->printRange() != QPrinter::PageRange) return true;
    const QPageRanges ranges = printer->pageRanges();
    return ranges.isEmpty() || ranges.contains(number);
  }
  void PutOut(const std::vector<Drawing>& drawings) {
    if (putOut) printer->newPage();
    putOut = true;
    for (const Drawing& draw : drawings) draw(painter);
  }
  void FinishPage() {
    if (InRange(page)) {
      for (int i = 0; i < (collate ? 1 : copies); ++i) PutOut(current);
      if (collate && copies > 1) kept.push_back(current);
    }
    current.clear();
    ++page;
  }

  ~Impl() {
    if (!painter.isActive()) return;
    FinishPage();
    for (int i = 1; i < copies; ++i) {
      for (const std::vector<Drawing>& drawings : kept) PutOut(drawings);
    }
    painter.end();  // finishes the print job
  }
};

Graphics::Graphics(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Graphics::~Graphics() = default;

void Graphics::NextPage() {
  Impl& g = *impl_;
  if (!g.painter.isActive()) throw RuntimeException("the print job has ended");
  g.FinishPage();
}

namespace detail {

Ref<Graphics> PageOn(std::unique_ptr<QPrinter> printer) {
  auto impl = std::make_unique<Graphics::Impl>();
  impl->printer = std::move(printer);
  QPrinter& p = *impl->printer;
  if (!p.supportsMultipleCopies()) {
    impl->copies = std::clamp(p.copyCount(), 1, 999);
    impl->collate = p.collateCopies();
  }
  if (!impl->painter.begin(&p)) throw RuntimeException("the printer could not be started");
  impl->unit = p.resolution() / 72.0;
  impl->painter.scale(impl->unit, impl->unit);
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
  return detail::PageOn(std::move(printer));
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
  if (!g.painter.isActive()) throw RuntimeException("the print job has ended");
  const double top = p.lines[p.next].top;
  const double limit = top + static_cast<double>(std::max<std::int64_t>(0, height)) * g.unit + 0.01;
  // Whole lines only; the first one always, so that a line taller than the block still prints.
  std::size_t last = p.next;
  while (last + 1 < p.lines.size() && p.lines[last + 1].bottom <= limit) ++last;
  const QPointF origin(static_cast<double>(x) * g.unit, static_cast<double>(y) * g.unit - top);
  g.current.push_back([document = p.document, lines = std::vector<Impl::LineSpan>(p.lines.begin() + static_cast<std::ptrdiff_t>(p.next),
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
