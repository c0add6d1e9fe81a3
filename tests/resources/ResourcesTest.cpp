// The compiled Windows resources (read back from windres's .res output) and the generated artwork.

#include "resources/Version.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kIcon = 3, kGroupIcon = 14, kVersion = 16, kManifest = 24;

std::uint32_t U16(const Bytes& b, std::size_t at) {
  if (at + 2 > b.size()) throw std::out_of_range("read past the end");
  return b[at] | b[at + 1] << 8;
}
std::uint32_t U32(const Bytes& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

// A NUL-terminated UTF-16 string at `at`; `at` ends past the NUL.
std::string Utf16z(const Bytes& b, std::size_t& at) {
  std::u16string s;
  for (char16_t c; (c = static_cast<char16_t>(U16(b, at))) != 0; at += 2) s += c;
  at += 2;
  return QString::fromStdU16String(s).toStdString();
}

struct Resource {
  int type = 0, name = 0;  // -1 for a resource named by a string
  std::uint32_t language = 0;
  Bytes data;
};

// The .res format: a sequence of headers, each followed by its data, everything on 4-byte bounds.
std::vector<Resource> ReadRes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read " + path +
                             ": it is compiled by x86_64-w64-mingw32-windres "
                             "(package binutils-mingw-w64-x86-64, scripts/setup.sh --test)");
  const Bytes file{std::istreambuf_iterator<char>(in), {}};
  std::vector<Resource> out;
  for (std::size_t pos = 0; pos < file.size();) {
    const std::uint32_t dataSize = U32(file, pos), headerSize = U32(file, pos + 4);
    std::size_t at = pos + 8;
    auto id = [&] {
      if (U16(file, at) == 0xFFFF) {
        at += 4;
        return static_cast<int>(U16(file, at - 2));
      }
      Utf16z(file, at);
      return -1;
    };
    Resource r;
    r.type = id();
    r.name = id();
    at = Align4(at);
    r.language = U16(file, at + 6);  // after DataVersion and MemoryFlags
    if (at + 16 != pos + headerSize) throw std::runtime_error("malformed resource header");
    if (pos + headerSize + dataSize > file.size()) throw std::runtime_error("resource data cut short");
    r.data.assign(file.begin() + pos + headerSize, file.begin() + pos + headerSize + dataSize);
    if (!(r.type == 0 && r.name == 0 && dataSize == 0)) out.push_back(std::move(r));  // skip the leading null entry
    pos = Align4(pos + headerSize + dataSize);
  }
  return out;
}

// One node of a version block: key, value and children.
struct VersionNode {
  std::string key;
  bool text = false;
  Bytes value;
  std::vector<VersionNode> children;

  const VersionNode& Child(const std::string& k) const {
    for (const VersionNode& c : children)
      if (c.key == k) return c;
    throw std::runtime_error("no version node " + k + " under " + key);
  }
  std::string Text() const {
    std::u16string s;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) s += static_cast<char16_t>(value[i] | value[i + 1] << 8);
    while (!s.empty() && s.back() == u'\0') s.pop_back();
    return QString::fromStdU16String(s).toStdString();
  }
};

VersionNode ReadVersionNode(const Bytes& b, std::size_t at) {
  const std::size_t end = at + U16(b, at);
  VersionNode n;
  const std::uint32_t valueLength = U16(b, at + 2);
  n.text = U16(b, at + 4) == 1;
  std::size_t p = at + 6;
  n.key = Utf16z(b, p);
  p = Align4(p);
  const std::size_t valueBytes = n.text ? 2 * valueLength : valueLength;  // text lengths count characters
  if (end > b.size() || p + valueBytes > end) throw std::runtime_error("malformed version node " + n.key);
  n.value.assign(b.begin() + p, b.begin() + p + valueBytes);
  for (p = Align4(p + valueBytes); p < end; p = Align4(p + U16(b, p))) n.children.push_back(ReadVersionNode(b, p));
  return n;
}

class WindowsResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { resources_ = new std::vector<Resource>(ReadRes(TESSIVAR_RES_FILE)); }
  static void TearDownTestSuite() {
    delete resources_;
    resources_ = nullptr;
  }

  static const Resource& Find(int type, int name) {
    for (const Resource& r : *resources_)
      if (r.type == type && r.name == name) return r;
    throw std::runtime_error("no resource of type " + std::to_string(type) + " named " + std::to_string(name));
  }

  static std::vector<Resource>* resources_;
};
std::vector<Resource>* WindowsResources::resources_ = nullptr;

