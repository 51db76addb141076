// Page layout end to end: templates over real tables, run by the zavrik binary, checked page by
// page in the PDF. Every page break below follows from the band heights and the paper size that
// each template states.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/process.h"
#include "e2e/e2e_checks.h"
#include "support/pdf_tools.h"
#include "support/test_db.h"

namespace zavrik::test {
namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/templates/layout/" + name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The lines of a text, without empty ones.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\f')) line.pop_back();
    if (!line.empty() && line.front() == '\f') line.erase(0, 1);
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

int Occurrences(const std::string& text, const std::string& what) {
  int count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// "Строка 1" to "Строка <count>" on lines of their own, as a Text attribute.
std::string NumberedLines(int count) {
  std::string text;
  for (int n = 1; n <= count; ++n) text += (n > 1 ? "&#13;&#10;" : "") + ("Строка " + std::to_string(n));
  return text;
}

// The numbers following `word` in a text, in order.
std::vector<int> NumbersAfter(const std::string& text, const std::string& word) {
  std::vector<int> numbers;
  const std::regex pattern(word + " (\\d+)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator();
       ++it)
    numbers.push_back(std::stoi((*it)[1]));
  return numbers;
}

std::vector<int> Range(int from, int to) {
  std::vector<int> numbers;
  for (int n = from; n <= to; ++n) numbers.push_back(n);
  return numbers;
}

class LayoutTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    db_ = dir_->File("layout.fdb");
    std::vector<std::string> tables = {
        "CREATE TABLE SALES (ID INTEGER NOT NULL PRIMARY KEY, REGION VARCHAR(20), "
        "CITY VARCHAR(20), ITEM VARCHAR(40), AMOUNT INTEGER, QTY INTEGER)",
        "INSERT INTO SALES VALUES (1, 'Восток', 'Владивосток', 'Чай', 10, 1)",
        "INSERT INTO SALES VALUES (2, 'Восток', 'Владивосток', 'Кофе', 20, 2)",
        "INSERT INTO SALES VALUES (3, 'Восток', 'Хабаровск', 'Сахар', 30, 3)",
        "INSERT INTO SALES VALUES (4, 'Запад', 'Калининград', 'Хлеб', 5, 1)",
        "INSERT INTO SALES VALUES (5, 'Запад', 'Калининград', 'Соль', 7, 1)",
        "INSERT INTO SALES VALUES (6, 'Север', 'Мурманск', 'Рыба', 1, 1)",
        "INSERT INTO SALES VALUES (7, 'Север', 'Мурманск', 'Икра', 2, 1)",
        "INSERT INTO SALES VALUES (8, 'Север', 'Архангельск', 'Лес', 3, 1)",
        "INSERT INTO SALES VALUES (9, 'Север', 'Архангельск', 'Доска', 4, NULL)",
        "CREATE TABLE NUMS (N INTEGER NOT NULL PRIMARY KEY, BATCH VARCHAR(1))",
        "CREATE TABLE KEEPS (GRP VARCHAR(1) NOT NULL, N INTEGER NOT NULL)"};
    // 1..60, batch A up to 30; groups A and B of 5 rows, C of 15.
    std::string nums = "INSERT INTO NUMS SELECT N, IIF(N <= 30, 'A', 'B') FROM (";
    for (int n = 1; n <= 60; ++n) nums += (n > 1 ? " UNION ALL " : "") + ("SELECT " + std::to_string(n) + " AS N FROM RDB$DATABASE");
    tables.push_back(nums + ")");
    std::string keeps = "INSERT INTO KEEPS SELECT G, N FROM (";
    bool first = true;
    for (const auto& [group, count] : std::vector<std::pair<std::string, int>>{{"A", 5}, {"B", 5}, {"C", 15}}) {
      for (int n = 1; n <= count; ++n) {
        keeps += (first ? "" : " UNION ALL ") + ("SELECT '" + group + "' AS G, " + std::to_string(n) + " AS N FROM RDB$DATABASE");
        first = false;
      }
    }
    tables.push_back(keeps + ")");
    const std::string groups = Fixture("groups.xml");
    CreateReportDatabase(
        db_,
        {{"groups", groups},
         {"groups without null conversion",
          Replaced(groups, "ScriptLanguage=", "EngineOptions.ConvertNulls=\"False\" ScriptLanguage=")},
         {"nested", Fixture("nested_groups.xml")},
         {"page totals", Fixture("page_totals.xml")},
         {"keep groups", Fixture("keep_groups.xml")},
         {"keep footer", Fixture("keep_footer.xml")},
         {"page numbers", Fixture("page_numbers.xml")},
         {"columns", Fixture("columns.xml")},
         {"deferred totals", Fixture("deferred_totals.xml")},
         {"deferred page totals", Fixture("deferred_page_totals.xml")},
         {"duplicates under masters", Fixture("duplicates_master.xml")},
         {"split memo", Replaced(Fixture("split_memo.xml"), "@LINES@", NumberedLines(80))},
         {"band columns", Fixture("band_columns.xml")},
         {"band columns in groups", Fixture("band_column_groups.xml")},
         {"child rows", Fixture("child_rows.xml")},
         {"endless", Fixture("endless.xml")},
         {"subreports", Fixture("subreports.xml")},
         {"crosstab", Fixture("crosstab.xml")},
         {"print on parent", Fixture("print_on_parent.xml")}},
        tables);
  }
  static void TearDownTestSuite() { delete dir_; }

