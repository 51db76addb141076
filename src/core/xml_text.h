// Attribute texts of the XML dialect shared by templates and script grammars / syntax trees:
// escaping, unescaping, attribute lookup inside a raw attribute text, name and UTF-8 checks.
#pragma once

#include <string>
#include <string_view>

#include "core/error.h"
#include "core/ustring.h"

namespace zavrik {

// The two users of the dialect differ in how attribute values are escaped.
enum class XmlDialect {
  kTemplate,    // NUL handled, "&quot;" rewritten, named entities understood on reading
  kSyntaxTree,  // only LF, CR, '"', '&', '<', '>' escaped; "&#n;" and "&quot;" understood
};

// The one failure of the XML layer: "Invalid file format".
class XmlFormatError : public Error {
 public:
  XmlFormatError();
};

String XmlEscape(StringView text, XmlDialect dialect);
// XmlEscape's text appended to `out`.
void AppendXmlEscaped(String& out, StringView text, XmlDialect dialect);
// Template dialect: a reference "&#...;" whose text is not a decimal 32-bit integer raises
// "'%s' is not a valid integer value". "&#" without a ';' is kept as it is.
String XmlUnescape(StringView value, XmlDialect dialect);

// Attribute access on a raw attribute text such as `Name="a" Left="1"`; names compare
// case-insensitively and must be preceded by a space or start the text.
bool XmlPropExists(StringView attributes, StringView name);
String XmlGetProp(StringView attributes, StringView name, XmlDialect dialect);
void XmlSetProp(String& attributes, StringView name, StringView value, XmlDialect dialect);
void XmlDeleteProp(String& attributes, StringView name);

// Element names travel as 8-bit text: Latin-1 in syntax trees (characters above U+00FF are
// written as '?'), the Windows-1251 code page in templates.
String XmlNameFromBytes(std::string_view bytes, XmlDialect dialect = XmlDialect::kSyntaxTree);
std::string XmlNameToBytes(StringView name, XmlDialect dialect = XmlDialect::kSyntaxTree);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values > U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

}  // namespace zavrik