TEST_F(WindowsResources, HoldsTheIconGroupManifestAndVersionBlockAllInUsEnglish) {
  int icons = 0;
  for (const Resource& r : *resources_) {
    SCOPED_TRACE("type " + std::to_string(r.type) + " name " + std::to_string(r.name));
    EXPECT_EQ(r.language, 1033u);
    if (r.type == kIcon)
      ++icons;
    else
      EXPECT_TRUE((r.type == kGroupIcon && r.name == 102) || (r.type == kManifest && r.name == 1) ||
                  (r.type == kVersion && r.name == 1));
  }
  EXPECT_EQ(icons, 7);
  EXPECT_EQ(resources_->size(), 10u);
}

TEST_F(WindowsResources, IconGroupHoldsSevenUncompressedBitmapsWithMasksInOrder) {
  struct Image {
    int size, bits;
  };
  const std::vector<Image> expected{{48, 8}, {32, 8}, {16, 8}, {256, 32}, {48, 32}, {32, 32}, {16, 32}};
  const Bytes& group = Find(kGroupIcon, 102).data;
  ASSERT_GE(group.size(), 6u);
  EXPECT_EQ(U16(group, 0), 0u);
  EXPECT_EQ(U16(group, 2), 1u);  // icons, not cursors
  ASSERT_EQ(U16(group, 4), expected.size());
  ASSERT_EQ(group.size(), 6 + 14 * expected.size());

  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto [size, bits] = expected[i];
    SCOPED_TRACE("image " + std::to_string(i) + ": " + std::to_string(size) + " px, " + std::to_string(bits) +
                 " bits");
    const std::size_t e = 6 + 14 * i;
    EXPECT_EQ(group[e], size & 0xFF);  // 256 is stored as 0
    EXPECT_EQ(group[e + 1], size & 0xFF);
    EXPECT_EQ(group[e + 2], 0);  // no colour count at 8 bits and more
    EXPECT_EQ(U16(group, e + 4), 1u);
    EXPECT_EQ(U16(group, e + 6), static_cast<std::uint32_t>(bits));

    const Bytes& image = Find(kIcon, static_cast<int>(U16(group, e + 12))).data;
    EXPECT_EQ(U32(group, e + 8), image.size());
    ASSERT_GE(image.size(), 40u);
    EXPECT_NE(Bytes(image.begin(), image.begin() + 4), (Bytes{0x89, 'P', 'N', 'G'}));
    EXPECT_EQ(U32(image, 0), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(U32(image, 4), static_cast<std::uint32_t>(size));
    EXPECT_EQ(U32(image, 8), static_cast<std::uint32_t>(2 * size));  // colour bitmap and mask
    EXPECT_EQ(U16(image, 12), 1u);
    EXPECT_EQ(U16(image, 14), static_cast<std::uint32_t>(bits));
    EXPECT_EQ(U32(image, 16), 0u);  // BI_RGB: uncompressed
    const std::uint32_t coloursUsed = U32(image, 32);
    const std::size_t palette = bits == 8 ? 4 * (coloursUsed == 0 ? 256 : coloursUsed) : 0;
    EXPECT_LE(palette, 1024u);
    const std::size_t colourRow = Align4(static_cast<std::size_t>(size) * bits / 8), maskRow = Align4((size + 7) / 8);
    EXPECT_EQ(image.size(), 40 + palette + size * (colourRow + maskRow));
  }
}

TEST_F(WindowsResources, ManifestRunsAsInvokerWithCommonControlsSixAndPerMonitorDpi) {
  const Bytes& data = Find(kManifest, 1).data;
  const std::string manifest(data.begin(), data.end());
  const std::vector<std::string> required{
      R"(<assemblyIdentity version="3.0.0.0" processorArchitecture="*" name="Tessivar.exe" type="win32"/>)",
      R"(<supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>)",  // 7
      R"(<supportedOS Id="{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"/>)",  // 8
      R"(<supportedOS Id="{1f676c76-80e1-4239-95bb-83d0f6d0da78}"/>)",  // 8.1
      R"(<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>)",  // 10
      R"(<requestedExecutionLevel level="asInvoker" uiAccess="False"/>)",
      R"(<assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" )"
      R"(processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>)",
      R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">True/pm</dpiAware>)",
      R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">)"
      R"(permonitorv2,permonitor</dpiAwareness>)",
  };
  for (const std::string& item : required) EXPECT_NE(manifest.find(item), std::string::npos) << item;
  EXPECT_EQ(manifest.find("e2011457-1546-43c5-a5fe-008deee3d3f0"), std::string::npos) << "no Vista entry";
  std::size_t systems = 0;
  for (std::size_t at = 0; (at = manifest.find("<supportedOS", at)) != std::string::npos; ++at) ++systems;
  EXPECT_EQ(systems, 4u);
}

