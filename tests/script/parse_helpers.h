// Helpers for syntax parser tests: parse a text with a registered language and look at the tree
// or the error.
#pragma once

#include <string>

#include "script/qs_iilparser.h"
#include "script/qs_languages.h"

namespace zavrik::testing {

struct ParseResult {
  bool ok = false;
  std::string tree;   // compact XML of the syntax tree without the declaration
  std::string error;  // "[unit: ]line:column: message"
};

inline ParseResult ParseWith(StringView language, StringView text, TqsParserOwner owner = {}) {
  TqsILParser parser(owner);
  parser.SelectLanguage(language);
  ParseResult result;
  result.ok = parser.MakeILScript(text);
  if (result.ok) {
    std::string xml = parser.ILScript().SaveToString();
    result.tree = xml.substr(xml.find("?>") + 2);
  } else {
    result.error = StringToUtf8(owner.ErrorPos) + ": " + StringToUtf8(owner.ErrorMsg);
    if (!owner.ErrorUnit.empty()) result.error = StringToUtf8(owner.ErrorUnit) + ": " + result.error;
  }
  return result;
}

// A test grammar "@T": keywords `begin` and `end`, errors err1..err3, the given rules.
inline void RegisterTestGrammar(const std::string& rules, const std::string& settings = "") {
  qsRegisterLanguage(u"@T", R"(<?xml version="1.0"?><language text="@T"><parser>)" + settings +
                                R"(<keywords><begin/><end/></keywords><errors>)"
                                R"(<err1 text="Identifier expected"/><err2 text="';' expected"/>)"
                                R"(<err3 text="'END' expected"/></errors></parser>)"
                                R"(<types><t type="integer"/></types><empty/>)" +
                                rules + "</language>");
}

}  // namespace zavrik::testing
