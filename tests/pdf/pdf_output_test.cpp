// The document's bytes written on their own thread: the same bytes, offsets and identifier as
// writing them at once, and errors of the writing thread raised to the exporting one.
#include "pdf/pdf_output.h"

#include <gtest/gtest.h>

#include <new>
#include <random>
#include <sstream>
#include <streambuf>
#include <vector>

#include "core/error.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_test_support.h"

namespace zavrik::pdf {
namespace {

// A document of `pages` pages whose contents are pseudo-random enough that compression varies,
// some large enough to cross the writer's chunks; the identifier follows the content.
std::string Document(bool background, int pages, std::ostream* target = nullptr) {
  std::ostringstream buffer;
  std::ostream& out = target ? *target : buffer;
  PdfDocumentWriter w(out);
  w.Start("1.7", "", background);
  std::mt19937 random(7);
  for (int p = 0; p < pages; ++p) {
    std::string content;
    const int ops = p % 5 == 0 ? 20000 : 50 + p;
    for (int i = 0; i < ops; ++i)
      content += "BT /F0 " + std::to_string(random() % 40) + " Tf (" + std::to_string(random()) +
                 ") Tj ET\n";
    const int contents = w.NewStreamObject(content, p % 7 != 3);
    w.PageObject(PdfPage{595, 842, {{"F0", 2}}, {}, {}, false}, contents);
    w.Raw(std::string(static_cast<size_t>(p % 3) * 40000, '%'));  // plain bytes between objects
    w.Line("");
  }
  w.PageTree();
  PdfInfo info;
  info.date = PdfDate(2026, 12, 10, 12, 0, 0);
  const int i = w.Info(info);
  const int c = w.Catalog(info, {});
  w.XrefAndTrailer(c, i);
  return buffer.str();
}

TEST(PdfOutput, BackgroundWritingGivesTheSameBytes) {
  for (int pages : {0, 1, 3, 40}) {
    const std::string at_once = Document(false, pages), background = Document(true, pages);
    EXPECT_EQ(background, at_once) << pages;
    EXPECT_EQ(test::QpdfCheck(background), 0) << pages;
  }
}

// Large streams given last are still waiting when the document ends, so the finishing thread
// compresses some of them beside the writing thread: the bytes stay those of writing at once.
TEST(PdfOutput, StreamsWaitingAtTheEndGiveTheSameBytes) {
  auto document = [](bool background) {
    std::ostringstream out;
    PdfDocumentWriter w(out);
    w.Start("1.7", "", background);
    std::mt19937 random(11);
    std::vector<int> streams;
    for (int s = 0; s < 7; ++s) {
      std::string data;
      for (int i = 0; i < 30000; ++i) data += std::to_string(random() % (100 << s)) + ' ';
      streams.push_back(w.NewStreamObject(data, s != 4));
    }
    w.PageObject(PdfPage{595, 842, {}, {}, {}, false}, streams.front());
    w.PageTree();
    PdfInfo info;
    info.date = PdfDate(2026, 12, 10, 12, 0, 0);
    const int i = w.Info(info);
    w.XrefAndTrailer(w.Catalog(info, {}), i);
    return out.str();
  };
  const std::string at_once = document(false);
  for (int run = 0; run < 5; ++run) EXPECT_EQ(document(true), at_once) << run;
  EXPECT_EQ(test::QpdfCheck(at_once), 0);
}

TEST(PdfOutput, IdentifierIsTheDigestOfTheBytesBeforeTheTrailer) {
  const std::string pdf = Document(true, 12);
  const std::string id = Md5Hex(std::string_view(pdf).substr(0, pdf.find("trailer\r\n")));
  EXPECT_NE(pdf.find("/ID [<" + id + "><" + id + ">]"), std::string::npos);
}

// A stream buffer that takes `room` bytes and then fails, by error state or by exception.
class FailingBuffer : public std::streambuf {
 public:
  FailingBuffer(size_t room, bool out_of_memory) : room_(room), out_of_memory_(out_of_memory) {}

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    if (static_cast<size_t>(n) <= room_) {
      room_ -= static_cast<size_t>(n);
      return n;
    }
    if (out_of_memory_) throw std::bad_alloc();
    return 0;
  }
  int_type overflow(int_type c) override { return xsputn(nullptr, 1) == 1 ? c : traits_type::eof(); }

 private:
  size_t room_;
  bool out_of_memory_;
};

TEST(PdfOutput, WriteFailuresReachTheCaller) {
  for (bool background : {false, true}) {
    FailingBuffer full(100000, false);
    std::ostream out(&full);
    try {
      Document(background, 30, &out);
      ADD_FAILURE() << "no error, background " << background;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Cannot write the PDF document");
    }
  }
}

TEST(PdfOutput, OutOfMemoryInTheWritingThreadStaysOutOfMemory) {
  FailingBuffer full(100000, true);
  std::ostream out(&full);
  out.exceptions(std::ios::badbit);  // the buffer's exception passes through
  EXPECT_THROW(Document(true, 30, &out), std::bad_alloc);
}

TEST(PdfOutput, AbandonedDocumentStopsItsThread) {
  std::ostringstream out;
  {
    PdfDocumentWriter w(out);
    w.Start("1.7", "", true);
    for (int p = 0; p < 50; ++p) w.NewStreamObject(std::string(100000, 'x'), true);
  }  // no trailer: the writer is destroyed with bytes still queued, which are dropped
  EXPECT_EQ(out.str().find("trailer"), std::string::npos);
}

TEST(PdfOutput, UnreservedObjectIsRefused) {
  std::ostringstream out;
  PdfDocumentWriter w(out);
  w.Start("1.7", "", true);
  EXPECT_THROW(w.BeginObject(5), Error);
}

}  // namespace
}  // namespace zavrik::pdf
