#include "framework/core/PropertyString.h"

#include <bit>
#include <limits>
#include <type_traits>

#include "framework/core/Exceptions.h"

namespace fw {
namespace {

template <class T>
void PutLE(std::string& out, T value) {
  using U = std::make_unsigned_t<T>;
  U u = static_cast<U>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    out.push_back(static_cast<char>(u & 0xFFu));
    u = static_cast<U>(u >> 8);
  }
}

template <class T>
T GetLE(std::string_view bytes, std::size_t at) {
  using U = std::make_unsigned_t<T>;
  U u = 0;
  for (std::size_t i = sizeof(T); i-- > 0;) {
    u = static_cast<U>((u << 8) | static_cast<unsigned char>(bytes[at + i]));
  }
  return static_cast<T>(u);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// Keeps a name readable in a message, whatever bytes it holds.
std::string Printable(std::string_view name) {
  constexpr std::size_t kMax = 40;
  std::string out;
  for (std::size_t i = 0; i < name.size() && i < kMax; ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
  }
  if (name.size() > kMax) out += "...";
  return out;
}

[[noreturn]] void Malformed(const std::string& why, std::size_t at) {
  throw UnsupportedFormatException("malformed property list at byte " + std::to_string(at) + ": " + why);
}

std::size_t FixedWidth(PropertyType type) {
  switch (type) {
    case PropertyType::Boolean:
    case PropertyType::EnumNarrow:
      return 1;
    case PropertyType::Single:
    case PropertyType::Colour:
      return 4;
    case PropertyType::Integer:
    case PropertyType::EnumWide:
    case PropertyType::Double:
      return 8;
    case PropertyType::Text:
      return 4;  // the count in front of the bytes
  }
  return 0;
}

}  // namespace

PropertyString::PropertyString(std::string block, std::uint32_t byteLength)
    : block_(std::move(block)), byteLength_(byteLength) {}

std::uint8_t PropertyString::LengthByte() const {
  if (block_.empty()) throw UnsupportedFormatException("property list without its length byte");
  return static_cast<std::uint8_t>(block_[0]);
}

std::string_view PropertyString::Payload() const {
  // One length byte in front; the payload must lie wholly inside the block.
  if (block_.empty() || block_.size() - 1 < byteLength_) {
    throw UnsupportedFormatException("property list shorter than its byte length (" +
                                     std::to_string(byteLength_) + " bytes)");
  }
  return std::string_view(block_).substr(1, byteLength_);
}

PropertyListWriter& PropertyListWriter::Boolean(std::string_view name, bool value) {
  payload_.append(name).push_back(' ');
  payload_.push_back(value ? '\1' : '\0');
  return *this;
}

PropertyListWriter& PropertyListWriter::Integer(std::string_view name, std::int64_t value) {
  payload_.append(name).push_back(' ');
  PutLE(payload_, value);
  return *this;
}

PropertyListWriter& PropertyListWriter::EnumWide(std::string_view name, std::int64_t code) {
  return Integer(name, code);
}

PropertyListWriter& PropertyListWriter::EnumNarrow(std::string_view name, std::uint8_t code) {
  payload_.append(name).push_back(' ');
  payload_.push_back(static_cast<char>(code));
  return *this;
}

PropertyListWriter& PropertyListWriter::Single(std::string_view name, float value) {
  payload_.append(name).push_back(' ');
  PutLE(payload_, std::bit_cast<std::uint32_t>(value));
  return *this;
}

PropertyListWriter& PropertyListWriter::Double(std::string_view name, double value) {
  payload_.append(name).push_back(' ');
  PutLE(payload_, std::bit_cast<std::uint64_t>(value));
  return *this;
}

PropertyListWriter& PropertyListWriter::Colour(std::string_view name, std::uint32_t rgb) {
  payload_.append(name).push_back(' ');
  PutLE(payload_, rgb & 0x00FFFFFFu);
  return *this;
}

PropertyListWriter& PropertyListWriter::Text(std::string_view name, std::string_view value) {
  if (value.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw InvalidArgumentException("property text too long for a list");
  }
  payload_.append(name).push_back(' ');
  PutLE(payload_, static_cast<std::uint32_t>(value.size()));
  payload_.append(value);
  return *this;
}

PropertyString PropertyListWriter::Build() const {
  if (payload_.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw InvalidArgumentException("property list too long");
  }
  const auto length = static_cast<std::uint32_t>(payload_.size());
  std::string block;
  block.reserve(payload_.size() + 2);
  block.push_back(static_cast<char>(length < 255 ? length : 255));
  block.append(payload_);
  block.push_back('\0');
  return PropertyString(std::move(block), length);
}

std::vector<std::pair<std::string, PropertyValue>> DecodePropertyList(const PropertyString& list,
                                                                     const PropertySchema& schema) {
  const std::string_view payload = list.Payload();
  std::vector<std::pair<std::string, PropertyValue>> entries;
  std::size_t pos = 0;
  while (pos < payload.size()) {
    const std::size_t space = payload.find(' ', pos);
    if (space == std::string_view::npos) Malformed("bytes left over without a space after them", pos);
    const std::string_view name = payload.substr(pos, space - pos);
    if (name.empty()) Malformed("a property without a name", pos);
    const PropertyDecl* decl = nullptr;
    for (const PropertyDecl& d : schema) {
      if (SameNameIgnoringCase(d.name, name)) {
        decl = &d;
        break;
      }
    }
    if (!decl) Malformed("unknown property \"" + Printable(name) + "\"", pos);

    std::size_t at = space + 1;
    const std::size_t width = FixedWidth(decl->type);
    if (payload.size() - at < width) {
      Malformed("the value of \"" + std::string(decl->name) + "\" runs past the end", at);
    }
    PropertyValue value;
    value.type = decl->type;
    switch (decl->type) {
      case PropertyType::Boolean:
        if (payload[at] != 0 && payload[at] != 1) {
          Malformed("the Boolean \"" + std::string(decl->name) + "\" is neither 0 nor 1", at);
        }
        value.boolean = payload[at] != 0;
        break;
      case PropertyType::EnumNarrow:
        value.integer = static_cast<unsigned char>(payload[at]);
        break;
      case PropertyType::Integer:
      case PropertyType::EnumWide:
        value.integer = GetLE<std::int64_t>(payload, at);
        break;
      case PropertyType::Single:
        value.real = static_cast<double>(std::bit_cast<float>(GetLE<std::uint32_t>(payload, at)));
        break;
      case PropertyType::Double:
        value.real = std::bit_cast<double>(GetLE<std::uint64_t>(payload, at));
        break;
      case PropertyType::Colour:
        value.colour = GetLE<std::uint32_t>(payload, at);
        break;
      case PropertyType::Text: {
        const std::uint32_t count = GetLE<std::uint32_t>(payload, at);
        if (payload.size() - at - 4 < count) {
          Malformed("the text of \"" + std::string(decl->name) + "\" runs past the end", at);
        }
        value.text.assign(payload.substr(at + 4, count));
        at += count;
        break;
      }
    }
    pos = at + width;
    entries.emplace_back(std::string(decl->name), std::move(value));
  }
  return entries;
}

}  // namespace fw
