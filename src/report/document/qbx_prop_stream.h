// The binary property stream behind `PropData` attributes: property name (length byte + text),
// then a value tag and its payload; numbers are little-endian. Reading is bounds-checked and
// fails with an Error, never past the data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/variant.h"

namespace zavrik {

enum TValueType : uint8_t {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary,
  vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64,
  vaUTF8String, vaDouble
};

class TqbxPropReader {
 public:
  explicit TqbxPropReader(std::string_view bytes) : FBytes(bytes) {}

  bool AtEnd() const { return FPos >= FBytes.size(); }
  TValueType ReadValueType();
  TValueType PeekValueType() const;
  // A property name or any other short text: a length byte and that many bytes.
  String ReadShortText();
  // A scalar value after its tag: integers, floats, currency, dates, strings, identifiers
  // (as strings), booleans, nil (Empty). Lists, sets, collections and binary data fail.
  Variant ReadScalar(TValueType type);
  // The element names of a vaSet, after its tag.
  std::vector<String> ReadSetNames();
  // The bytes of a vaBinary, after its tag.
  std::string ReadBinary();
  // Skips one value with its tag, lists and collections included (no recursion).
  void SkipValue();

 private:
  std::string_view Take(size_t count);
  uint64_t ReadLE(size_t count);

  std::string_view FBytes;
  size_t FPos = 0;
};

class TqbxPropWriter {
 public:
  void WritePropName(StringView name);
  void WriteValueType(TValueType type) { FBytes.push_back(static_cast<char>(type)); }
  // The smallest integer tag that holds the value.
  void WriteInteger(int64_t value);
  void WriteFloat(double value);  // vaExtended
  // vaString for short 8-bit texts, vaWString otherwise.
  void WriteString(StringView text);
  void WriteIdent(StringView name);
  void WriteBoolean(bool value) { WriteValueType(value ? vaTrue : vaFalse); }
  void WriteBinary(std::string_view bytes);
  void WriteSet(const std::vector<String>& names);
  const std::string& Bytes() const { return FBytes; }

 private:
  void WriteLE(uint64_t value, size_t count);
  std::string FBytes;
};

// The 10-byte extended float format.
double ExtendedToDouble(const unsigned char bytes[10]);
void DoubleToExtended(double value, unsigned char bytes[10]);

// Upper-case hexadecimal, two digits per byte; decoding stops at the first pair that is not hex.
String BytesToHex(std::string_view bytes);
std::string HexToBytes(StringView hex);

}  // namespace zavrik
