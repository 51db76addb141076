// The binary property stream: every value tag, skipping nested values, bounds, hexadecimal text.
#include <gtest/gtest.h>

#include "core/error.h"
#include "report/document/qbx_prop_stream.h"

namespace zavrik {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

TEST(PropStream, ExtendedFloats) {
  unsigned char one[10];
  DoubleToExtended(1.0, one);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(one), 10), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  for (double v : {0.0, -2.5, 18.89765, 1e-300, 1.7976931348623157e308}) {
    unsigned char bytes[10];
    DoubleToExtended(v, bytes);
    EXPECT_EQ(ExtendedToDouble(bytes), v);
  }
}

TEST(PropStream, EveryScalarTag) {
  const std::string data = Bytes({
      vaInt8, 0xFE, vaInt16, 0x34, 0x12, vaInt32, 0xFF, 0xFF, 0xFF, 0xFF, vaInt64, 1, 0, 0, 0, 0, 0, 0, 0,
      vaString, 2, 'a', 'b', vaIdent, 1, 'X', vaLString, 1, 0, 0, 0, 0xD4,
      vaWString, 1, 0, 0, 0, 0x44, 0x04, vaUTF8String, 2, 0, 0, 0, 0xD0, 0xA4,
      vaFalse, vaTrue, vaNil, vaSingle, 0, 0, 0xC0, 0x3F, vaDouble, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F,
      vaCurrency, 0x10, 0x27, 0, 0, 0, 0, 0, 0, vaDate, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
  TqbxPropReader r(data);
  auto next = [&] { return r.ReadScalar(r.ReadValueType()); };
  EXPECT_EQ(next().SignedValue(), -2);
  EXPECT_EQ(next().SignedValue(), 0x1234);
  EXPECT_EQ(next().SignedValue(), -1);
  EXPECT_EQ(next().SignedValue(), 1);
  EXPECT_EQ(next().StringValue(), u"ab");
  EXPECT_EQ(next().StringValue(), u"X");
  EXPECT_EQ(next().StringValue(), u"Ф");  // 8-bit text in Windows-1251
  EXPECT_EQ(next().StringValue(), u"ф");
  EXPECT_EQ(next().StringValue(), u"Ф");
  EXPECT_FALSE(next().BoolValue());
  EXPECT_TRUE(next().BoolValue());
  EXPECT_TRUE(next().IsEmpty());
  EXPECT_EQ(next().SingleValue(), 1.5f);
  EXPECT_EQ(next().DoubleValue(), 1.5);
  EXPECT_EQ(next().CurrencyValue().scaled, 10000);
  EXPECT_EQ(next().DoubleValue(), 1.0);
  EXPECT_TRUE(r.AtEnd());
}

TEST(PropStream, SkipsNestedValuesAndStopsAtTheEnd) {
  // A list holding a set, binary data and a collection with one item of two properties.
  const std::string data = Bytes({vaList, vaSet, 1, 'a', 0, vaBinary, 2, 0, 0, 0, 9, 9,
                                  vaCollection, vaInt8, 0, vaList, 1, 'P', vaTrue, 1, 'Q', vaList, vaNull, vaNull,
                                  vaNull, vaNull, vaTrue});
  TqbxPropReader r(data);
  r.SkipValue();
  EXPECT_EQ(r.ReadValueType(), vaTrue);
  EXPECT_TRUE(r.AtEnd());
  for (const std::string& bad : {Bytes({vaWString, 0xFF, 0xFF, 0xFF, 0x7F, 0}), Bytes({vaList, vaList}),
                                 Bytes({vaBinary, 5, 0, 0, 0, 1}), Bytes({30}), Bytes({vaString, 4, 'a'})}) {
    TqbxPropReader broken(bad);
    EXPECT_THROW(broken.SkipValue(), Error);
  }
}

TEST(PropStream, WriterAndHexText) {
  TqbxPropWriter w;
  w.WritePropName(u"Tag");
  w.WriteInteger(300);
  w.WriteString(u"Ф");
  w.WriteInteger(int64_t(1) << 40);
  EXPECT_EQ(BytesToHex(w.Bytes()), u"03546167032C0112010000002404130000000000010000");
  EXPECT_EQ(HexToBytes(u"0aFF1"), Bytes({0x0A, 0xFF}));  // an odd digit is dropped
  EXPECT_EQ(HexToBytes(u"0AZZ0B"), Bytes({0x0A}));       // decoding stops at a bad pair
  TqbxPropReader r(w.Bytes());
  EXPECT_EQ(r.ReadShortText(), u"Tag");
  EXPECT_EQ(r.ReadScalar(r.ReadValueType()).SignedValue(), 300);
  EXPECT_EQ(r.ReadScalar(r.ReadValueType()).StringValue(), u"Ф");
  EXPECT_EQ(r.ReadScalar(r.ReadValueType()).SignedValue(), int64_t(1) << 40);
}

}  // namespace
}  // namespace zavrik