  // Runs a stored template; the PDF must have `pages` pages.
  static std::string Run(const std::string& report, int pages) {
    const ProcessResult r = RunProcess(ZAVRIK_BINARY, {db_, report, "1"});
    EXPECT_EQ(r.err, "") << report;
    const std::string pdf = PdfOf(r);
    EXPECT_EQ(PdfPageCount(pdf), pages) << report;
    return pdf;
  }

  static TempDir* dir_;
  static std::string db_;
};

TempDir* LayoutTest::dir_ = nullptr;
std::string LayoutTest::db_;

TEST_F(LayoutTest, GroupsPrintHeaderRowsAndFooterWithTheirTotals) {
  const std::string pdf = Run("groups", 1);
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)),
            (std::vector<std::string>{
                "Регион Восток", "1. Чай 10", "2. Кофе 20", "3. Сахар 30",
                "Итого Восток: сумма 60, строк 3, среднее количество 2, наибольшая 30, наименьшая 10",
                "Регион Запад", "1. Хлеб 5", "2. Соль 7",
                "Итого Запад: сумма 12, строк 2, среднее количество 1, наибольшая 7, наименьшая 5",
                "Регион Север", "1. Лес 3", "2. Доска 4", "3. Рыба 1", "4. Икра 2",
                // QTY of "Доска" is NULL, which counts as 0 while nulls are converted.
                "Итого Север: сумма 10, строк 4, среднее количество 0,75, наибольшая 4, наименьшая 1",
                "Всего: сумма 82, строк 9"}));
}

TEST_F(LayoutTest, AverageSkipsNullsWhenTheyAreNotConverted) {
  const std::string text = PdfPageText(Run("groups without null conversion", 1), 1);
  EXPECT_NE(text.find("Итого Север: сумма 10, строк 4, среднее количество 1,"), std::string::npos)
      << text;
}

TEST_F(LayoutTest, NestedGroupsCloseInnerFirstAndRestartTheirLines) {
  const std::string pdf = Run("nested", 1);
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)),
            (std::vector<std::string>{
                "Регион Восток #1", "Город Владивосток #1", "Строка 1/1 Чай", "Строка 2/2 Кофе",
                "Итого город Владивосток: 30", "Город Хабаровск #2", "Строка 1/3 Сахар",
                "Итого город Хабаровск: 30", "Итого регион Восток: 60",
                "Регион Запад #2", "Город Калининград #1", "Строка 1/4 Хлеб", "Строка 2/5 Соль",
                "Итого город Калининград: 12", "Итого регион Запад: 12",
                "Регион Север #3", "Город Архангельск #1", "Строка 1/6 Лес", "Строка 2/7 Доска",
                "Итого город Архангельск: 7", "Город Мурманск #2", "Строка 1/8 Рыба",
                "Строка 2/9 Икра", "Итого город Мурманск: 3", "Итого регион Север: 10"}));
}

