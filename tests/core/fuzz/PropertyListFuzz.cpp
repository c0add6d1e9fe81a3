// libFuzzer target for the property list decoder. The first byte picks a class's declared
// properties, the rest is the payload. A list either decodes, and then writes back to the same
// bytes (names aside, which decode to their declared spelling), or raises
// UnsupportedFormatException; it never reads outside the list and never raises anything else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/core/Exceptions.h"
#include "framework/core/PropertyString.h"

namespace {

using fw::PropertyType;
using T = PropertyType;

const fw::PropertySchema kSchemas[] = {
    // a text field's kind: every type that lists use
    {{"Name", T::Text}, {"Index", T::Integer}, {"Left", T::Integer}, {"Visible", T::Boolean},
     {"TextColor", T::Colour}, {"FontSize", T::Single}, {"FontUnit", T::EnumNarrow}, {"TextAlignment", T::EnumWide},
     {"Value", T::Text}, {"LineSpacing", T::Double}, {"MultiLine", T::Boolean}},
    // a timer's
    {{"Period", T::Integer}, {"RunMode", T::EnumWide}},
    // a line's
    {{"X1", T::Double}, {"X2", T::Double}, {"Thickness", T::Double}, {"LineColor", T::Colour}},
    // nothing declared
    {},
};

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::string Rewrite(const std::vector<std::pair<std::string, fw::PropertyValue>>& entries) {
  fw::PropertyListWriter w;
  for (const auto& [name, v] : entries) {
    switch (v.type) {
      case T::Boolean: w.Boolean(name, v.boolean); break;
      case T::Integer: w.Integer(name, v.integer); break;
      case T::EnumWide: w.EnumWide(name, v.integer); break;
      case T::EnumNarrow: w.EnumNarrow(name, static_cast<std::uint8_t>(v.integer)); break;
      case T::Single: w.Single(name, static_cast<float>(v.real)); break;
      case T::Double: w.Double(name, v.real); break;
      case T::Colour: w.Colour(name, v.colour); break;
      case T::Text: w.Text(name, v.text); break;
    }
  }
  const fw::PropertyString list = w.Build();
  return std::string(list.Payload());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const fw::PropertySchema& schema = kSchemas[data[0] % (sizeof(kSchemas) / sizeof(kSchemas[0]))];
  const std::string payload(reinterpret_cast<const char*>(data + 1), size - 1);
  // The block holds exactly the payload, so that reading past it is a fault the sanitizer sees.
  std::string block(1, static_cast<char>(payload.size() < 255 ? payload.size() : 255));
  block += payload;
  block.push_back('\0');
  const auto length = static_cast<std::uint32_t>(payload.size());
  try {
    const auto entries = fw::DecodePropertyList(fw::PropertyString(block, length), schema);
    // Two values do not write back bit for bit: a colour's top byte (the writer stores 0) and a
    // single NaN, which widening to double may quieten.
    bool inexact = false;
    for (const auto& [name, v] : entries) {
      inexact = inexact || (v.type == T::Colour && (v.colour >> 24) != 0) || (v.type == T::Single && v.real != v.real);
    }
    if (!inexact && Lower(Rewrite(entries)) != Lower(payload)) std::abort();
  } catch (const fw::UnsupportedFormatException&) {
  }
  // A byte length beyond the block must be refused, not read.
  try {
    fw::DecodePropertyList(fw::PropertyString(block.substr(0, block.size() - 1), length + 1), schema);
    std::abort();
  } catch (const fw::UnsupportedFormatException&) {
  }
  return 0;
}
