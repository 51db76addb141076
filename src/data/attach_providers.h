// The providers an attach goes through. The client tries its configured providers in turn; for a
// database named by a file path the network provider never serves the name on this platform, yet
// it prepares its login first: a big-number computation of about 2 ms on every attach.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zavrik::data {

// True for a name the network provider does not serve here: no host part ("host:path",
// "inet://...") and no "\\host\path".
bool IsLocalDatabaseName(std::string_view database_name);

// A configured provider list (names separated by commas or blanks) without "Remote", joined by
// commas; nothing when the list holds no "Remote" or nothing else.
std::optional<std::string> ProvidersWithoutRemote(std::string_view configured);

// The attach's per-connection setting "Providers=..." that leaves the network provider out of
// the list configured for this database, or nothing when the name is not local, the list holds
// no network provider, or the client cannot tell its configuration.
std::optional<std::string> LocalProvidersSetting(std::string_view database_name);

}  // namespace zavrik::data
