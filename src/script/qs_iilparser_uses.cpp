// TqsILParser: included units (`uses`) and script files.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/error.h"
#include "core/xml_text.h"
#include "script/qs_iilparser.h"

namespace zavrik {
namespace {

String UnitNameOf(const TqsILLine& file_leaf) {
  String name = XmlGetProp(file_leaf.Attributes, u"text", XmlDialect::kSyntaxTree);
  if (name.size() >= 2 && name.front() == u'\'' && name.back() == u'\'') name = name.substr(1, name.size() - 2);
  return name;
}

bool Contains(const std::vector<String>& names, StringView name) {
  for (const String& known : names) {
    if (SameTextAscii(known, name)) return true;
  }
  return false;
}

// The lines that rebuild `root` and its subtree (iteratively).
void AppendLines(const TqsXMLItem& root, std::vector<TqsILLine>& lines) {
  struct Open {
    const TqsXMLItem* item;
    int next_child;
  };
  std::vector<Open> stack;
  auto enter = [&](const TqsXMLItem& item) {
    if (item.Count() == 0) {
      lines.push_back({TqsILLine::ilLeaf, item.Name(), item.Text()});
    } else {
      lines.push_back({TqsILLine::ilOpen, item.Name(), item.Text()});
      stack.push_back({&item, 0});
    }
  };
  enter(root);
  while (!stack.empty()) {
    Open& top = stack.back();
    if (top.next_child < top.item->Count()) {
      enter(top.item->Items(top.next_child++));
    } else {
      lines.push_back({TqsILLine::ilClose, top.item->Name(), String()});
      stack.pop_back();
    }
  }
}

}  // namespace

// Replaces the `file` leaves emitted since `mark` (taken from the last to the first) by the
// units they name, each included once per compilation.
void TqsILParser::IncludeUnits(size_t mark) {
  std::vector<String> units;
  for (size_t i = FOutput.size(); i-- > mark;) {
    if (FOutput[i].LineKind == TqsILLine::ilLeaf && SameTextAscii(FOutput[i].Name, u"file")) {
      units.push_back(UnitNameOf(FOutput[i]));
      FOutput.erase(FOutput.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  std::vector<TqsILLine> included;
  for (const String& unit : units) {
    if (Contains(FUsesList, unit)) continue;
    FUsesList.push_back(unit);
    std::vector<TqsILLine> content;
    if (!ParseUnit(unit, content)) return;
    included.push_back({TqsILLine::ilOpen, u"uses", u"unit=\"" + XmlEscape(unit, XmlDialect::kSyntaxTree) + u"\""});
    for (TqsILLine& line : content) included.push_back(std::move(line));
    included.push_back({TqsILLine::ilClose, u"uses", String()});
  }
  FOutput.insert(FOutput.begin() + static_cast<std::ptrdiff_t>(mark), std::make_move_iterator(included.begin()),
                 std::make_move_iterator(included.end()));
}

String TqsILParser::ReadUnitText(const String& unit_name) {
  String text;
  if (FProgram.OnGetUnit) {
    FProgram.OnGetUnit(unit_name, text);
    return text;
  }
  std::string chosen;
  for (const String& directory : FProgram.IncludePath) {
    chosen = StringToUtf8(directory);
    if (!chosen.empty() && chosen.back() != '/') chosen += '/';
    chosen += StringToUtf8(unit_name);
    std::error_code error;
    if (std::filesystem::is_regular_file(chosen, error)) break;
  }
  return qsReadScriptFile(chosen);
}

// Parses a unit with a parser of its own; its error becomes this parse's error.
bool TqsILParser::ParseUnit(const String& unit_name, std::vector<TqsILLine>& content) {
  const String text = ReadUnitText(unit_name);
  TqsILParser unit(FProgram);
  unit.FUnitName = unit_name;
  unit.FUsesList = FUsesList;
  unit.FDepth = FDepth;
  unit.SelectLanguage(FLangName);
  if (unit.MakeILScript(text)) {
    FUsesList = unit.FUsesList;
    AppendLines(unit.FILScript.Root(), content);
    return true;
  }
  if (FProgram.ErrorUnit.empty()) FProgram.ErrorUnit = unit_name;
  ReportFatal(unit.FErrorMsg, unit.FErrorPos);
  return false;
}

String qsScriptTextFromUtf8(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  const String text = Utf8ToString(bytes);
  String joined;
  joined.reserve(text.size() + text.size() / 16 + 2);
  size_t i = 0;
  while (i < text.size()) {
    const size_t end = text.find_first_of(u"\r\n", i);
    joined.append(text, i, end == String::npos ? String::npos : end - i);
    joined += u"\r\n";
    if (end == String::npos) break;
    i = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
  }
  return joined;
}

String qsReadScriptFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error("Cannot open file \"" + path + "\"");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return qsScriptTextFromUtf8(bytes.str());
}

}  // namespace zavrik
