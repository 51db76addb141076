// TqsILParser: language selection, the parse of one text and the syntax tree it yields.
#include "script/qs_iilparser.h"

#include <algorithm>

#include "core/error.h"
#include "script/qs_languages.h"

namespace zavrik {

TqsILParser::TqsILParser(TqsParserOwner& owner) : FProgram(owner) {}

void TqsILParser::SelectLanguage(StringView lang_name) {
  FGrammar = qsGetGrammar(lang_name);
  FLangName = lang_name;
  FNeedDeclareVars = true;
  FParser.Clear();
  for (const String& keyword : FGrammar->Keywords()) FParser.AddKeyword(keyword);
  for (const auto& [name, text] : FGrammar->Settings()) {
    if (name == u"identchars") {
      FParser.ConstructCharset(text);
    } else if (name == u"commentline1") {
      FParser.SetCommentLine1(text);
    } else if (name == u"commentline2") {
      FParser.SetCommentLine2(text);
    } else if (name == u"commentblock1") {
      FParser.SetCommentBlock1(text);
    } else if (name == u"commentblock2") {
      FParser.SetCommentBlock2(text);
    } else if (name == u"stringquotes") {
      FParser.SetStringQuotes(text);
    } else if (name == u"hexsequence") {
      FParser.SetHexSequence(text);
    } else if (name == u"specstrchar" && text == u"1") {
      FParser.SetSpecStrChar(true);
    } else if (name == u"declarevars" && text == u"0") {
      FNeedDeclareVars = false;
    } else if (name == u"skipeol" && text == u"0") {
      FParser.SetSkipEOL(false);
    } else if (name == u"skipchar") {
      FParser.SetSkipChar(text);
    } else if (name == u"casesensitive" && text == u"1") {
      FParser.SetCaseSensitive(true);
    }
  }
  if (FProgram.ExtendedCharset) {
    TqsIdentifierCharset charset = FParser.IdentifierCharset();
    for (int c = 128; c < 256; ++c) charset.set(c);
    FParser.SetIdentifierCharset(charset);
  }
}

// "#language Name" on the first line selects the grammar; parsing goes on two characters after
// the carriage return ending that line. Returns the position where parsing starts.
int TqsILParser::StartAfterDirective(StringView text) {
  if (text.empty() || text[0] != u'#') return 1;
  FParser.SetPosition(2);
  if (!SameTextAscii(FParser.GetWord(), u"language")) return 1;
  const size_t name_start = static_cast<size_t>(FParser.Position() - 1);
  const size_t cr = text.find(u'\r', name_start);
  SelectLanguage(Trim(text.substr(name_start, cr == StringView::npos ? StringView::npos : cr - name_start)));
  // Selecting a language resets the scanner, text included.
  FParser.SetText(text);
  if (cr == StringView::npos) return FParser.Size() + 1;
  return std::min(static_cast<int>(cr) + 3, FParser.Size() + 1);
}

bool TqsILParser::MakeILScript(StringView text) {
  if (!FGrammar) throw Error(u"Language '" + FLangName + u"' not found");
  if (FUnitName.empty()) FProgram.ErrorUnit.clear();
  FParser.SetText(text);
  FParser.SetPosition(StartAfterDirective(text));
  FErrorRecorded = FTermFlag = FFatal = false;
  FErrorMsg.clear();
  FErrorPos.clear();
  FOutput.clear();

  const TqsGrammarItem* program = FGrammar->Program();
  if (!program) throw Error(String(u"Invalid language definition"));
  const int start = FParser.Position();
  const bool parsed = ParseItem(*program);
  if (parsed && !FErrorRecorded) ReportUnparsedText();
  const bool success = parsed && !FErrorRecorded;
  if (success) {
    BuildTree();
  } else if (!FErrorRecorded) {
    // The grammar failed without naming an error: say so rather than give an empty message.
    FErrorMsg = u"Syntax error";
    FErrorPos = PositionAfterSpaces(start);
  }
  FOutput.clear();
  FProgram.ErrorMsg = FErrorMsg;
  FProgram.ErrorPos = FErrorPos;
  return success;
}

// A program without a closing character ends where the text ends: text the start rule left
// behind (a line no statement can begin) is the grammar's statement error, never dropped.
void TqsILParser::ReportUnparsedText() {
  if (FGrammar->ProgramHasTerminator()) return;
  while (FParser.GetEOL()) {
  }
  if (FParser.Position() > FParser.Size()) return;
  FErrorMsg = FGrammar->ErrorText(u"err3");
  if (FErrorMsg.empty()) FErrorMsg = u"Syntax error";
  FErrorPos = FParser.GetXYPosition();
  FErrorRecorded = true;
}

// The output lines between <program> and </program>, then a copy of the grammar's types.
void TqsILParser::BuildTree() {
  auto root = std::make_unique<TqsXMLItem>(u"program");
  std::vector<TqsXMLItem*> open{root.get()};
  for (TqsILLine& line : FOutput) {
    switch (line.LineKind) {
      case TqsILLine::ilOpen:
        open.push_back(&open.back()->Add(std::move(line.Name)));
        open.back()->SetText(std::move(line.Attributes));
        break;
      case TqsILLine::ilLeaf:
        open.back()->Add(std::move(line.Name)).SetText(std::move(line.Attributes));
        break;
      case TqsILLine::ilClose:
        if (open.size() > 1) open.pop_back();
        break;
    }
  }
  root->AddItem(FGrammar->Types().Clone());
  FILScript.SetRoot(std::move(root));
}

}  // namespace zavrik