TEST_F(LayoutTest, PageFooterShowsThePageTotalAndTheRunningTotal) {
  // 126 mm = 476.22 units: a 40-unit header, a 30-unit footer and 20 rows of 20 units a page.
  const std::string pdf = Run("page totals", 3);
  const char* footers[] = {"На странице 210, с начала 210", "На странице 610, с начала 820",
                           "На странице 1010, с начала 1830"};
  for (int page = 1; page <= 3; ++page) {
    const std::string text = PdfPageText(pdf, page);
    EXPECT_NE(text.find(footers[page - 1]), std::string::npos) << page << "\n" << text;
    EXPECT_NE(text.find("Число " + std::to_string(page * 20 - 19) + "\n"), std::string::npos);
    EXPECT_NE(text.find("Число " + std::to_string(page * 20) + "\n"), std::string::npos);
  }
}

TEST_F(LayoutTest, RepeatedValuesShowAgainOnTheFirstRowOfANewPage) {
  const std::string pdf = Run("page totals", 3);
  const std::string page1 = PdfPageText(pdf, 1), page2 = PdfPageText(pdf, 2),
                    page3 = PdfPageText(pdf, 3);
  EXPECT_EQ(Occurrences(page1, "Партия A"), 1);
  EXPECT_EQ(Occurrences(page2, "Партия A"), 1) << page2;  // row 21 repeats row 20's batch
  EXPECT_EQ(Occurrences(page2, "Партия B"), 1);
  EXPECT_EQ(Occurrences(page3, "Партия B"), 1) << page3;
}

TEST_F(LayoutTest, AGroupKeptTogetherMovesWholeAndATallerOneBreaks) {
  // 60 mm = 226.77 units, 11 bands of 20 units a page. Group A (7 bands) fits; B would break after
  // its third row and moves whole to page 2; C (17 bands) moves to page 3 when it first breaks,
  // then breaks normally onto page 4.
  const std::string pdf = Run("keep groups", 4);
  const std::vector<std::vector<std::string>> pages = {
      {"Группа A", "Строка A-1", "Строка A-2", "Строка A-3", "Строка A-4", "Строка A-5",
       "Конец A: 5"},
      {"Группа B", "Строка B-1", "Строка B-2", "Строка B-3", "Строка B-4", "Строка B-5",
       "Конец B: 5"},
      {"Группа C", "Строка C-1", "Строка C-2", "Строка C-3", "Строка C-4", "Строка C-5",
       "Строка C-6", "Строка C-7", "Строка C-8", "Строка C-9", "Строка C-10"},
      {"Строка C-11", "Строка C-12", "Строка C-13", "Строка C-14", "Строка C-15", "Конец C: 15"}};
  for (int page = 1; page <= 4; ++page)
    EXPECT_EQ(LinesOf(PdfPageText(pdf, page)), pages[page - 1]) << page;
}

TEST_F(LayoutTest, AKeptFooterTakesTheLastRowAlongBelowTheReprintedHeader) {
  const std::string pdf = Run("keep footer", 2);
  std::vector<std::string> first = {"Заголовок таблицы"};
  for (int n = 1; n <= 9; ++n) first.push_back("Строка " + std::to_string(n));
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)), first);
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 2)),
            (std::vector<std::string>{"Заголовок таблицы", "Строка 10", "Всего 10 на сумму 55"}));
}

TEST_F(LayoutTest, GroupsStartingNewPagesNumberTheirPagesApart) {
  const std::string pdf = Run("page numbers", 3);
  EXPECT_NE(PdfPageText(pdf, 1).find("Стр. 1 из 2"), std::string::npos) << PdfPageText(pdf, 1);
  EXPECT_NE(PdfPageText(pdf, 2).find("Стр. 2 из 2"), std::string::npos) << PdfPageText(pdf, 2);
  EXPECT_NE(PdfPageText(pdf, 3).find("Стр. 1 из 1"), std::string::npos) << PdfPageText(pdf, 3);
  EXPECT_EQ(PdfPageText(pdf, 2).find("Группа"), std::string::npos);
  EXPECT_NE(PdfPageText(pdf, 3).find("Группа A"), std::string::npos);
}

