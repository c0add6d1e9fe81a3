// The property list codec, byte by byte.
#include <gtest/gtest.h>

#include <string>

#include "framework/core/Exceptions.h"
#include "framework/core/PropertyString.h"

namespace {

using fw::DecodePropertyList;
using fw::PropertyListWriter;
using fw::PropertySchema;
using fw::PropertyString;
using fw::PropertyType;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out.push_back(static_cast<char>(b));
  return out;
}

PropertyString FromPayload(const std::string& payload) {
  std::string block(1, static_cast<char>(payload.size() < 255 ? payload.size() : 255));
  block += payload;
  block.push_back('\0');
  return PropertyString(block, static_cast<std::uint32_t>(payload.size()));
}

const PropertySchema kLine = {{"Index", PropertyType::Integer},   {"TabPanelIndex", PropertyType::Integer},
                              {"Name", PropertyType::Text},       {"Transparent", PropertyType::Boolean},
                              {"Visible", PropertyType::Boolean}, {"InitialParent", PropertyType::Text},
                              {"X1", PropertyType::Double},       {"X2", PropertyType::Double},
                              {"Y1", PropertyType::Double},       {"Y2", PropertyType::Double},
                              {"Thickness", PropertyType::Double}, {"LineColor", PropertyType::Colour}};

PropertyString Line1() {
  return PropertyListWriter()
      .Text("Name", "Line1")
      .Integer("Index", -2147483648LL)
      .Double("X1", 22.0)
      .Double("X2", 478.0)
      .Double("Y1", 250.0)
      .Double("Y2", 250.0)
      .Integer("TabPanelIndex", 0)
      .Double("Thickness", 8.0)
      .Colour("LineColor", 0x18605A)
      .Boolean("Transparent", false)
      .Boolean("Visible", true)
      .Text("InitialParent", "")
      .Build();
}

