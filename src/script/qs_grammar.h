// A language grammar, read once from its XML text into items the syntax parser interprets:
// element kinds decoded, attributes lower-cased where they compare, error ids replaced by their
// messages and rule references resolved.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/ustring.h"
#include "script/qs_xml.h"

namespace zavrik {

enum class TqsGrammarKind {
  gkRule,  // a rule definition (a child of the grammar's root)
  gkChar,
  gkKeyword,
  gkIdent,
  gkNumber,
  gkString,
  gkFrString,
  gkEol,
  gkSequence,
  gkSwitch,
  gkOptionalSwitch,
  gkLoop,
  gkOptionalLoop,
  gkOptional,
  gkReference,  // any other element name: the rule of that name
};

struct TqsGrammarItem {
  TqsGrammarKind Kind = TqsGrammarKind::gkSequence;
  String Name;          // element name (the rule name for definitions and references)
  String Text;          // `text`, lower-cased: the token to match, or a loop's separator
  String Node;          // `node`, lower-cased
  String Add;           // `add`
  String AddText;       // `addtext`
  bool HasAddText = false;
  String ErrorMessage;  // the message of `err`; empty when absent or undefined
  bool Term = false;    // term="1"
  bool NoSkip = false;  // skip="0" (char: no white space before it)
  bool SkipError = false;  // skip="1" (loop: a failing final iteration leaves no error)
  std::vector<TqsGrammarItem> Items;
  const TqsGrammarItem* Rule = nullptr;  // resolved reference; null when the rule is undefined
};

class TqsGrammar {
 public:
  // Raises XmlFormatError for malformed XML.
  explicit TqsGrammar(std::string_view xml_text);
  TqsGrammar(const TqsGrammar&) = delete;
  TqsGrammar& operator=(const TqsGrammar&) = delete;

  const String& Name() const { return FName; }
  // The start rule `program`, or null.
  const TqsGrammarItem* Program() const { return FProgram; }
  // The `parser` settings as (lower-cased element name, text), in order; keywords separately.
  const std::vector<std::pair<String, String>>& Settings() const { return FSettings; }
  const std::vector<String>& Keywords() const { return FKeywords; }
  // The message of error id `id` (case-insensitive); empty when the table has none.
  String ErrorText(StringView id) const;
  // True when the start rule ends in a punctuation character (PascalScript's final '.'): text
  // after it is not part of the program.
  bool ProgramHasTerminator() const;
  // The `types` element (an empty one when the grammar has none).
  const TqsXMLItem& Types() const { return *FTypes; }
  const TqsXMLDocument& Document() const { return FDocument; }

 private:
  void ReadParserSection(const TqsXMLItem& parser);
  TqsGrammarItem MakeItem(const TqsXMLItem& element, bool is_rule);
  void ResolveReferences(TqsGrammarItem& item);

  TqsXMLDocument FDocument;
  String FName;
  std::vector<std::pair<String, String>> FSettings;
  std::vector<String> FKeywords;
  std::vector<std::pair<String, String>> FErrors;  // (id, message)
  std::unique_ptr<TqsXMLItem> FTypes;
  std::vector<TqsGrammarItem> FRules;
  const TqsGrammarItem* FProgram = nullptr;
};

}  // namespace zavrik
