// TqsILParser: the grammar-driven syntax parser. It reads source text by interpreting the
// grammar of the selected language and produces the syntax tree (FILScript), an XML document
// whose element names come from the grammar's `node` and `add` attributes.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/ustring.h"
#include "script/qs_grammar.h"
#include "script/qs_iparser.h"
#include "script/qs_xml.h"

namespace zavrik {

// What the parser uses of its owning script (TqsScript): settings, the unit source and the
// error fields it fills.
struct TqsParserOwner {
  bool ExtendedCharset = false;
  // Directories searched for included units ('/' separates path parts).
  std::vector<String> IncludePath{String()};
  // Supplies the text of an included unit; when unset, units are read from IncludePath.
  std::function<void(const String& unit_name, String& unit_text)> OnGetUnit;
  String ErrorMsg;
  String ErrorPos;   // "line:column"
  String ErrorUnit;  // the unit the error lies in; empty for the main text
};

// One line of the parser's output: an element opening, its end, or a leaf element.
struct TqsILLine {
  enum Kind { ilOpen, ilClose, ilLeaf } LineKind;
  String Name;
  String Attributes;  // raw attribute text, values escaped
};

class TqsILParser {
 public:
  // Grammar recursion deeper than this ends the parse with "Nesting too deep" (far beyond real
  // scripts; keeps the stack bounded). Syntax trees are therefore never deeper either.
  static constexpr int kMaxNesting = 4000;

  explicit TqsILParser(TqsParserOwner& owner);

  // Resets the scanner and applies the grammar of the language; raises
  // "Language '%s' not found" for an unknown name.
  void SelectLanguage(StringView lang_name);
  // Parses `text`; true with FILScript filled on success. Sets the owner's ErrorMsg and
  // ErrorPos (empty on success). Raises "Invalid language definition" when the grammar refers
  // to an undefined rule, and the unit reading failures.
  bool MakeILScript(StringView text);

  TqsXMLDocument& ILScript() { return FILScript; }
  const String& LangName() const { return FLangName; }
  bool NeedDeclareVars() const { return FNeedDeclareVars; }
  const TqsGrammar* Grammar() const { return FGrammar.get(); }
  TqsParser& Parser() { return FParser; }
  const String& UnitName() const { return FUnitName; }
  const std::vector<String>& UsesList() const { return FUsesList; }

 private:
  struct Frame;
  bool ParseItem(const TqsGrammarItem& item);
  bool ParseTerminal(const TqsGrammarItem& item, String& token);
  bool ParseSequence(const std::vector<TqsGrammarItem>& items);
  bool ParseSwitch(const TqsGrammarItem& item);
  bool ParseLoop(const TqsGrammarItem& item);
  bool ParseFrString();
  void FinishMatched(const TqsGrammarItem& item, const Frame& frame, const String& token);
  // Opens `node` at the frame's first output line: fills the line reserved there or inserts one.
  void WrapNode(const String& node, const Frame& frame, bool reserved = false);
  void ReportError(const TqsGrammarItem& item, int start);
  void ReportFatal(StringView message, StringView position);
  void ReserveNodeLine();
  void ReportTooDeep(int start);
  void ClearError();
  String PositionAfterSpaces(int start);
  void EmitLeaf(StringView name, StringView text, StringView pos);

  // Included units (`uses`).
  void IncludeUnits(size_t mark);
  String ReadUnitText(const String& unit_name);
  bool ParseUnit(const String& unit_name, std::vector<TqsILLine>& content);

  void ReportUnparsedText();
  void BuildTree();
  int StartAfterDirective(StringView text);

  TqsParserOwner& FProgram;
  TqsParser FParser;
  std::shared_ptr<const TqsGrammar> FGrammar;
  TqsXMLDocument FILScript;
  String FLangName;
  bool FNeedDeclareVars = true;
  String FUnitName;
  std::vector<String> FUsesList;

  std::vector<TqsILLine> FOutput;
  String FErrorMsg;
  String FErrorPos;
  bool FErrorRecorded = false;
  bool FTermFlag = false;
  bool FFatal = false;  // an error no loop may clear; parsing only unwinds
  int FDepth = 0;
};

// Reads a UTF-8 script file as a list of lines (CR LF, LF or CR end a line; a byte-order mark
// is dropped) and gives the lines back each followed by CR LF, as a script's Lines text is.
// Raises "Cannot open file "<path>"" when the file cannot be read.
String qsReadScriptFile(const std::string& path);
// The same for text already in memory.
String qsScriptTextFromUtf8(std::string_view bytes);

}  // namespace zavrik
