// Draws the program's artwork: the banner, the emblem and the application icon.
// Usage: tessivar-art [--theme-icons THEMEDIR NAME] DIR...
// Writes Tessivar.png, NumBlocks.png and Tessivar.ico into each DIR, and with --theme-icons the
// icon's full-colour images as THEMEDIR/hicolor/<size>x<size>/apps/NAME.png, the form in which
// the Linux desktop takes an application's icon.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QSaveFile>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

const QColor kTeal(0x18, 0x60, 0x5A);
const QColor kMint(0x9F, 0xD8, 0xCE);
const QColor kGrey(0x66, 0x66, 0x66);

// Drawn at twice the size the windows show, so that the pictures stay sharp on high-DPI screens.
constexpr int kScale = 2;

QColor Tint(const QColor& c, double amount) {
  // amount 0 is white, 1 is the colour itself
  auto mix = [amount](int v) { return static_cast<int>(255 - (255 - v) * amount + 0.5); };
  return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

QImage Canvas(int width, int height) {
  QImage image(width * kScale, height * kScale, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// Smooths the painter's drawing and lets it draw in the sizes the windows show.
void Prepare(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(kScale, kScale);
}

QFont Font(int pixelSize, QFont::Weight weight = QFont::Normal, qreal letterSpacing = 0) {
  QFont font("DejaVu Sans");
  font.setPixelSize(pixelSize);
  font.setWeight(weight);
  font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
  return font;
}

// The banner: the name and a scree plot whose first bars rise above the random-data line.
// The lowest rows stay empty: the main window lays its by-line over them.
QImage Banner() {
  QImage image = Canvas(374, 99);
  QPainter p(&image);
  Prepare(p);

  p.setFont(Font(42, QFont::Bold, -0.8));
  p.setPen(kTeal);
  p.drawText(QPointF(20, 54), "Tessivar");

  p.setFont(Font(12, QFont::Normal, 0.6));
  p.setPen(kGrey);
  p.drawText(QPointF(23, 74), "parallel analysis");

  const std::array<double, 9> data{5.1, 2.45, 1.62, 1.08, 0.9, 0.74, 0.6, 0.5, 0.41};
  const std::array<double, 9> random{1.55, 1.38, 1.25, 1.14, 1.03, 0.93, 0.83, 0.73, 0.62};
  const double left = 238, base = 80, barWidth = 10, step = 14, unit = 60 / data[0];
  auto x = [&](std::size_t i) { return left + i * step + barWidth / 2; };
  auto y = [&](double value) { return base - value * unit; };

  p.setPen(Qt::NoPen);
  for (std::size_t i = 0; i < data.size(); ++i) {
    p.setBrush(Tint(kTeal, data[i] > random[i] ? 0.30 : 0.13));
    p.drawRoundedRect(QRectF(left + i * step, y(data[i]), barWidth, base - y(data[i])), 1.5, 1.5);
  }
  p.setPen(QPen(Tint(kTeal, 0.55), 1));
  p.drawLine(QPointF(left - 6, base + 0.5), QPointF(x(data.size() - 1) + 11, base + 0.5));

  QPainterPath randomLine(QPointF(x(0), y(random[0])));
  for (std::size_t i = 1; i < random.size(); ++i) randomLine.lineTo(x(i), y(random[i]));
  QPen dashed(kGrey, 1.1, Qt::CustomDashLine, Qt::RoundCap);
  dashed.setDashPattern({2.5, 2.5});
  p.setPen(dashed);
  p.setBrush(Qt::NoBrush);
  p.drawPath(randomLine);

  QPainterPath dataLine(QPointF(x(0), y(data[0])));
  for (std::size_t i = 1; i < data.size(); ++i) dataLine.lineTo(x(i), y(data[i]));
  p.setPen(QPen(kTeal, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(dataLine);
  p.setBrush(Qt::white);
  p.setPen(QPen(kTeal, 1.4));
  for (std::size_t i = 0; i < data.size(); ++i) p.drawEllipse(QPointF(x(i), y(data[i])), 2.2, 2.2);
  return image;
}

// The emblem: columns of numbered blocks, three, two and one high.
QImage Emblem() {
  QImage image = Canvas(65, 56);
  QPainter p(&image);
  Prepare(p);
  p.setFont(Font(11, QFont::Bold));

  const double block = 16, gap = 2, left = (65 - 3 * block - 2 * gap) / 2, bottom = 54;
  const std::array<double, 3> shade{1.0, 0.72, 0.45};
  int label = 1;
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3 - column; ++row) {
      const QRectF r(left + column * (block + gap), bottom - (row + 1) * block - row * gap, block, block);
      p.setPen(Qt::NoPen);
      p.setBrush(Tint(kTeal, shade[column]));
      p.drawRoundedRect(r, 2.5, 2.5);
      p.setPen(Qt::white);
      p.drawText(r, Qt::AlignCenter, QString::number(label++));
    }
  }
  return image;
}

// One icon image: white scree bars on a teal tile, laid on whole pixels at the small sizes.
QImage Icon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kTeal);
  const double radius = std::max(2.0, size * 0.18);
  p.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);

  const int bars = size <= 16 ? 3 : 4;
  const std::array<double, 4> heights{1.0, 0.6, 0.4, 0.28};
  const int margin = std::max(3, size * 3 / 16);
  const int gap = std::max(1, size / 16);
  const int barWidth = (size - 2 * margin - (bars - 1) * gap) / bars;
  const int left = (size - bars * barWidth - (bars - 1) * gap) / 2;
  const int top = margin, base = size - margin;
  p.setBrush(Qt::white);
  for (int i = 0; i < bars; ++i) {
    const int h = std::max(1, static_cast<int>((base - top) * heights[i] + 0.5));
    p.drawRect(QRectF(left + i * (barWidth + gap), base - h, barWidth, h));
  }
  if (size >= 32) {
    // the random-data line across the bars
    const double span = base - top;
    p.setPen(QPen(kMint, std::max(1.0, size / 24.0), Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(left - gap, base - span * 0.56), QPointF(size - left + gap, base - span * 0.36));
  }
  return image;
}

// The icon colours blended along every pair of them, so that anti-aliased edges find a close entry.
QList<QRgb> IconPalette() {
  const std::array<QColor, 4> colours{Qt::black, Qt::white, kTeal, kMint};
  QList<QRgb> table{qRgb(0, 0, 0)};  // entry 0 is black: what transparent pixels hold
  constexpr int kSteps = 41;
  for (std::size_t a = 0; a < colours.size(); ++a) {
    for (std::size_t b = a + 1; b < colours.size(); ++b) {
      for (int s = 0; s <= kSteps; ++s) {
        const double t = static_cast<double>(s) / kSteps;
        auto mix = [t](int u, int v) { return static_cast<int>(u + (v - u) * t + 0.5); };
        const QRgb c = qRgb(mix(colours[a].red(), colours[b].red()), mix(colours[a].green(), colours[b].green()),
                            mix(colours[a].blue(), colours[b].blue()));
        if (!table.contains(c)) table.append(c);
      }
    }
  }
  while (table.size() < 256) table.append(qRgb(0, 0, 0));
  return table.mid(0, 256);
}

void Put16(QByteArray& out, unsigned v) {
  out.append(static_cast<char>(v & 0xFF));
  out.append(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(QByteArray& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A bitmap as an icon file holds it: header with doubled height, colours bottom-up, then the AND mask.
// Pixels with alpha below half are transparent in the mask; in an 8-bit image they also hold black.
QByteArray IconBitmap(const QImage& source, int bits) {
  const int w = source.width(), h = source.height();
  QImage argb = source.convertToFormat(QImage::Format_ARGB32);
  QImage indexed;
  if (bits == 8) {
    QImage opaque = argb;
    for (int y = 0; y < h; ++y) {
      auto* line = reinterpret_cast<QRgb*>(opaque.scanLine(y));
      for (int x = 0; x < w; ++x) line[x] = qAlpha(line[x]) < 128 ? qRgb(0, 0, 0) : (line[x] | 0xFF000000u);
    }
    indexed = opaque.convertToFormat(QImage::Format_Indexed8, IconPalette(), Qt::ThresholdDither);
  }
  const int colourRow = bits == 8 ? (w + 3) / 4 * 4 : w * 4;
  const int maskRow = (w + 31) / 32 * 4;

  QByteArray out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(w));
  Put32(out, static_cast<std::uint32_t>(2 * h));
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, static_cast<std::uint32_t>((colourRow + maskRow) * h));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, bits == 8 ? 256 : 0);
  Put32(out, 0);
  if (bits == 8) {
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
      const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
      out.append(static_cast<char>(qBlue(c)));
      out.append(static_cast<char>(qGreen(c)));
      out.append(static_cast<char>(qRed(c)));
      out.append('\0');
    }
  }
  for (int y = h - 1; y >= 0; --y) {
    QByteArray row(colourRow, '\0');
    for (int x = 0; x < w; ++x) {
      if (bits == 8) {
        row[x] = static_cast<char>(indexed.pixelIndex(x, y));
      } else {
        const QRgb c = argb.pixel(x, y);
        row[4 * x] = static_cast<char>(qBlue(c));
        row[4 * x + 1] = static_cast<char>(qGreen(c));
        row[4 * x + 2] = static_cast<char>(qRed(c));
        row[4 * x + 3] = static_cast<char>(qAlpha(c));
      }
    }
    out.append(row);
  }
  for (int y = h - 1; y >= 0; --y) {
    QByteArray row(maskRow, '\0');
    for (int x = 0; x < w; ++x)
      if (qAlpha(argb.pixel(x, y)) < 128) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    out.append(row);
  }
  return out;
}

