#include "data/param_blocks.h"

#include <gtest/gtest.h>

#include "support/test_helpers.h"

#include <functional>

#include "core/error.h"

namespace zavrik::data {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

TEST(AttachParameters, ProgramParametersGiveTheExactBlock) {
  const AttachParameters dpb =
      BuildDpb({u"user_name=SYSDBA", u"password=plovertin", u"lc_ctype=UTF8"});
  EXPECT_EQ(dpb.bytes,
            Bytes({1, 28, 6}) + "SYSDBA" + Bytes({29, 9}) + "plovertin" + Bytes({48, 4}) + "UTF8");
  EXPECT_EQ(dpb.charset, u"UTF8");
}

TEST(AttachParameters, NamesAreTrimmedLowerCasedAndPrefixStripped) {
  const AttachParameters dpb =
      BuildDpb({u"  ISC_DPB_User_Name =a=b", u"", u"=x", u"num_buffers=75"});
  // The value is everything after the first "="; empty names are skipped.
  EXPECT_EQ(dpb.bytes, Bytes({1, 28, 3}) + "a=b" + Bytes({5, 1, 75}));
  EXPECT_TRUE(dpb.charset.empty());
}

TEST(AttachParameters, UnknownAndUnsupportedNames) {
  EXPECT_EQ(test::ErrorMessage([] { BuildDpb({u"colour=red"}); }),
            u"DPB Constant (colour) is unknown");
  EXPECT_EQ(test::ErrorMessage([] { BuildDpb({u"isc_dpb_page_size=4096"}); }),
            u"DPB Constant (isc_dpb_page_size) is unsupported");
  EXPECT_EQ(test::ErrorMessage([] { BuildDpb({u"num_buffers=lots"}); }),
            u"'lots' is not a valid integer value");
}

TEST(AttachParameters, ValuesLongerThanALengthByteAreRejected) {
  EXPECT_EQ(test::ErrorMessage([] { BuildDpb({u"password=" + String(256, u'x')}); }),
            u"DPB Constant (isc_dpb_password) value is longer than 255 bytes");
  EXPECT_NO_THROW(BuildDpb({u"password=" + String(255, u'x')}));
}

TEST(TransactionParameters, ProgramParametersGiveTheExactBlock) {
  EXPECT_EQ(BuildTpb({u"read", u"read_committed", u"rec_version", u"nowait"}),
            Bytes({3, 8, 15, 17, 7}));
  EXPECT_EQ(BuildTpb({u"ISC_TPB_WRITE", u"Concurrency", u"wait"}), Bytes({3, 9, 2, 6}));
}

TEST(TransactionParameters, UnknownAndUnsupportedNames) {
  EXPECT_EQ(test::ErrorMessage([] { BuildTpb({u"readonly"}); }),
            u"TPB Constant (readonly) is unknown");
  EXPECT_EQ(test::ErrorMessage([] { BuildTpb({u"lock_read=T"}); }),
            u"TPB Constant (isc_tpb_lock_read) is unsupported");
}

}  // namespace
}  // namespace zavrik::data
