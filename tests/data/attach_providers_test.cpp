// The attach of a database named by a path leaves the network provider out of the list.
#include "data/attach_providers.h"

#include <gtest/gtest.h>

#include "data/fb_api.h"

namespace zavrik::data {
namespace {

TEST(AttachProviders, NetworkProviderIsTakenOutOfTheConfiguredList) {
  EXPECT_EQ(ProvidersWithoutRemote("Remote, Engine12, Loopback"), "Engine12,Loopback");
  EXPECT_EQ(ProvidersWithoutRemote("  Engine12 ,\tREMOTE;Loopback  "), "Engine12,Loopback");
  EXPECT_EQ(ProvidersWithoutRemote("Engine12,Remote"), "Engine12");
  // Nothing to take out, or nothing left: the configured list stands.
  EXPECT_EQ(ProvidersWithoutRemote("Engine12, Loopback"), std::nullopt);
  EXPECT_EQ(ProvidersWithoutRemote("Remote"), std::nullopt);
  EXPECT_EQ(ProvidersWithoutRemote(" , "), std::nullopt);
  EXPECT_EQ(ProvidersWithoutRemote(""), std::nullopt);
  EXPECT_EQ(ProvidersWithoutRemote("Remoteless,Engine12"), std::nullopt);
}

TEST(AttachProviders, OnlyNamesWithoutAHostAreLocal) {
  EXPECT_TRUE(IsLocalDatabaseName("/tmp/demo.fdb"));
  EXPECT_TRUE(IsLocalDatabaseName("demo.fdb"));
  EXPECT_TRUE(IsLocalDatabaseName("employee"));  // an alias is resolved by the engine
  EXPECT_FALSE(IsLocalDatabaseName("localhost:/tmp/demo.fdb"));
  EXPECT_FALSE(IsLocalDatabaseName("server/3051:demo"));
  EXPECT_FALSE(IsLocalDatabaseName("inet://server/demo"));
  EXPECT_FALSE(IsLocalDatabaseName("\\\\server\\share\\demo.fdb"));
  EXPECT_FALSE(IsLocalDatabaseName(""));
}

TEST(AttachProviders, MachineConfigurationGivesTheEmbeddedEngineFirst) {
  LoadFbApi();
  const std::optional<std::string> setting = LocalProvidersSetting("/tmp/zavrik-no-such.fdb");
  ASSERT_TRUE(setting.has_value()) << "the client's configuration lists the network provider";
  EXPECT_EQ(setting->rfind("Providers=", 0), 0u) << *setting;
  EXPECT_EQ(setting->find("Remote"), std::string::npos) << *setting;
  EXPECT_NE(setting->find("Engine"), std::string::npos) << *setting;
  EXPECT_EQ(LocalProvidersSetting("localhost:/tmp/zavrik-no-such.fdb"), std::nullopt);
}

}  // namespace
}  // namespace zavrik::data
