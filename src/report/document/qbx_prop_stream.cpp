#include "report/document/qbx_prop_stream.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "core/codepage.h"
#include "core/error.h"

namespace zavrik {
namespace {

[[noreturn]] void ThrowReadError() { throw Error(u"Stream read error"); }

String Utf16LeToString(std::string_view bytes) {
  String text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

double ExtendedToDouble(const unsigned char bytes[10]) {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[i];
  const int sign_exponent = bytes[8] | (bytes[9] << 8);
  const int exponent = sign_exponent & 0x7FFF;
  const double sign = (sign_exponent & 0x8000) ? -1.0 : 1.0;
  if (exponent == 0x7FFF) {
    return (mantissa << 1) == 0 ? sign * HUGE_VAL : std::nan("");
  }
  return sign * std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
}

void DoubleToExtended(double value, unsigned char bytes[10]) {
  std::memset(bytes, 0, 10);
  int sign_exponent = std::signbit(value) ? 0x8000 : 0;
  uint64_t mantissa = 0;
  if (std::isnan(value) || std::isinf(value)) {
    sign_exponent |= 0x7FFF;
    mantissa = std::isnan(value) ? 0xC000000000000000ull : 0x8000000000000000ull;
  } else if (value != 0) {
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
    mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    sign_exponent |= exponent - 1 + 16383;
  }
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(mantissa >> (8 * i));
  bytes[8] = static_cast<unsigned char>(sign_exponent);
  bytes[9] = static_cast<unsigned char>(sign_exponent >> 8);
}

String BytesToHex(std::string_view bytes) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  String hex;
  hex.reserve(bytes.size() * 2);
  for (char b : bytes) {
    const auto v = static_cast<unsigned char>(b);
    hex.push_back(kDigits[v >> 4]);
    hex.push_back(kDigits[v & 15]);
  }
  return hex;
}

std::string HexToBytes(StringView hex) {
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) break;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

std::string_view TqbxPropReader::Take(size_t count) {
  if (count > FBytes.size() - FPos) ThrowReadError();
  const std::string_view part = FBytes.substr(FPos, count);
  FPos += count;
  return part;
}

uint64_t TqbxPropReader::ReadLE(size_t count) {
  const std::string_view part = Take(count);
  uint64_t value = 0;
  for (size_t i = count; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(part[i]);
  return value;
}

TValueType TqbxPropReader::ReadValueType() { return static_cast<TValueType>(ReadLE(1)); }

TValueType TqbxPropReader::PeekValueType() const {
  if (AtEnd()) ThrowReadError();
  return static_cast<TValueType>(static_cast<unsigned char>(FBytes[FPos]));
}

String TqbxPropReader::ReadShortText() {
  const size_t length = ReadLE(1);
  return DecodeCodePage(Take(length), kCodePage1251);
}

Variant TqbxPropReader::ReadScalar(TValueType type) {
  switch (type) {
    case vaInt8: return Variant(static_cast<int32_t>(static_cast<int8_t>(ReadLE(1))));
    case vaInt16: return Variant(static_cast<int32_t>(static_cast<int16_t>(ReadLE(2))));
    case vaInt32: return Variant(static_cast<int32_t>(ReadLE(4)));
    case vaInt64: return Variant(static_cast<int64_t>(ReadLE(8)));
    case vaExtended: {
      const std::string_view raw = Take(10);
      return Variant(ExtendedToDouble(reinterpret_cast<const unsigned char*>(raw.data())));
    }
    case vaSingle: return Variant(std::bit_cast<float>(static_cast<uint32_t>(ReadLE(4))));
    case vaDouble: return Variant(std::bit_cast<double>(ReadLE(8)));
    case vaDate: return Variant(DateTime{std::bit_cast<double>(ReadLE(8))});
    case vaCurrency: return Variant(Currency{static_cast<int64_t>(ReadLE(8))});
    case vaString:
    case vaIdent: return Variant(ReadShortText());
    case vaLString: return Variant(DecodeCodePage(Take(ReadLE(4)), kCodePage1251));
    case vaUTF8String: return Variant(Utf8ToString(Take(ReadLE(4))));
    case vaWString: {
      const uint64_t units = ReadLE(4);
      if (units > (FBytes.size() - FPos) / 2) ThrowReadError();
      return Variant(Utf16LeToString(Take(units * 2)));
    }
    case vaFalse: return Variant(false);
    case vaTrue: return Variant(true);
    case vaNil:
    case vaNull: return Variant();
    default: ThrowReadError();
  }
}

std::vector<String> TqbxPropReader::ReadSetNames() {
  std::vector<String> names;
  for (String name = ReadShortText(); !name.empty(); name = ReadShortText()) names.push_back(std::move(name));
  return names;
}

std::string TqbxPropReader::ReadBinary() { return std::string(Take(ReadLE(4))); }

void TqbxPropReader::SkipValue() {
  // What the open containers hold: values (vaList), items (vaCollection), or named properties
  // (a collection item). Each is closed by a vaNull.
  enum class Holds { kValues, kItems, kProperties };
  std::vector<Holds> open;
  do {
    if (!open.empty() && open.back() == Holds::kProperties && PeekValueType() != vaNull) ReadShortText();
    const TValueType type = ReadValueType();
    if (type == vaNull && !open.empty()) {
      open.pop_back();
      continue;
    }
    if (!open.empty() && open.back() == Holds::kItems) {
      if (type == vaList) open.push_back(Holds::kProperties);
      else ReadScalar(type);  // an item's order value
      continue;
    }
    switch (type) {
      case vaList: open.push_back(Holds::kValues); break;
      case vaCollection: open.push_back(Holds::kItems); break;
      case vaSet: ReadSetNames(); break;
      case vaBinary: ReadBinary(); break;
      default: ReadScalar(type); break;
    }
  } while (!open.empty());
}

void TqbxPropWriter::WriteLE(uint64_t value, size_t count) {
  for (size_t i = 0; i < count; ++i) FBytes.push_back(static_cast<char>(value >> (8 * i)));
}

void TqbxPropWriter::WritePropName(StringView name) {
  const std::string bytes = EncodeCodePage(name.substr(0, 255), kCodePage1251);
  FBytes.push_back(static_cast<char>(bytes.size()));
  FBytes += bytes;
}

void TqbxPropWriter::WriteInteger(int64_t value) {
  if (value >= INT8_MIN && value <= INT8_MAX) {
    WriteValueType(vaInt8), WriteLE(static_cast<uint64_t>(value), 1);
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    WriteValueType(vaInt16), WriteLE(static_cast<uint64_t>(value), 2);
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteValueType(vaInt32), WriteLE(static_cast<uint64_t>(value), 4);
  } else {
    WriteValueType(vaInt64), WriteLE(static_cast<uint64_t>(value), 8);
  }
}

void TqbxPropWriter::WriteFloat(double value) {
  unsigned char bytes[10];
  DoubleToExtended(value, bytes);
  WriteValueType(vaExtended);
  FBytes.append(reinterpret_cast<const char*>(bytes), 10);
}

void TqbxPropWriter::WriteString(StringView text) {
  bool ascii = text.size() <= 255;
  for (char16_t c : text) ascii = ascii && c < 0x80;
  if (ascii) {
    WriteValueType(vaString);
    WritePropName(text);
    return;
  }
  WriteValueType(vaWString);
  WriteLE(text.size(), 4);
  for (char16_t c : text) WriteLE(c, 2);
}

void TqbxPropWriter::WriteIdent(StringView name) {
  WriteValueType(vaIdent);
  WritePropName(name);
}

void TqbxPropWriter::WriteBinary(std::string_view bytes) {
  WriteValueType(vaBinary);
  WriteLE(bytes.size(), 4);
  FBytes += bytes;
}

void TqbxPropWriter::WriteSet(const std::vector<String>& names) {
  WriteValueType(vaSet);
  for (const String& name : names) WritePropName(name);
  FBytes.push_back(0);
}

}  // namespace zavrik