TEST_F(LayoutTest, RowsFillTheFirstColumnThenTheSecondThenANewPage) {
  // Below a 20-unit page header and a 20-unit column header, 9 rows of 20 units fit a column.
  const std::string pdf = Run("columns", 2);
  std::vector<std::string> page1 = {"Две колонки", "Колонка"};
  for (int n = 1; n <= 9; ++n) page1.push_back("Строка " + std::to_string(n));
  page1.push_back("Колонка");
  for (int n = 10; n <= 18; ++n) page1.push_back("Строка " + std::to_string(n));
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)), page1);
  std::vector<std::string> page2 = {"Две колонки", "Колонка"};
  for (int n = 19; n <= 27; ++n) page2.push_back("Строка " + std::to_string(n));
  page2.push_back("Колонка");
  for (int n = 28; n <= 30; ++n) page2.push_back("Строка " + std::to_string(n));
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 2)), page2);
  // The second column starts half the page width to the right: 50 mm = 141.73 pt.
  std::string boxes;
  RunOnFile(pdf, "pdftotext -bbox -f 1 -l 1 {} -", &boxes);
  const size_t ten = boxes.find(">10<");
  ASSERT_NE(ten, std::string::npos) << boxes;
  const size_t word = boxes.rfind("<word", ten);
  const double x = std::stod(boxes.substr(boxes.find("xMin=\"", word) + 6));
  EXPECT_NEAR(x, 141.73 + 30, 30) << boxes.substr(word, ten - word);
  EXPECT_GT(x, 141.0);
}

TEST_F(LayoutTest, DeferredMemosShowTotalsKnownOnlyAtTheEndOfTheirGroupOrReport) {
  const std::string pdf = Run("deferred totals", 1);
  // The title's second memo waits for the end of a report that has a summary: it stays empty.
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)),
            (std::vector<std::string>{
                "Всего продано на 82",
                "Город Архангельск на 7", "Продажа 8", "Продажа 9", "Итого 7",
                "Город Владивосток на 30", "Продажа 1", "Продажа 2", "Итого 30",
                "Город Калининград на 12", "Продажа 4", "Продажа 5", "Итого 12",
                "Город Мурманск на 3", "Продажа 6", "Продажа 7", "Итого 3",
                "Город Хабаровск на 30", "Продажа 3", "Итого 30", "Конец: 82"}));
}

// The heights of the vertical frame lines drawn at x (points, as written: "120.00") on a page, top
// to bottom.
std::vector<long> VerticalLines(const std::string& content, const std::string& x) {
  std::vector<long> heights;
  const std::string at = std::regex_replace(x, std::regex("\\."), "\\.");
  const std::regex move("^" + at + " (\\S+) m\r?$"), line("^" + at + " (\\S+) l\r?$");
  std::istringstream in(content);
  std::string previous;
  for (std::string current; std::getline(in, current); previous = current) {
    std::smatch from, to;
    if (std::regex_match(previous, from, move) && std::regex_match(current, to, line))
      heights.push_back(std::lround(std::fabs(std::stod(to[1]) - std::stod(from[1]))));
  }
  return heights;
}

