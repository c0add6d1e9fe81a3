#pragma once
// Form designs as data: a property list ("PropertyString") is one length byte, the payload and a
// NUL, with the authoritative 32-bit byte length beside it. The payload is a run of entries
// "Name<space><value>", where the value's width and encoding follow from the type that the target
// class declares for that name (names matched without regard to case). No Qt here.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

enum class PropertyType { Boolean, Integer, EnumWide, EnumNarrow, Single, Double, Colour, Text };

struct PropertyValue {
  PropertyType type = PropertyType::Integer;
  bool boolean = false;
  std::int64_t integer = 0;  // Integer, EnumWide, EnumNarrow
  double real = 0.0;         // Double, and Single widened exactly
  std::uint32_t colour = 0;  // 0xAARRGGBB
  std::string text;
};

// One property that a class declares.
struct PropertyDecl {
  std::string_view name;
  PropertyType type;
};
using PropertySchema = std::vector<PropertyDecl>;

// The text constant that carries a list.
class PropertyString {
 public:
  PropertyString() = default;
  // block: length byte, payload, NUL. byteLength: the record's 32-bit payload length.
  PropertyString(std::string block, std::uint32_t byteLength);

  const std::string& Block() const noexcept { return block_; }
  std::uint32_t ByteLength() const noexcept { return byteLength_; }
  std::uint8_t LengthByte() const;
  // The payload as the byte length gives it; raises UnsupportedFormatException when the block
  // is shorter than the byte length says.
  std::string_view Payload() const;

 private:
  std::string block_;
  std::uint32_t byteLength_ = 0;
};

// Writes a list entry by entry, each in its declared type's encoding.
class PropertyListWriter {
 public:
  PropertyListWriter& Boolean(std::string_view name, bool value);
  PropertyListWriter& Integer(std::string_view name, std::int64_t value);
  PropertyListWriter& EnumWide(std::string_view name, std::int64_t code);
  PropertyListWriter& EnumNarrow(std::string_view name, std::uint8_t code);
  PropertyListWriter& Single(std::string_view name, float value);
  PropertyListWriter& Double(std::string_view name, double value);
  // rgb is 0xRRGGBB; the stored top byte is 0.
  PropertyListWriter& Colour(std::string_view name, std::uint32_t rgb);
  PropertyListWriter& Text(std::string_view name, std::string_view value);
  PropertyString Build() const;

 private:
  std::string payload_;
};

// Decodes a whole list against a class's declared properties. Each result carries the declared
// spelling of the name. Raises UnsupportedFormatException, and applies nothing, for an unknown
// name, a missing space, a value running past the end or bytes left over; never reads outside
// the payload.
std::vector<std::pair<std::string, PropertyValue>> DecodePropertyList(const PropertyString& list,
                                                                     const PropertySchema& schema);

}  // namespace fw
