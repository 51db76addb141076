#include "core/xml_text.h"

#include <cstdint>

#include "core/codepage.h"

namespace zavrik {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

[[noreturn]] void ThrowNotValidInteger(StringView text) {
  throw Error("'" + StringToUtf8(text) + "' is not a valid integer value");
}

bool NeedsEscape(char16_t c, XmlDialect dialect) {
  switch (c) {
    case 10: case 13: case u'"': case u'&': case u'<': case u'>':
      return true;
    case 0:
      return dialect == XmlDialect::kTemplate;
    default:
      return false;
  }
}

void AppendReference(String& out, unsigned code) {
  out += u"&#";
  for (char c : std::to_string(code)) out.push_back(static_cast<char16_t>(c));
  out.push_back(u';');
}

// Parses the digits between "&#" and ";" (already known to be all digits) as a character code,
// keeping the low 16 bits. The template dialect reads the digits as a 32-bit integer first.
char16_t CodeFromDigits(StringView digits, XmlDialect dialect) {
  uint64_t value = 0;
  for (char16_t c : digits) {
    value = (value * 10 + (c - u'0')) & 0xFFFFFFFFFFull;
    if (dialect == XmlDialect::kTemplate && value > 0x7FFFFFFF) ThrowNotValidInteger(digits);
  }
  return static_cast<char16_t>(value & 0xFFFF);
}

// Finds the position of `name="` inside `attributes`, or npos.
size_t FindProp(StringView attributes, StringView name) {
  if (name.empty()) return StringView::npos;
  const size_t need = name.size() + 2;
  for (size_t i = 0; i + need <= attributes.size(); ++i) {
    if (i > 0 && attributes[i - 1] != u' ') continue;
    if (attributes[i + name.size()] != u'=' || attributes[i + name.size() + 1] != u'"') continue;
    if (SameTextAscii(attributes.substr(i, name.size()), name)) return i;
  }
  return StringView::npos;
}

}  // namespace

XmlFormatError::XmlFormatError() : Error(String(u"Invalid file format")) {}

String XmlEscape(StringView text, XmlDialect dialect) {
  String out;
  out.reserve(text.size() + 8);
  AppendXmlEscaped(out, text, dialect);
  return out;
}

void AppendXmlEscaped(String& out, StringView text, XmlDialect dialect) {
  const bool template_dialect = dialect == XmlDialect::kTemplate;
  size_t plain = 0;  // the start of the characters not yet appended
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool quot = template_dialect && c == u'&' && text.substr(i, 6) == u"&quot;";
    const bool nul = template_dialect && c == 0 && text.size() > 31;
    if (!quot && !nul && !NeedsEscape(c, dialect)) continue;
    out.append(text.substr(plain, i - plain));
    if (quot) {
      out += u"&#34;";
      i += 5;
    } else if (nul) {
      out.push_back(u' ');
    } else {
      AppendReference(out, c);
    }
    plain = i + 1;
  }
  out.append(text.substr(plain));
}

String XmlUnescape(StringView value, XmlDialect dialect) {
  static constexpr struct {
    std::u16string_view entity;
    char16_t ch;
  } kNamed[] = {{u"&quot;", u'"'}, {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}};
  const bool template_dialect = dialect == XmlDialect::kTemplate;
  String out;
  out.reserve(value.size());
  size_t i = 0;
  while (i < value.size()) {
    const char16_t c = value[i];
    if (c != u'&') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < value.size() && value[i + 1] == u'#') {
      const size_t semi = value.find(u';', i + 2);
      if (semi != StringView::npos) {
        const StringView digits = value.substr(i + 2, semi - i - 2);
        bool all_digits = !digits.empty();
        for (char16_t d : digits) all_digits = all_digits && IsDigit(d);
        if (all_digits) {
          out.push_back(CodeFromDigits(digits, dialect));
          i = semi + 1;
          continue;
        }
        // References are decimal only: "&#x41;" or "&#$41;" is not a number here.
        if (template_dialect) ThrowNotValidInteger(digits);
      }
    }
    bool replaced = false;
    for (const auto& named : kNamed) {
      if ((template_dialect || named.ch == u'"') && value.substr(i, named.entity.size()) == named.entity) {
        out.push_back(named.ch);
        i += named.entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      out.push_back(c);
      ++i;
    }
  }
  return out;
}

bool XmlPropExists(StringView attributes, StringView name) {
  return FindProp(attributes, name) != StringView::npos;
}

String XmlGetProp(StringView attributes, StringView name, XmlDialect dialect) {
  const size_t at = FindProp(attributes, name);
  if (at == StringView::npos) return String();
  const size_t begin = at + name.size() + 2;
  size_t end = attributes.find(u'"', begin);
  if (end == StringView::npos) end = attributes.size();
  return XmlUnescape(attributes.substr(begin, end - begin), dialect);
}

void XmlSetProp(String& attributes, StringView name, StringView value, XmlDialect dialect) {
  size_t at = FindProp(attributes, name);
  if (at != StringView::npos) {
    size_t end = attributes.find(u'"', at + name.size() + 2);
    end = end == String::npos ? attributes.size() : end + 1;
    attributes.erase(at, end - at);
  } else {
    at = attributes.size();
  }
  String inserted;
  if (at > 0 && attributes[at - 1] != u' ') inserted.push_back(u' ');
  inserted.append(name);
  inserted += u"=\"";
  inserted += XmlEscape(value, dialect);
  inserted.push_back(u'"');
  attributes.insert(at, inserted);
}

void XmlDeleteProp(String& attributes, StringView name) {
  const size_t at = FindProp(attributes, name);
  if (at == StringView::npos) return;
  size_t end = attributes.find(u'"', at + name.size() + 2);
  end = end == String::npos ? attributes.size() : end + 1;
  // The attribute and the one separator after it.
  if (end < attributes.size()) ++end;
  attributes.erase(at, end - at);
}

String XmlNameFromBytes(std::string_view bytes, XmlDialect dialect) {
  if (dialect == XmlDialect::kTemplate) return DecodeCodePage(bytes, kCodePage1251);
  String out;
  out.reserve(bytes.size());
  for (char b : bytes) out.push_back(static_cast<unsigned char>(b));
  return out;
}

std::string XmlNameToBytes(StringView name, XmlDialect dialect) {
  if (dialect == XmlDialect::kTemplate) return EncodeCodePage(name, kCodePage1251);
  std::string out;
  out.reserve(name.size());
  for (char16_t c : name) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    int len;
    uint32_t cp, min;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, cp = c & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (i + len > bytes.size()) return false;
    for (int k = 1; k < len; ++k) {
      const unsigned char cc = static_cast<unsigned char>(bytes[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

}  // namespace zavrik