TEST(PropertyString, Line1ExampleBytes) {
  const PropertyString list = Line1();
  ASSERT_EQ(list.ByteLength(), 166u);
  EXPECT_EQ(list.LengthByte(), 0xA6);
  EXPECT_EQ(list.Block().size(), 168u);
  EXPECT_EQ(list.Block().back(), '\0');
  const std::string expectedStart = "Name " + Bytes({5, 0, 0, 0}) + "Line1" + "Index " +
                                    Bytes({0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0xFF}) + "X1 " +
                                    Bytes({0, 0, 0, 0, 0, 0, 0x36, 0x40});
  const std::string expectedEnd = "Transparent " + Bytes({0}) + "Visible " + Bytes({1}) + "InitialParent " + Bytes({0, 0, 0, 0});
  const std::string_view payload = list.Payload();
  EXPECT_EQ(payload.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(payload.substr(payload.size() - expectedEnd.size()), expectedEnd);
  EXPECT_NE(payload.find("LineColor " + Bytes({0x5A, 0x60, 0x18, 0x00})), std::string_view::npos);

  const auto entries = DecodePropertyList(list, kLine);
  ASSERT_EQ(entries.size(), 12u);
  EXPECT_EQ(entries[0].first, "Name");
  EXPECT_EQ(entries[0].second.text, "Line1");
  EXPECT_EQ(entries[1].second.integer, -2147483648LL);
  EXPECT_EQ(entries[2].second.real, 22.0);
  EXPECT_EQ(entries[7].second.real, 8.0);
  EXPECT_EQ(entries[8].second.colour, 0x0018605Au);
  EXPECT_FALSE(entries[9].second.boolean);
  EXPECT_TRUE(entries[10].second.boolean);
  EXPECT_EQ(entries[11].second.type, PropertyType::Text);
  EXPECT_EQ(entries[11].second.text, "");
}

TEST(PropertyString, LengthByteSaturatesAt255) {
  struct Case {
    std::size_t payload;
    int lengthByte;
  };
  for (const Case c : {Case{0, 0x00}, Case{31, 0x1F}, Case{166, 0xA6}, Case{254, 0xFE}, Case{255, 0xFF},
                       Case{3384, 0xFF}}) {
    SCOPED_TRACE(c.payload);
    // One text entry "T " + count + bytes makes any length from 6 up.
    PropertyListWriter writer;
    if (c.payload >= 6) writer.Text("T", std::string(c.payload - 6, 'x'));
    const PropertyString list = writer.Build();
    EXPECT_EQ(list.ByteLength(), c.payload);
    EXPECT_EQ(list.LengthByte(), c.lengthByte);
    EXPECT_EQ(list.Block().size(), c.payload + 2);
  }
  // The splash timer's list: 31 bytes.
  const PropertyString timer = PropertyListWriter().Integer("Period", 4000).EnumWide("RunMode", 1).Build();
  EXPECT_EQ(timer.ByteLength(), 31u);
  EXPECT_EQ(timer.LengthByte(), 0x1F);
}

TEST(PropertyString, DecodesByDeclaredTypeAndSpelling) {
  const PropertySchema schema = {{"MultiLine", PropertyType::Boolean}, {"MacProcId", PropertyType::Integer},
                                 {"TextColor", PropertyType::Colour},  {"FontSize", PropertyType::Single},
                                 {"FontUnit", PropertyType::EnumNarrow}, {"Value", PropertyType::Text},
                                 {"Transparent", PropertyType::Boolean}, {"Index", PropertyType::Integer}};
  const std::string help(2703, 'h');
  const std::string payload = "Multiline " + Bytes({1}) + "MacProcID " + Bytes({7, 0, 0, 0, 0, 0, 0, 0}) +
                              "TextColor " + Bytes({0x1D, 0x1F, 0xEF, 0x00}) + "FontSize " +
                              Bytes({0, 0, 0x20, 0x41}) + "FontUnit " + Bytes({0xFE}) + "Value " +
                              Bytes({0x8F, 0x0A, 0, 0}) + help + "Transparent " + Bytes({1}) + "TRANSPARENT " +
                              Bytes({1}) + "Index " + Bytes({0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0xFF});
  const auto entries = DecodePropertyList(FromPayload(payload), schema);
  ASSERT_EQ(entries.size(), 9u);
  EXPECT_EQ(entries[0].first, "MultiLine");
  EXPECT_TRUE(entries[0].second.boolean);
  EXPECT_EQ(entries[1].first, "MacProcId");
  EXPECT_EQ(entries[1].second.integer, 7);
  EXPECT_EQ(entries[2].second.colour, 0x00EF1F1Du);
  EXPECT_EQ(entries[3].second.type, PropertyType::Single);
  EXPECT_EQ(entries[3].second.real, 10.0);
  EXPECT_EQ(entries[4].second.integer, 0xFE);
  EXPECT_EQ(entries[5].second.text, help);
  // A repeated name, in any case, comes back twice under its declared spelling.
  EXPECT_EQ(entries[6].first, "Transparent");
  EXPECT_EQ(entries[7].first, "Transparent");
  EXPECT_EQ(entries[8].second.integer, -2147483648LL);
}

TEST(PropertyString, RejectsMalformedLists) {
  const PropertySchema schema = {{"Visible", PropertyType::Boolean}, {"Width", PropertyType::Integer},
                                 {"Name", PropertyType::Text}};
  struct Case {
    const char* what;
    std::string payload;
  };
  const Case cases[] = {
      {"an unknown name", "Height " + std::string(8, '\0')},
      {"an integer cut short", "Width " + std::string(7, '\0')},
      {"a Boolean with no byte", "Visible "},
      {"a text count beyond the end", "Name " + Bytes({0xFF, 0xFF, 0xFF, 0xFF}) + "abc"},
      {"a text count one past the end", "Name " + Bytes({4, 0, 0, 0}) + "abc"},
      {"a text count cut short", "Name " + Bytes({4, 0})},
      {"bytes left over after the last value", "Visible " + Bytes({1}) + "xy"},
      {"a name without its space", "Visible" + Bytes({1})},
      {"an empty name", " " + Bytes({1})},
      {"a Boolean neither 0 nor 1", "Visible " + Bytes({2})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(DecodePropertyList(FromPayload(c.payload), schema), fw::UnsupportedFormatException);
  }
  // The byte length may not claim more than the block holds.
  EXPECT_THROW(DecodePropertyList(PropertyString(Bytes({9}) + "Visible " + Bytes({1}), 20), schema),
               fw::UnsupportedFormatException);
  EXPECT_THROW(DecodePropertyList(PropertyString("", 0), schema), fw::UnsupportedFormatException);
  // Only the byte length counts: bytes beyond it are not read.
  const PropertyString longer(Bytes({9}) + "Visible " + Bytes({1}) + "garbage", 9);
  EXPECT_EQ(DecodePropertyList(longer, schema).size(), 1u);
}

}  // namespace
