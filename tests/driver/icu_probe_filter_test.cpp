// The program's answers to the engine's search for ICU: a test program linked with the same
// interposed dlopen and dlerror.
#include <dlfcn.h>
#include <glob.h>
#include <gtest/gtest.h>

#include <string>

#include "driver/icu_probe_filter.h"

namespace zavrik::driver {
namespace {

// The bare name of the machine's ICU common library ("libicuuc.so.72").
std::string InstalledIcu() {
  glob_t found{};
  std::string name;
  if (glob("/usr/lib/*/libicuuc.so.[0-9][0-9]", 0, nullptr, &found) == 0 && found.gl_pathc > 0) {
    name = found.gl_pathv[0];
    name = name.substr(name.rfind('/') + 1);
  }
  globfree(&found);
  return name;
}

// The interposed dlerror hands on the loader's own reasons, here for a lookup that failed.
TEST(IcuProbeFilter, LoaderReasonReachesTheCaller) {
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "zavrik_no_such_entry_point"), nullptr);
  const char* reason = dlerror();
  ASSERT_NE(reason, nullptr);
  EXPECT_NE(std::string(reason).find("zavrik_no_such_entry_point"), std::string::npos) << reason;
}

TEST(IcuProbeFilter, AbsentVersionFailsWithTheLoadersWordingReadOnce) {
  PrepareIcuProbeAnswers();
  dlerror();
  EXPECT_EQ(dlopen("libicuuc.so.4_19", RTLD_NOW), nullptr);
  const char* reason = dlerror();
  ASSERT_NE(reason, nullptr);
  EXPECT_STREQ(reason,
               "libicuuc.so.4_19: cannot open shared object file: No such file or directory");
  EXPECT_EQ(dlerror(), nullptr);
}

TEST(IcuProbeFilter, InstalledVersionStillLoads) {
  const std::string icu = InstalledIcu();
  if (icu.empty()) GTEST_SKIP() << "no ICU on this machine";
  void* library = dlopen(icu.c_str(), RTLD_NOW);
  ASSERT_NE(library, nullptr) << dlerror();
  dlclose(library);
}

TEST(IcuProbeFilter, OtherNamesKeepTheLoadersAnswer) {
  EXPECT_EQ(dlopen("libicuuc.so.1", RTLD_NOW), nullptr);
  // A later failure of the loader's own is the one reported.
  EXPECT_EQ(dlopen("libzavrik-absent.so.1", RTLD_NOW), nullptr);
  const char* reason = dlerror();
  ASSERT_NE(reason, nullptr);
  EXPECT_NE(std::string(reason).find("libzavrik-absent.so.1"), std::string::npos) << reason;
  void* libc = dlopen("libc.so.6", RTLD_NOW);
  EXPECT_NE(libc, nullptr);
  if (libc) dlclose(libc);
}

}  // namespace
}  // namespace zavrik::driver
