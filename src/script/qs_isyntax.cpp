#include "script/qs_isyntax.h"

#include "core/variant_convert.h"
#include "script/qs_ihelpers.h"
#include "script/qs_iinterpreter.h"

namespace zavrik {
namespace {

bool IsIdentChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c >= 0x80;
}

class DeclReader {
 public:
  explicit DeclReader(StringView text) : text_(text) {}
  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] <= u' ') ++pos_;
  }
  String Word() {
    SkipBlanks();
    const size_t start = pos_;
    while (pos_ < text_.size() && IsIdentChar(text_[pos_])) ++pos_;
    return String(text_.substr(start, pos_ - start));
  }
  bool Take(char16_t c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // A default value: a number, a quoted string, "-" number, or an identifier.
  Variant DefaultValue(const TqsScript& scope) {
    SkipBlanks();
    if (pos_ < text_.size() && (text_[pos_] == u'\'' || text_[pos_] == u'"')) {
      const char16_t quote = text_[pos_++];
      const size_t start = pos_;
      while (pos_ < text_.size() && text_[pos_] != quote) ++pos_;
      String s(text_.substr(start, pos_ - start));
      if (pos_ < text_.size()) ++pos_;
      return Variant(std::move(s));
    }
    const bool negative = Take(u'-');
    SkipBlanks();
    const size_t start = pos_;
    while (pos_ < text_.size() && (IsIdentChar(text_[pos_]) || text_[pos_] == u'.')) ++pos_;
    const String token(text_.substr(start, pos_ - start));
    if (token.empty()) return Variant::Null();
    if (token[0] >= u'0' && token[0] <= u'9') {
      const bool is_float = token.find(u'.') != String::npos;
      const std::string ascii(token.begin(), token.end());
      Variant v = is_float ? Variant(std::stod(ascii)) : Variant(static_cast<int32_t>(std::stol(ascii)));
      return negative ? (is_float ? Variant(-v.DoubleValue()) : Variant(static_cast<int32_t>(-v.SignedValue()))) : v;
    }
    TqsCustomVariable* item = scope.Find(token);
    return item ? item->Value() : Variant::Null();
  }
  size_t pos_ = 0;
  StringView text_;
};

}  // namespace

TqsDeclaration qsParseDeclaration(StringView syntax, const TqsScript& scope) {
  TqsDeclaration decl;
  DeclReader r(syntax);
  String keyword = AsciiLower(r.Word());
  if (keyword.starts_with(u"macro")) {
    decl.IsMacro = true;
    keyword = keyword.substr(5);
  }
  decl.IsFunc = keyword == u"function";
  decl.Name = r.Word();
  if (r.Take(u'(')) {
    while (!r.Take(u')')) {
      std::vector<String> names;
      bool is_var = false;
      String word = r.Word();
      if (word.empty()) break;  // malformed: stop at what is known
      if (qsSameName(word, u"var")) is_var = true;
      if (qsSameName(word, u"var") || qsSameName(word, u"const")) word = r.Word();
      names.push_back(word);
      while (r.Take(u',')) names.push_back(r.Word());
      String type_name;
      if (r.Take(u':')) type_name = r.Word();
      Variant def = Variant::Null();
      const bool has_default = r.Take(u'=');
      if (has_default) def = r.DefaultValue(scope);
      for (size_t i = 0; i < names.size(); ++i) {
        TqsDeclParam p{names[i], type_name, is_var};
        if (has_default && i + 1 == names.size()) {
          p.IsOptional = true;
          p.Default = def;
        }
        decl.Params.push_back(std::move(p));
      }
      r.Take(u';');
    }
  }
  if (decl.IsFunc) {
    const size_t colon = syntax.rfind(u':');
    if (colon != StringView::npos) {
      DeclReader tail(syntax.substr(colon + 1));
      decl.ResultType = tail.Word();
    }
  }
  return decl;
}

std::unique_ptr<TqsMethodHelper> qsMakeMethodHelper(StringView syntax, const TqsScript& scope) {
  const TqsDeclaration decl = qsParseDeclaration(syntax, scope);
  const TqsVarType typ = decl.IsFunc ? scope.TypeKind(decl.ResultType) : fvtClass;
  auto helper = std::make_unique<TqsMethodHelper>(decl.Name, typ, decl.ResultType);
  helper->FIsMacro = decl.IsMacro;
  helper->FSyntax = String(syntax);
  helper->FIsReadOnly = true;
  for (const TqsDeclParam& p : decl.Params) {
    auto param = std::make_unique<TqsParamItem>(p.Name, scope.TypeKind(p.TypeName), p.TypeName);
    param->FIsVarParam = p.IsVar;
    param->FIsOptional = p.IsOptional;
    param->FDefValue = p.Default;
    helper->AddOwnedParam(std::move(param));
  }
  helper->FVarArray.resize(decl.Params.size());
  return helper;
}

}  // namespace zavrik
