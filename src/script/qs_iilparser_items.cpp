// TqsILParser: the recursive interpreter of grammar items.
#include "core/error.h"
#include "core/xml_text.h"
#include "script/qs_iilparser.h"

namespace zavrik {

struct TqsILParser::Frame {
  int start;    // scanner position on entry
  size_t mark;  // number of output lines on entry
};

namespace {

struct DepthGuard {
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  int& depth_;
};

bool IsTerminal(TqsGrammarKind kind) {
  switch (kind) {
    case TqsGrammarKind::gkChar:
    case TqsGrammarKind::gkKeyword:
    case TqsGrammarKind::gkIdent:
    case TqsGrammarKind::gkNumber:
    case TqsGrammarKind::gkString:
    case TqsGrammarKind::gkFrString:
    case TqsGrammarKind::gkEol:
      return true;
    default:
      return false;
  }
}

}  // namespace

// A rule definition is a sequence whose node wraps its output at the end; a sequence, a terminal
// that matched or a reference that succeeded gets its node and add, then runs its children.
// Failure returns to the start; terminals and references report their own error.
bool TqsILParser::ParseItem(const TqsGrammarItem& item) {
  if (FFatal) return false;
  const Frame frame{FParser.Position(), FOutput.size()};
  if (FDepth >= kMaxNesting) {
    ReportTooDeep(frame.start);
    return false;
  }
  DepthGuard guard(FDepth);
  switch (item.Kind) {
    case TqsGrammarKind::gkSwitch:
    case TqsGrammarKind::gkOptionalSwitch:
      return ParseSwitch(item);
    case TqsGrammarKind::gkLoop:
    case TqsGrammarKind::gkOptionalLoop:
      return ParseLoop(item);
    case TqsGrammarKind::gkOptional:
      if (!ParseSequence(item.Items)) FParser.SetPosition(frame.start);
      return true;
    default:
      break;
  }

  const bool is_rule = item.Kind == TqsGrammarKind::gkRule;
  // A rule's node line is reserved before its content, so that wrapping never moves the content.
  const bool reserved = is_rule && !item.Node.empty() && item.Node != u"uses";
  if (reserved) ReserveNodeLine();
  String token;
  bool ok;
  if (is_rule || item.Kind == TqsGrammarKind::gkSequence) {
    ok = ParseSequence(item.Items);
  } else if (IsTerminal(item.Kind)) {
    ok = ParseTerminal(item, token) && ParseSequence(item.Items);
  } else {
    if (!item.Rule) throw Error(String(u"Invalid language definition"));
    ok = ParseItem(*item.Rule) && ParseSequence(item.Items);
  }

  if (is_rule) {
    if (!ok) {
      FOutput.resize(frame.mark);
    } else if (item.Node == u"uses") {
      IncludeUnits(frame.mark);
    } else if (reserved) {
      WrapNode(item.Node, frame, true);
    }
  } else if (ok) {
    FinishMatched(item, frame, token);
  } else if (item.Kind != TqsGrammarKind::gkSequence) {
    ReportError(item, frame.start);
  }
  if (!ok) FParser.SetPosition(frame.start);
  return ok;
}

// The terminal's token; true when it matches the item's text (if any).
bool TqsILParser::ParseTerminal(const TqsGrammarItem& item, String& token) {
  switch (item.Kind) {
    case TqsGrammarKind::gkChar:
      if (!item.NoSkip) FParser.SkipSpaces();
      token = FParser.GetChar();
      break;
    case TqsGrammarKind::gkKeyword:
      token = FParser.GetWord();
      break;
    case TqsGrammarKind::gkIdent:
      token = FParser.GetIdent();
      break;
    case TqsGrammarKind::gkNumber:
      token = FParser.GetNumber();
      break;
    case TqsGrammarKind::gkString:
      token = FParser.GetString();
      break;
    case TqsGrammarKind::gkFrString:
      return ParseFrString();
    case TqsGrammarKind::gkEol:
      return FParser.GetEOL();
    default:
      return false;
  }
  if (token.empty()) return false;
  if (item.Text.empty()) return true;
  return FParser.CaseSensitive() ? token == item.Text : SameTextAscii(token, item.Text);
}

bool TqsILParser::ParseSequence(const std::vector<TqsGrammarItem>& items) {
  for (const TqsGrammarItem& child : items) {
    if (!ParseItem(child)) return false;
  }
  return true;
}

// switch: the first child that matches; optionalswitch also succeeds when none does.
bool TqsILParser::ParseSwitch(const TqsGrammarItem& item) {
  const int start = FParser.Position();
  for (const TqsGrammarItem& child : item.Items) {
    if (ParseItem(child)) return true;
    if (FFatal) return false;
  }
  if (item.Kind == TqsGrammarKind::gkOptionalSwitch) return true;
  ReportError(item, start);
  return false;
}

// loop / optionalloop [text=separator]: the children as a sequence, repeated. Two or more
// attempted iterations make a success that ends where the last attempt ended; a single one
// decides alone (an optionalloop then never fails).
bool TqsILParser::ParseLoop(const TqsGrammarItem& item) {
  const int start = FParser.Position();
  int attempts = 0;
  int iteration_end = start;
  bool iteration_ok = false;
  for (;;) {
    const int iteration_start = FParser.Position();
    ++attempts;
    iteration_ok = ParseSequence(item.Items);
    iteration_end = FParser.Position();
    if (!iteration_ok || FFatal) break;
    if (!item.Text.empty()) {
      FParser.SkipSpaces();
      if (FParser.GetChar() != item.Text) {
        FParser.SetPosition(iteration_end);
        break;
      }
    }
    if (FParser.Position() == iteration_start) break;
  }
  if (FFatal) return false;
  if (attempts >= 2) {
    FParser.SetPosition(iteration_end);
    if (item.SkipError || FTermFlag) ClearError();
    return true;
  }
  if (!iteration_ok && item.Kind == TqsGrammarKind::gkOptionalLoop) {
    FParser.SetPosition(start);
    return true;
  }
  return iteration_ok;
}

// frstring: the raw text of <...> becomes a call of the host function Get with that text.
bool TqsILParser::ParseFrString() {
  const String raw = FParser.GetFRString();
  const String pos = FParser.GetXYPosition();
  const String pos_attribute = u"pos=\"" + pos + u"\"";
  FOutput.push_back({TqsILLine::ilOpen, u"dsgn", pos_attribute});
  EmitLeaf(u"node", u"Get", pos);
  FOutput.push_back({TqsILLine::ilOpen, u"expr", pos_attribute});
  EmitLeaf(u"string", u"'" + raw + u"'", pos);
  FOutput.push_back({TqsILLine::ilClose, u"expr", String()});
  FOutput.push_back({TqsILLine::ilClose, u"dsgn", String()});
  return !raw.empty();
}

void TqsILParser::FinishMatched(const TqsGrammarItem& item, const Frame& frame, const String& token) {
  if (!item.Node.empty()) WrapNode(item.Node, frame);
  if (!item.Add.empty()) {
    EmitLeaf(item.Add, item.HasAddText ? item.AddText : token, FParser.GetXYPosition());
  }
}

void TqsILParser::WrapNode(const String& node, const Frame& frame, bool reserved) {
  String attributes = u"pos=\"" + PositionAfterSpaces(frame.start) + u"\"";
  if (node == u"expr") attributes += u" pos1=\"" + FParser.GetXYPosition() + u"\"";
  TqsILLine open{TqsILLine::ilOpen, node, std::move(attributes)};
  if (reserved) {
    FOutput[frame.mark] = std::move(open);
  } else {
    FOutput.insert(FOutput.begin() + static_cast<std::ptrdiff_t>(frame.mark), std::move(open));
  }
  FOutput.push_back({TqsILLine::ilClose, node, String()});
}

void TqsILParser::EmitLeaf(StringView name, StringView text, StringView pos) {
  String attributes = u"text=\"" + XmlEscape(text, XmlDialect::kSyntaxTree) + u"\" pos=\"";
  attributes += pos;
  attributes += u'"';
  FOutput.push_back({TqsILLine::ilLeaf, String(name), std::move(attributes)});
}

String TqsILParser::PositionAfterSpaces(int start) {
  const int current = FParser.Position();
  FParser.SetPosition(start);
  FParser.SkipSpaces();
  String position = FParser.GetXYPosition();
  FParser.SetPosition(current);
  return position;
}

// The first error is kept for good; an undefined error id records nothing.
void TqsILParser::ReportError(const TqsGrammarItem& item, int start) {
  if (FErrorRecorded || item.ErrorMessage.empty()) return;
  FErrorRecorded = true;
  FErrorMsg = item.ErrorMessage;
  FErrorPos = PositionAfterSpaces(start);
  FTermFlag = item.Term;
}

// An error that ends the parse whatever loops it is in.
void TqsILParser::ReportFatal(StringView message, StringView position) {
  if (!FFatal) {
    FErrorRecorded = true;
    FErrorMsg = message;
    FErrorPos = position;
    FTermFlag = false;
  }
  FFatal = true;
}

// These two stay out of ParseItem so that its frame, repeated at every level of nesting, stays
// small.
[[gnu::noinline]] void TqsILParser::ReserveNodeLine() { FOutput.push_back({TqsILLine::ilOpen, String(), String()}); }

[[gnu::noinline]] void TqsILParser::ReportTooDeep(int start) {
  ReportFatal(u"Nesting too deep", PositionAfterSpaces(start));
}

void TqsILParser::ClearError() {
  if (FFatal) return;
  FErrorRecorded = false;
  FErrorMsg.clear();
  FErrorPos.clear();
  FTermFlag = false;
}

}  // namespace zavrik