TEST_F(LayoutTest, RepeatedValuesAreHiddenClearedOrMergedWithinEachPage) {
  // 20 rows a page; batch A is rows 1 to 30, B rows 31 to 60.
  const std::string pdf = Run("deferred page totals", 3);
  const char* totals[] = {"Сумма страницы 210", "Сумма страницы 610", "Сумма страницы 1010"};
  const std::vector<std::vector<std::string>> batches = {{"A"}, {"A", "B"}, {"B"}};
  for (int page = 1; page <= 3; ++page) {
    const std::string text = PdfPageText(pdf, page);
    EXPECT_NE(text.find(totals[page - 1]), std::string::npos) << page << "\n" << text;
    for (const std::string& batch : batches[page - 1]) {
      for (const char* mode : {"Скрыть ", "Очистить ", "Слить "})
        EXPECT_EQ(Occurrences(text, mode + batch), 1) << page << " " << mode << batch;
    }
    EXPECT_EQ(Occurrences(text, "Число "), 20) << page;
  }
  // The first merged memo of a run reaches over the rows that repeat it: 20 rows of 15 points
  // on the first and last page, two runs of 10 rows on the second.
  EXPECT_EQ(VerticalLines(PdfPageContent(pdf, 1), "120.00"), std::vector<long>{300});
  EXPECT_EQ(VerticalLines(PdfPageContent(pdf, 2), "120.00"), (std::vector<long>{150, 150}));
  EXPECT_EQ(VerticalLines(PdfPageContent(pdf, 3), "120.00"), std::vector<long>{300});
}

TEST_F(LayoutTest, ARepeatedValueIsShownAgainUnderANewMasterRecord) {
  const std::string pdf = Run("duplicates under masters", 1);
  // Quantities by region: 1 2 3 | 1 1 | 1 1 1 0 (the null one counts as 0).
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)),
            (std::vector<std::string>{"Регион Восток", "К=1 №1", "К=2 №2", "К=3 №3",
                                      "Регион Запад", "К=1 №4", "№5",
                                      "Регион Север", "К=1 №6", "№7", "№8", "К=0 №9"}));
}

TEST_F(LayoutTest, ALongCommentSplitsByWholeLinesOverThreePages) {
  // 120 mm = 453.54 units; below the 20-unit page header the memo's part is 433.54 units high,
  // 434 whole units hold 28 lines of 15.28 (Arial 10, line spacing 2): 28 + 28 + 24 lines.
  const std::string pdf = Run("split memo", 3);
  const std::vector<std::string> pages = {PdfPageText(pdf, 1), PdfPageText(pdf, 2),
                                          PdfPageText(pdf, 3)};
  EXPECT_EQ(NumbersAfter(pages[0], "Строка"), Range(1, 28)) << pages[0];
  EXPECT_EQ(NumbersAfter(pages[1], "Строка"), Range(29, 56)) << pages[1];
  EXPECT_EQ(NumbersAfter(pages[2], "Строка"), Range(57, 80)) << pages[2];
  for (int page = 1; page <= 3; ++page)
    EXPECT_EQ(NumbersAfter(pages[page - 1], "Стр."), std::vector<int>{page});
  // The memo beside prints with the first part, the one below with the last; the next record
  // follows on the last page.
  EXPECT_EQ(NumbersAfter(pages[0] + pages[1] + pages[2], "Рядом"), std::vector<int>{1});
  EXPECT_EQ(NumbersAfter(pages[0], "Рядом"), std::vector<int>{1});
  EXPECT_EQ(NumbersAfter(pages[0] + pages[1] + pages[2], "Ниже"), std::vector<int>{1});
  EXPECT_EQ(NumbersAfter(pages[2], "Ниже"), std::vector<int>{1});
  EXPECT_EQ(NumbersAfter(pages[2], "После"), std::vector<int>{1});
  EXPECT_LT(pages[2].find("Строка 80"), pages[2].find("Ниже 1"));
}

