// Layout cases, one line each in layout_cases.txt:
//   font; size; width; options; text; expected lines separated by " | "
// options: a comma list of html, wordbreak, nowrap, bold, italic; "\n" in the text is a line break,
// "\s" in the expected lines a space.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "report/layout_helpers.h"

namespace zavrik {
namespace {

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size()) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

std::string Unescape(std::string text) {
  for (size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\n");
  for (size_t at; (at = text.find("\\r")) != std::string::npos;) text.replace(at, 2, "\r");
  return text;
}

TEST(LayoutCases, FromDataFile) {
  std::ifstream in(LAYOUT_CASES);
  ASSERT_TRUE(in) << LAYOUT_CASES;
  std::string row;
  int number = 0, checked = 0;
  while (std::getline(in, row)) {
    ++number;
    if (row.empty() || row[0] == '#') continue;
    const std::vector<std::string> fields = Split(row, "; ");
    ASSERT_EQ(fields.size(), 6u) << "line " << number;
    test::LayoutSetup setup;
    setup.font.name = Utf8ToString(fields[0]);
    setup.font.size = std::stod(fields[1]);
    setup.width = std::stoi(fields[2]);
    for (const std::string& option : Split(fields[3], ",")) {
      if (option == "html") setup.html = true;
      else if (option == "wordbreak") setup.word_break = true;
      else if (option == "nowrap") setup.word_wrap = false;
      else if (option == "bold") setup.font.style |= kFontBold;
      else if (option == "italic") setup.font.style |= kFontItalic;
    }
    TqbxDrawText layout;
    test::Prepare(layout, setup, Utf8ToString(Unescape(fields[4])));
    std::string actual;
    for (const auto& line : layout.Text()) actual += (actual.empty() ? "" : " | ") + StringToUtf8(line.Text);
    std::string expected = fields[5];
    for (size_t at; (at = expected.find("\\s")) != std::string::npos;) expected.replace(at, 2, " ");
    EXPECT_EQ(actual, expected) << "line " << number;
    ++checked;
  }
  EXPECT_GT(checked, 10);
}

}  // namespace
}  // namespace zavrik