TEST_F(WindowsResources, VersionBlockReadsBack) {
  const VersionNode root = ReadVersionNode(Find(kVersion, 1).data, 0);
  EXPECT_EQ(root.key, "VS_VERSION_INFO");
  ASSERT_EQ(root.value.size(), 52u);
  const std::vector<std::pair<const char*, std::uint32_t>> fixed{
      {"signature", 0xFEEF04BD},
      {"file version high", 0x00030000},
      {"file version low", 0},
      {"product version high", 0x00030000},
      {"product version low", 0},
      {"flags mask", 0},
      {"flags", 0},
      {"operating system", 4},
      {"file type", 1},
      {"subtype", 0},
      {"date high", 0},
      {"date low", 0},
  };
  const std::vector<std::size_t> offsets{0, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48};  // 4 is the struct version
  for (std::size_t i = 0; i < fixed.size(); ++i)
    EXPECT_EQ(U32(root.value, offsets[i]), fixed[i].second) << fixed[i].first;

  const VersionNode& table = root.Child("StringFileInfo").Child("040904b0");
  std::vector<std::pair<std::string, std::string>> strings;
  for (const VersionNode& s : table.children) strings.emplace_back(s.key, s.Text());
  const std::vector<std::pair<std::string, std::string>> expected{
      {"CompanyName", TESSIVAR_PUBLISHER},
      {"LegalCopyright", TESSIVAR_PUBLISHER},
      {"FileVersion", "3.0.0.0"},
      {"FileDescription", "Tessivar"},
      {"ProductVersion", "3.0"},
      {"ProductName", "Tessivar"},
      {"OriginalFilename", "Tessivar.exe"},
      {"InternalName", ""},
      {"LongVersion", TESSIVAR_CREDIT_LINE},
      {"PackageInfo", "Tessivar"},
      {"Release", "Final"},
  };
  EXPECT_EQ(strings, expected);
  EXPECT_EQ(root.Child("StringFileInfo").children.size(), 1u);

  const VersionNode& translation = root.Child("VarFileInfo").Child("Translation");
  EXPECT_EQ(translation.value, (Bytes{0x09, 0x04, 0xB0, 0x04}));
}

QString ResourcePath(const char* name) { return QString(TESSIVAR_RESOURCE_DIR "/") + name; }

TEST(Artwork, PicturesHaveTheShownRatioAtLeastAtTheShownSize) {
  struct Case {
    const char* file;
    int width, height;
  };
  for (const Case& c : {Case{"Tessivar.png", 374, 99}, Case{"NumBlocks.png", 65, 56}}) {
    SCOPED_TRACE(c.file);
    const QImage image(ResourcePath(c.file));
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), c.width);
    EXPECT_EQ(image.width() * c.height, image.height() * c.width);
  }
}

TEST(Artwork, PicturesAndIconAlsoLieBesideTheProgram) {
  for (const char* file : {"Tessivar.png", "NumBlocks.png", "Tessivar.ico"}) {
    SCOPED_TRACE(file);
    const QFileInfo besideProgram(QString(TESSIVAR_APP_DIR "/") + file);
    ASSERT_TRUE(besideProgram.exists());
    EXPECT_EQ(besideProgram.size(), QFileInfo(ResourcePath(file)).size());
  }
}

// Qt's own icon reader is a second opinion on the file: each palette image must look like its
// full-colour twin, so palette, pixel rows and mask all have to be right.
TEST(Artwork, PaletteIconImagesMatchTheirFullColourTwins) {
  QImageReader reader(ResourcePath("Tessivar.ico"));
  ASSERT_EQ(reader.imageCount(), 7);
  std::vector<QImage> images;
  for (int i = 0; i < 7; ++i) {
    ASSERT_TRUE(reader.jumpToImage(i));
    images.push_back(reader.read().convertToFormat(QImage::Format_ARGB32));
  }
  const std::vector<int> sizes{48, 32, 16, 256, 48, 32, 16};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(images[i].size(), QSize(sizes[i], sizes[i])) << "image " << i;

  for (int i = 0; i < 3; ++i) {
    const QImage &palette = images[i], &full = images[i + 4];
    SCOPED_TRACE("size " + std::to_string(palette.width()));
    ASSERT_EQ(palette.size(), full.size());
    int opaque = 0, differentMask = 0;
    double colourError = 0;
    for (int y = 0; y < full.height(); ++y) {
      for (int x = 0; x < full.width(); ++x) {
        const QRgb a = palette.pixel(x, y), b = full.pixel(x, y);
        if ((qAlpha(a) >= 128) != (qAlpha(b) >= 128)) ++differentMask;
        if (qAlpha(b) == 255) {
          ++opaque;
          colourError += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
      }
    }
    EXPECT_EQ(differentMask, 0);
    EXPECT_GT(opaque, full.width() * full.height() / 2);
    EXPECT_LT(colourError / opaque, 6.0) << "mean colour error per opaque pixel";
  }
}

}  // namespace