TEST_F(LayoutTest, ElevenLabelsFillThreeBandColumnsOverTwoPages) {
  // 30 mm = 113.39 units: below the 20-unit page header three rows of 30 units fit (to 110).
  const std::string pdf = Run("band columns", 2);
  const std::string first = PdfPageText(pdf, 1), second = PdfPageText(pdf, 2);
  std::vector<int> labels = NumbersAfter(first, "Этикетка");
  std::sort(labels.begin(), labels.end());
  EXPECT_EQ(labels, Range(1, 9)) << first;
  labels = NumbersAfter(second, "Этикетка");
  std::sort(labels.begin(), labels.end());
  EXPECT_EQ(labels, Range(10, 11)) << second;
  EXPECT_EQ(NumbersAfter(second, "Всего"), std::vector<int>{11}) << second;
  // Label 3 stands in the third column: 440 units (2 × (200 + 20)) = 330 pt to the right.
  std::string boxes;
  RunOnFile(pdf, "pdftotext -bbox -f 1 -l 1 {} -", &boxes);
  const std::regex three("<word xMin=\"([0-9.]+)\"[^>]*>3</word>");
  std::smatch match;
  ASSERT_TRUE(std::regex_search(boxes, match, three)) << boxes;
  EXPECT_GT(std::stod(match[1]), 330);
  EXPECT_LT(std::stod(match[1]), 330 + 100);
}

TEST_F(LayoutTest, AChildWithTenRowsFillsTheFormBeforeTheFooter) {
  const std::string pdf = Run("child rows", 1);
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)),
            (std::vector<std::string>{"Бланк на 10 строк", "1. Запись 1", "2. Запись 2",
                                      "3. Запись 3", "4. Запись 4", "5. пусто", "6. пусто",
                                      "7. пусто", "8. пусто", "9. пусто", "10. пусто",
                                      "Записей 4"}));
}

TEST_F(LayoutTest, TwoHundredRowsAndTheSummaryMakeOneEndlessPage) {
  const std::string pdf = Run("endless", 1);
  const std::string text = PdfPageText(pdf, 1);
  EXPECT_EQ(NumbersAfter(text, "Позиция"), Range(1, 200));
  EXPECT_NE(text.find("Итого позиций 200, сумма 20100"), std::string::npos) << text;
  // 200 rows of 20 units and the 30-unit summary, with 5 mm margins above and below:
  // (4030 / 3.77953 + 10) mm = 3050.8 pt.
  std::string info;
  RunOnFile(pdf, "pdfinfo {}", &info);
  std::smatch size;
  ASSERT_TRUE(std::regex_search(info, size, std::regex("Page size: +([0-9.]+) x ([0-9.]+) pts")))
      << info;
  EXPECT_NEAR(std::stod(size[1]), 80 * 2.8346, 0.5);
  EXPECT_NEAR(std::stod(size[2]), 3050.8, 1);
}

// The top (yMin) of the first word `word` in a page's bounding boxes.
double WordTop(const std::string& pdf, int page, const std::string& word) {
  std::string boxes;
  const std::string n = std::to_string(page);
  RunOnFile(pdf, "pdftotext -bbox -f " + n + " -l " + n + " {} -", &boxes);
  std::smatch match;
  const std::regex box("<word xMin=\"[0-9.]+\" yMin=\"([0-9.]+)\"[^>]*>" + word + "</word>");
  if (!std::regex_search(boxes, match, box)) return -1;
  return std::stod(match[1]);
}

// Groups of 5, 5 and 15 records in three band columns of 20-unit rows (15 pt): a group's
// unfinished row is closed before its footer, which prints below it, and the next group's header
// follows the footer.
TEST_F(LayoutTest, AGroupChangeClosesTheUnfinishedRowOfBandColumns) {
  const std::string pdf = Run("band columns in groups", 1);
  const double top = WordTop(pdf, 1, "HeadA");
  ASSERT_GE(top, 0);
  const std::vector<std::pair<std::string, double>> rows = {
      {"A1", 1}, {"A3", 1}, {"A4", 2}, {"A5", 2}, {"EndA", 3}, {"HeadB", 4}, {"B4", 6},
      {"EndB", 7}, {"HeadC", 8}, {"C13", 13}, {"C15", 13}, {"EndC", 14}};
  for (const auto& [word, row] : rows) EXPECT_NEAR(WordTop(pdf, 1, word) - top, row * 15, 0.5) << word;
}

