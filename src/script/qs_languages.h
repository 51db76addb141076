// The process-wide language registry: language names and their grammar texts. The four built-in
// languages are registered on first use, in the order "PascalScript", "C++Script",
// "BasicScript", "JScript".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/ustring.h"
#include "script/qs_grammar.h"

namespace zavrik {

// Registers a grammar (UTF-8 XML text) under a name; a known name gets the new grammar.
void qsRegisterLanguage(StringView name, std::string grammar_xml);
// The grammar text of a language (case-insensitive name); raises "Language '%s' not found".
std::string qsGetLanguage(StringView name);
// The registered names, without those beginning with "@".
std::vector<String> qsGetLanguageList();
// The grammar of a language, read once and shared; raises like qsGetLanguage, and
// "Invalid file format" for a malformed grammar text.
std::shared_ptr<const TqsGrammar> qsGetGrammar(StringView name);

// The embedded grammar texts (generated at build time from src/script/grammars/*.xml).
extern const char* const kPascalScriptGrammar;
extern const char* const kCppScriptGrammar;
extern const char* const kBasicScriptGrammar;
extern const char* const kJScriptGrammar;

}  // namespace zavrik
