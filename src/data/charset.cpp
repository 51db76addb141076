#include "data/charset.h"

namespace zavrik::data {
namespace {

struct CharsetCodePage {
  const char16_t* name;
  int code_page;
};

constexpr CharsetCodePage kCharsets[] = {
    {u"NONE", kCodePage1252},
    {u"OCTETS", kCodePage1252},
    {u"ASCII", 20127},
    {u"UNICODE_FSS", kCodePageUtf8},
    {u"UTF8", kCodePageUtf8},
    {u"WIN1250", 1250},
    {u"WIN1251", kCodePage1251},
    {u"WIN1252", kCodePage1252},
    {u"WIN1253", 1253},
    {u"WIN1254", 1254},
    {u"WIN1255", 1255},
    {u"WIN1256", 1256},
    {u"WIN1257", 1257},
    {u"WIN1258", 1258},
    {u"ISO8859_1", kCodePageLatin1},
    {u"ISO8859_2", 28592},
    {u"ISO8859_5", 28595},
    {u"KOI8R", 20866},
    {u"KOI8U", 21866},
    {u"DOS866", 866},
    {u"DOS437", 437},
    {u"DOS850", 850},
};

}  // namespace

int CodePageOfCharset(StringView charset) {
  const String name = AsciiUpper(charset);
  for (const auto& entry : kCharsets)
    if (name == entry.name) return entry.code_page;
  return kCodePageUtf8;
}

}  // namespace zavrik::data