TEST_F(LayoutTest, TwoSubreportsBesideEachOtherFollowTheirMasterRecord) {
  const std::string pdf = Run("subreports", 1);
  const std::string text = PdfPageText(pdf, 1);
  // Each region, then its items (left subreport), then its cities (right subreport).
  const std::vector<std::string> order = {
      "Регион Восток", "Товар Чай", "Товар Кофе", "Товар Сахар", "Город Владивосток",
      "Город Хабаровск", "Регион Запад", "Товар Хлеб", "Товар Соль", "Город Калининград",
      "Регион Север", "Товар Рыба", "Товар Икра", "Товар Лес", "Товар Доска",
      "Город Архангельск", "Город Мурманск"};
  size_t at = 0;
  for (const std::string& line : order) {
    const size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << "\n" << text;
    at = found + line.size();
  }
  // The subreport pages print nowhere else; the next region starts below the longer list.
  EXPECT_EQ(Occurrences(text, "Товар "), 9);
  EXPECT_EQ(Occurrences(text, "Город "), 5);
  EXPECT_NEAR(WordTop(pdf, 1, "Чай"), WordTop(pdf, 1, "Владивосток"), 0.5);
  // Восток: a 20-unit row, three items of 20 units below it: Запад is 80 units (60 pt) lower.
  EXPECT_NEAR(WordTop(pdf, 1, "Запад") - WordTop(pdf, 1, "Восток"), 60, 0.5);
}

// Regions down, the numbers 1 to 8 across: 150 units of row heads and five columns of 100 fill
// the 718-unit width (190 mm), columns 6 to 8 go to a page to the right with the row heads again.
// 90.7 units (24 mm) of height hold the header (20) and two rows (25 each), not the third: it
// starts the next pair of pages below the reprinted header, with the footer (40) after it.
TEST_F(LayoutTest, AVerticalBandLaysOutColumnsAcrossPagesToTheRightWithTheirTotals) {
  const std::string pdf = Run("crosstab", 4);
  auto columns = [](int from, int to, const std::string& cell) {
    std::string text;
    for (int n = from; n <= to; ++n) text += (n > from ? " " : "") + cell + std::to_string(n);
    return text;
  };
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)),
            (std::vector<std::string>{"Регион " + columns(1, 5, "Кол "),
                                      "Восток 1*60 2*60 3*60 4*60 5*60",
                                      "Запад 1*12 2*12 3*12 4*12 5*12"}));
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 2)),
            (std::vector<std::string>{"Регион " + columns(6, 8, "Кол "), "Восток 6*60 7*60 8*60",
                                      "Запад 6*12 7*12 8*12"}));
  // Each column's total (82 × its number) and the grand total, shown once on the left page (the
  // band's own object comes first in the page's text).
  std::vector<std::string> third = LinesOf(PdfPageText(pdf, 3));
  ASSERT_GE(third.size(), 2u);
  std::sort(third.begin() + 2, third.end());
  EXPECT_EQ(third, (std::vector<std::string>{"Регион " + columns(1, 5, "Кол "),
                                             "Север 1*10 2*10 3*10 4*10 5*10", "Всего 82",
                                             "Итого И1=82 И2=164 И3=246 И4=328 И5=410"}));
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 4)),
            (std::vector<std::string>{"Регион " + columns(6, 8, "Кол "), "Север 6*10 7*10 8*10",
                                      "Итого И6=492 И7=574 И8=656"}));
}

// Each region's band holds its items (20 units each) beside the region's name: Восток (60) and
// Запад (40) fill 100 of the 151.2 units (40 mm); Север with four items (80) moves whole.
TEST_F(LayoutTest, ASubreportOnItsParentMakesTheBandTallAndMovesWithIt) {
  const std::string pdf = Run("print on parent", 2);
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 1)),
            (std::vector<std::string>{"Регион Восток Товар Чай", "Товар Кофе", "Товар Сахар",
                                      "Регион Запад Товар Хлеб", "Товар Соль"}));
  EXPECT_EQ(LinesOf(PdfPageText(pdf, 2)),
            (std::vector<std::string>{"Регион Север Товар Рыба", "Товар Икра", "Товар Лес",
                                      "Товар Доска"}));
}

}  // namespace
}  // namespace zavrik::test
