// The run's environment (limits, reproducible dates), the memory budget and the checked output.
#include "driver/run_environment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <streambuf>

#include "core/error.h"
#include "core/memory_budget.h"
#include "driver/driver.h"

namespace zavrik::driver {
namespace {

TEST(ParseByteSize, NumbersWithBinaryUnits) {
  EXPECT_EQ(ParseByteSize("1048576"), 1048576u);
  EXPECT_EQ(ParseByteSize("512K"), 512u << 10);
  EXPECT_EQ(ParseByteSize("64m"), 64u << 20);
  EXPECT_EQ(ParseByteSize("2G"), size_t{2} << 30);
  EXPECT_EQ(ParseByteSize("0"), 0u);
  for (const char* bad : {"", "M", "-1", "1.5G", "12KB", "1 G", "lots", "99999999999999999999",
                          "17179869184G"})
    EXPECT_FALSE(ParseByteSize(bad)) << bad;
}

class Environment : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* name : {"ZAVRIK_MEMORY_LIMIT", "ZAVRIK_TIME_LIMIT", "SOURCE_DATE_EPOCH"})
      unsetenv(name);
  }
  static String Failure() {
    try {
      ReadRunEnvironment();
    } catch (const Error& e) {
      return e.Message();
    }
    return u"<no error>";
  }
};

TEST_F(Environment, DefaultsAreHalfTheMemoryAndNoClock) {
  const RunEnvironment environment = ReadRunEnvironment();
  EXPECT_EQ(environment.memory_limit, DefaultMemoryLimit());
  EXPECT_GT(environment.memory_limit, size_t{64} << 20);
  EXPECT_EQ(environment.time_limit, 0);
  EXPECT_FALSE(environment.source_date_epoch);
}

TEST_F(Environment, VariablesAreRead) {
  setenv("ZAVRIK_MEMORY_LIMIT", "300M", 1);
  setenv("ZAVRIK_TIME_LIMIT", "2.5", 1);
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  const RunEnvironment environment = ReadRunEnvironment();
  EXPECT_EQ(environment.memory_limit, size_t{300} << 20);
  EXPECT_DOUBLE_EQ(environment.time_limit, 2.5);
  EXPECT_EQ(environment.source_date_epoch, 1700000000);
  setenv("ZAVRIK_MEMORY_LIMIT", "", 1);  // empty is unset
  EXPECT_EQ(ReadRunEnvironment().memory_limit, DefaultMemoryLimit());
}

TEST_F(Environment, UnusableValuesNameTheVariable) {
  setenv("ZAVRIK_TIME_LIMIT", "soon", 1);
  EXPECT_EQ(Failure(), u"ZAVRIK_TIME_LIMIT: 'soon' is not a number of seconds");
  setenv("ZAVRIK_TIME_LIMIT", "nan", 1);
  EXPECT_EQ(Failure(), u"ZAVRIK_TIME_LIMIT: 'nan' is not a number of seconds");
  unsetenv("ZAVRIK_TIME_LIMIT");
  setenv("SOURCE_DATE_EPOCH", "-1", 1);
  EXPECT_EQ(Failure(), u"SOURCE_DATE_EPOCH: '-1' is not a number of seconds since 1970");
  setenv("SOURCE_DATE_EPOCH", "253402300800", 1);  // year 10000
  EXPECT_EQ(Failure(), u"SOURCE_DATE_EPOCH: '253402300800' is not a number of seconds since 1970");
}

TEST(MemoryBudget, GrowthBeyondTheLimitIsRefused) {
  SetMemoryLimit(0);
  EXPECT_NO_THROW(CheckMemoryGrowth(size_t{1} << 50));  // no limit
  SetMemoryLimit(AllocatedBytes() + 1000);
  EXPECT_TRUE(MemoryAvailable(1000));
  EXPECT_FALSE(MemoryAvailable(1001));
  EXPECT_THROW(CheckMemoryGrowth(1001), OutOfMemory);
  EXPECT_THROW(CheckMemoryGrowth(SIZE_MAX), std::bad_alloc);
  SetMemoryLimit(0);
  EXPECT_STREQ(OutOfMemory().what(), "Out of memory");
}

// Accepts `room` bytes, then fails.
class ShortBuffer : public std::streambuf {
 public:
  explicit ShortBuffer(size_t room) : room_(room) {}

 protected:
  int_type overflow(int_type c) override {
    if (room_ == 0) return traits_type::eof();
    --room_;
    return c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    const auto taken = std::min<std::streamsize>(n, static_cast<std::streamsize>(room_));
    room_ -= static_cast<size_t>(taken);
    return taken;
  }

 private:
  size_t room_;
};

TEST(WriteLine, EveryByteOrAFailure) {
  std::ostringstream out;
  EXPECT_EQ(WriteLine(out, "abc"), 0);
  EXPECT_EQ(out.str(), "abc\r\n");
  for (const size_t room : {0, 1, 3, 4}) {
    ShortBuffer buffer(room);
    std::ostream shorted(&buffer);
    EXPECT_NE(WriteLine(shorted, "abc"), 0) << room;
  }
  ShortBuffer enough(5);
  std::ostream fits(&enough);
  EXPECT_EQ(WriteLine(fits, "abc"), 0);
}

}  // namespace
}  // namespace zavrik::driver
