#include "data/attach_providers.h"

#include <firebird/Interface.h>

#include <algorithm>

#include "core/ustring.h"
#include "data/fb_api.h"

namespace zavrik::data {

bool IsLocalDatabaseName(std::string_view database_name) {
  return !database_name.empty() && database_name.find(':') == std::string_view::npos &&
         database_name.substr(0, 2) != "\\\\";
}

std::optional<std::string> ProvidersWithoutRemote(std::string_view configured) {
  std::string rest;
  bool had_remote = false;
  size_t at = 0;
  while (at < configured.size()) {
    const size_t end = std::min(configured.find_first_of(", \t;", at), configured.size());
    const std::string_view name = configured.substr(at, end - at);
    if (AsciiLower(name) == "remote") {
      had_remote = true;
    } else if (!name.empty()) {
      if (!rest.empty()) rest += ',';
      rest += name;
    }
    at = end + 1;
  }
  if (!had_remote || rest.empty()) return std::nullopt;
  return rest;
}

std::optional<std::string> LocalProvidersSetting(std::string_view database_name) {
  if (!IsLocalDatabaseName(database_name) || !Fb().get_master_interface) return std::nullopt;
  auto* master = static_cast<Firebird::IMaster*>(Fb().get_master_interface());
  Firebird::IConfigManager* manager = master ? master->getConfigManager() : nullptr;
  if (!manager || manager->cloopVTable->version < 2) return std::nullopt;
  Firebird::IFirebirdConf* conf = manager->getDatabaseConf(std::string(database_name).c_str());
  if (!conf) return std::nullopt;
  const char* value = conf->asString(conf->getKey("Providers"));
  const std::string configured = value ? value : "";
  conf->release();
  const std::optional<std::string> rest = ProvidersWithoutRemote(configured);
  if (!rest) return std::nullopt;
  return "Providers=" + *rest;
}

}  // namespace zavrik::data
