#include "script/qs_grammar.h"

namespace zavrik {
namespace {

TqsGrammarKind KindOf(StringView lower_name) {
  static const std::pair<std::u16string_view, TqsGrammarKind> kKinds[] = {
      {u"char", TqsGrammarKind::gkChar},
      {u"keyword", TqsGrammarKind::gkKeyword},
      {u"ident", TqsGrammarKind::gkIdent},
      {u"number", TqsGrammarKind::gkNumber},
      {u"string", TqsGrammarKind::gkString},
      {u"frstring", TqsGrammarKind::gkFrString},
      {u"eol", TqsGrammarKind::gkEol},
      {u"sequence", TqsGrammarKind::gkSequence},
      {u"switch", TqsGrammarKind::gkSwitch},
      {u"optionalswitch", TqsGrammarKind::gkOptionalSwitch},
      {u"loop", TqsGrammarKind::gkLoop},
      {u"optionalloop", TqsGrammarKind::gkOptionalLoop},
      {u"optional", TqsGrammarKind::gkOptional},
  };
  for (const auto& [name, kind] : kKinds) {
    if (lower_name == name) return kind;
  }
  return TqsGrammarKind::gkReference;
}

bool IsSection(StringView name) {
  return SameTextAscii(name, u"parser") || SameTextAscii(name, u"types");
}

}  // namespace

TqsGrammar::TqsGrammar(std::string_view xml_text) {
  FDocument.LoadFromString(xml_text);
  const TqsXMLItem& root = FDocument.Root();
  FName = root.GetProp(u"text");
  const int parser = root.Find(u"parser");
  if (parser >= 0) ReadParserSection(root.Items(parser));
  const int types = root.Find(u"types");
  FTypes = types >= 0 ? root.Items(types).Clone() : std::make_unique<TqsXMLItem>(u"types");

  for (int i = 0; i < root.Count(); ++i) {
    if (!IsSection(root.Items(i).Name())) FRules.push_back(MakeItem(root.Items(i), true));
  }
  for (TqsGrammarItem& rule : FRules) ResolveReferences(rule);
  for (const TqsGrammarItem& rule : FRules) {
    if (SameTextAscii(rule.Name, u"program")) {
      FProgram = &rule;
      break;
    }
  }
}

void TqsGrammar::ReadParserSection(const TqsXMLItem& parser) {
  for (int i = 0; i < parser.Count(); ++i) {
    const TqsXMLItem& setting = parser.Items(i);
    const String name = AsciiLower(setting.Name());
    if (name == u"keywords") {
      for (int k = 0; k < setting.Count(); ++k) FKeywords.push_back(setting.Items(k).Name());
    } else if (name == u"errors") {
      for (int k = 0; k < setting.Count(); ++k) {
        FErrors.emplace_back(setting.Items(k).Name(), setting.Items(k).GetProp(u"text"));
      }
    } else {
      FSettings.emplace_back(name, setting.GetProp(u"text"));
    }
  }
}

TqsGrammarItem TqsGrammar::MakeItem(const TqsXMLItem& element, bool is_rule) {
  TqsGrammarItem item;
  item.Name = element.Name();
  item.Kind = is_rule ? TqsGrammarKind::gkRule : KindOf(AsciiLower(element.Name()));
  item.Text = AsciiLower(element.GetProp(u"text"));
  item.Node = AsciiLower(element.GetProp(u"node"));
  item.Add = element.GetProp(u"add");
  item.HasAddText = element.PropExists(u"addtext");
  item.AddText = element.GetProp(u"addtext");
  item.Term = element.GetProp(u"term") == u"1";
  const String skip = element.GetProp(u"skip");
  item.NoSkip = skip == u"0";
  item.SkipError = skip == u"1";
  const String err = element.GetProp(u"err");
  if (!err.empty()) item.ErrorMessage = ErrorText(err);
  item.Items.reserve(element.Count());
  for (int i = 0; i < element.Count(); ++i) item.Items.push_back(MakeItem(element.Items(i), false));
  return item;
}

String TqsGrammar::ErrorText(StringView id) const {
  for (const auto& [error_id, message] : FErrors) {
    if (SameTextAscii(error_id, id)) return message;
  }
  return String();
}

bool TqsGrammar::ProgramHasTerminator() const {
  return FProgram && !FProgram->Items.empty() &&
         FProgram->Items.back().Kind == TqsGrammarKind::gkChar;
}

void TqsGrammar::ResolveReferences(TqsGrammarItem& item) {
  if (item.Kind == TqsGrammarKind::gkReference) {
    for (const TqsGrammarItem& rule : FRules) {
      if (SameTextAscii(rule.Name, item.Name)) {
        item.Rule = &rule;
        break;
      }
    }
  }
  for (TqsGrammarItem& child : item.Items) ResolveReferences(child);
}

}  // namespace zavrik
