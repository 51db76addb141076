#include "core/ustring.h"

#include <gtest/gtest.h>

namespace zavrik {
namespace {

TEST(Utf8, RoundTripsCyrillicAndAstral) {
  const std::string text = "Счёт № 5 \xF0\x9F\x98\x80";
  const String s = Utf8ToString(text);
  EXPECT_EQ(s, u"Счёт № 5 \U0001F600");
  EXPECT_EQ(StringToUtf8(s), text);
}

TEST(Utf8, MalformedSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf8ToString("a\xFFz"), u"a\uFFFDz");
  EXPECT_EQ(Utf8ToString("a\xD0"), u"a\uFFFD");             // truncated at the end
  EXPECT_EQ(Utf8ToString("\xC0\xAF"), u"\uFFFD");           // overlong
  EXPECT_EQ(Utf8ToString("\xED\xA0\x80"), u"\uFFFD");       // encoded surrogate
  EXPECT_EQ(Utf8ToString("\xD0x"), u"\uFFFDx");             // lead byte without continuation
  EXPECT_EQ(StringToUtf8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(AsciiText, CaseAndTrim) {
  EXPECT_TRUE(SameTextAscii(u"Param", u"PARAM"));
  EXPECT_FALSE(SameTextAscii(u"Param", u"Params"));
  EXPECT_EQ(Trim(StringView(u"  a b \r\n")), u"a b");
  EXPECT_EQ(Trim(std::string_view("\t x ")), "x");
}

}  // namespace
}  // namespace zavrik
