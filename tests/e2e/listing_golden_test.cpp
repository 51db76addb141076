// The benchmark listing over 300 rows gives, byte for byte, the document kept in the fixtures:
// speed work on the engine, the prepared pages or the export must not change a single operator.
// Regenerate the file only for an intended change of the output, and say so in the commit.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/e2e_checks.h"
#include "support/test_db.h"

namespace zavrik::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The statements of the benchmark's row script for `rows` rows (one table, one block).
std::vector<std::string> RowStatements(int rows) {
  std::string sql = ReadFile(std::string(ZAVRIK_SOURCE_DIR) + "/bench/listing/rows.sql.in");
  sql = std::regex_replace(sql, std::regex("@N@"), std::to_string(rows));
  const size_t table_end = sql.find(';');
  const size_t block = sql.find("EXECUTE BLOCK");
  const size_t block_end = sql.find("END^", block);
  return {sql.substr(0, table_end), sql.substr(block, block_end + 3 - block)};
}

TEST(ListingGolden, ThreeHundredRowsGiveTheKeptDocument) {
  TempDir dir;
  const std::string db = dir.File("listing.fdb");
  CreateReportDatabase(db, {{"listing", ReadFile(std::string(ZAVRIK_SOURCE_DIR) + "/bench/listing/listing.xml")}},
                       RowStatements(300));
  const ProcessResult r =
      RunShell("SOURCE_DATE_EPOCH=1700000000 exec \"$0\" \"$@\"", ZAVRIK_BINARY, {db, "listing", "0"});
  const std::string pdf = PdfOf(r);
  const std::string golden = ReadFile(std::string(ZAVRIK_FIXTURES) + "/golden/listing-300.pdf");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(PdfPageCount(pdf), 8);
  // A difference is reported by its first differing offset; the whole documents would drown it.
  size_t first = 0;
  while (first < pdf.size() && first < golden.size() && pdf[first] == golden[first]) ++first;
  EXPECT_TRUE(pdf == golden) << "first difference at byte " << first << " of " << pdf.size()
                             << " (kept: " << golden.size() << ")";
}

// Finished pages are packed in memory by default; the swap file and pages kept as elements
// (the file cache with a limit never reached) give the same bytes, in one pass or in two.
TEST(ListingGolden, PagesPackedSwappedOrKeptAsElementsGiveTheSameDocument) {
  TempDir dir;
  const std::string db = dir.File("listing.fdb");
  const std::string listing = ReadFile(std::string(ZAVRIK_SOURCE_DIR) + "/bench/listing/listing.xml");
  const std::vector<std::pair<std::string, std::string>> modes = {
      {"packed", ""},
      {"swap file", "EngineOptions.UseFileCache=\"True\" EngineOptions.MaxMemSize=\"0\" "},
      {"elements", "EngineOptions.UseFileCache=\"True\" EngineOptions.MaxMemSize=\"1000\" "}};
  std::vector<std::pair<std::string, std::string>> templates;
  for (const auto& [mode, options] : modes) {
    for (const std::string passes : {"", "EngineOptions.DoublePass=\"True\" "}) {
      std::string text = listing;
      text.insert(text.find("<TqbxReport ") + 12, options + passes);
      templates.push_back({mode + (passes.empty() ? "" : " twice"), text});
    }
  }
  CreateReportDatabase(db, templates, RowStatements(300));
  const std::string golden = ReadFile(std::string(ZAVRIK_FIXTURES) + "/golden/listing-300.pdf");
  std::string twice;
  for (const auto& [name, text] : templates) {
    const ProcessResult r =
        RunShell("SOURCE_DATE_EPOCH=1700000000 exec \"$0\" \"$@\"", ZAVRIK_BINARY, {db, name, "0"});
    EXPECT_EQ(r.err, "") << name;
    const std::string pdf = PdfOf(r);
    if (name.ends_with("twice")) {
      if (twice.empty()) twice = pdf;
      EXPECT_TRUE(pdf == twice) << name;
      EXPECT_EQ(PdfPageCount(pdf), 8) << name;
    } else {
      EXPECT_TRUE(pdf == golden) << name;
    }
  }
}

}  // namespace
}  // namespace zavrik::test