// The icon file's images: 48, 32 and 16 pixels with a palette for old displays, then 256 to 16 in
// full colour.
struct IconEntry {
  int size, bits;
};
constexpr std::array<IconEntry, 7> kIconEntries{
    {{48, 8}, {32, 8}, {16, 8}, {256, 32}, {48, 32}, {32, 32}, {16, 32}}};

QByteArray IconFile() {
  const auto& entries = kIconEntries;
  std::vector<QByteArray> bitmaps;
  for (const IconEntry& e : entries) bitmaps.push_back(IconBitmap(Icon(e.size), e.bits));

  QByteArray out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, entries.size());
  std::uint32_t offset = 6 + 16 * entries.size();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out.append(static_cast<char>(entries[i].size & 0xFF));  // 256 is written as 0
    out.append(static_cast<char>(entries[i].size & 0xFF));
    out.append('\0');  // colour count: 0 for 256 colours and more
    out.append('\0');
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(entries[i].bits));
    Put32(out, static_cast<std::uint32_t>(bitmaps[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(bitmaps[i].size());
  }
  for (const QByteArray& b : bitmaps) out.append(b);
  return out;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The full-colour icon images as theme icons, each the very pixels of its twin in the icon file.
// The theme folder is drawn afresh, so that it holds no size the icon file no longer has.
bool WriteThemeIcons(const QString& themeDir, const QString& name) {
  QDir hicolor(QDir(themeDir).filePath("hicolor"));
  if (!hicolor.removeRecursively()) return false;
  for (const IconEntry& e : kIconEntries) {
    if (e.bits != 32) continue;
    const QString apps = QString("%1x%1/apps").arg(e.size);
    if (!hicolor.mkpath(apps) || !Icon(e.size).save(hicolor.filePath(apps + "/" + name + ".png"))) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // A build step: no display is needed or wanted.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  int first = 1;
  if (argc > 1 && std::string_view(argv[1]) == "--theme-icons") first = 4;
  if (argc <= first) {
    std::fprintf(stderr, "usage: %s [--theme-icons THEMEDIR NAME] DIR...\n", argv[0]);
    return 2;
  }
  if (first == 4 && !WriteThemeIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]))) {
    std::fprintf(stderr, "%s: cannot write the theme icons into %s\n", argv[0], argv[2]);
    return 1;
  }
  const QImage banner = Banner(), emblem = Emblem();
  const QByteArray icon = IconFile();
  for (int i = first; i < argc; ++i) {
    const QDir dir(QString::fromLocal8Bit(argv[i]));
    if (!QDir().mkpath(dir.path()) || !banner.save(dir.filePath("Tessivar.png")) ||
        !emblem.save(dir.filePath("NumBlocks.png")) || !Write(dir.filePath("Tessivar.ico"), icon)) {
      std::fprintf(stderr, "%s: cannot write the artwork into %s\n", argv[0], argv[i]);
      return 1;
    }
  }
  return 0;
}
