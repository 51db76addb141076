#include "data/param_blocks.h"

#include <ibase.h>

#include <charconv>

#include "core/error.h"
#include "data/charset.h"

namespace zavrik::data {
namespace {

enum class Accept { No, Text, Byte, Flag };

struct ParamName {
  const char* name;
  int code;
  Accept accept;
};

// The published attach-parameter names, with the ones this layer accepts.
constexpr ParamName kDpbNames[] = {
    {"cdd_pathname", 1, Accept::No},
    {"allocation", 2, Accept::No},
    {"journal", 3, Accept::No},
    {"page_size", 4, Accept::No},
    {"num_buffers", 5, Accept::Byte},
    {"buffer_length", 6, Accept::No},
    {"debug", 7, Accept::No},
    {"garbage_collect", 8, Accept::No},
    {"verify", 9, Accept::Byte},
    {"sweep", 10, Accept::No},
    {"enable_journal", 11, Accept::No},
    {"disable_journal", 12, Accept::No},
    {"dbkey_scope", 13, Accept::Byte},
    {"number_of_users", 14, Accept::No},
    {"trace", 15, Accept::No},
    {"no_garbage_collect", 16, Accept::No},
    {"damaged", 17, Accept::Byte},
    {"license", 18, Accept::Text},
    {"sys_user_name", 19, Accept::Text},
    {"encrypt_key", 20, Accept::Text},
    {"activate_shadow", 21, Accept::No},
    {"sweep_interval", 22, Accept::No},
    {"delete_shadow", 23, Accept::No},
    {"force_write", 24, Accept::Byte},
    {"begin_log", 25, Accept::No},
    {"quit_log", 26, Accept::No},
    {"no_reserve", 27, Accept::Byte},
    {"user_name", 28, Accept::Text},
    {"password", 29, Accept::Text},
    {"password_enc", 30, Accept::Text},
    {"sys_user_name_enc", 31, Accept::No},
    {"interp", 32, Accept::No},
    {"online_dump", 33, Accept::No},
    {"old_file_size", 34, Accept::No},
    {"old_num_files", 35, Accept::No},
    {"old_file", 36, Accept::No},
    {"old_start_page", 37, Accept::No},
    {"old_start_seqno", 38, Accept::No},
    {"old_start_file", 39, Accept::No},
    {"drop_walfile", 40, Accept::No},
    {"old_dump_id", 41, Accept::No},
    {"wal_backup_dir", 42, Accept::No},
    {"wal_chkptlen", 43, Accept::No},
    {"wal_numbufs", 44, Accept::No},
    {"wal_bufsize", 45, Accept::No},
    {"wal_grp_cmt_wait", 46, Accept::No},
    {"lc_messages", 47, Accept::Text},
    {"lc_ctype", 48, Accept::Text},
    {"cache_manager", 49, Accept::No},
    {"shutdown", 50, Accept::No},
    {"online", 51, Accept::No},
    {"shutdown_delay", 52, Accept::No},
    {"reserved", 53, Accept::No},
    {"overwrite", 54, Accept::No},
    {"sec_attach", 55, Accept::No},
    {"disable_wal", 56, Accept::No},
    {"connect_timeout", 57, Accept::No},
    {"dummy_packet_interval", 58, Accept::No},
    {"gbak_attach", 59, Accept::No},
    {"sql_role_name", 60, Accept::Text},
    {"set_page_buffers", 61, Accept::No},
    {"working_directory", 62, Accept::No},
    {"sql_dialect", 63, Accept::Byte},
    {"set_db_readonly", 64, Accept::No},
    {"set_db_sql_dialect", 65, Accept::No},
    {"gfix_attach", 66, Accept::No},
    {"gstat_attach", 67, Accept::No},
    {"set_db_charset", 68, Accept::No},
};

// The published transaction-parameter names, with the ones this layer accepts (flags only).
constexpr ParamName kTpbNames[] = {
    {"consistency", 1, Accept::Flag},
    {"concurrency", 2, Accept::Flag},
    {"shared", 3, Accept::Flag},
    {"protected", 4, Accept::Flag},
    {"exclusive", 5, Accept::Flag},
    {"wait", 6, Accept::Flag},
    {"nowait", 7, Accept::Flag},
    {"read", 8, Accept::Flag},
    {"write", 9, Accept::Flag},
    {"lock_read", 10, Accept::No},
    {"lock_write", 11, Accept::No},
    {"verb_time", 12, Accept::No},
    {"commit_time", 13, Accept::No},
    {"ignore_limbo", 14, Accept::Flag},
    {"read_committed", 15, Accept::Flag},
    {"autocommit", 16, Accept::Flag},
    {"rec_version", 17, Accept::Flag},
    {"no_rec_version", 18, Accept::Flag},
    {"restart_requests", 19, Accept::Flag},
    {"no_auto_undo", 20, Accept::Flag},
    {"lock_timeout", 21, Accept::No},
};

template <size_t N>
const ParamName* Find(const ParamName (&table)[N], const std::string& name) {
  for (const auto& entry : table)
    if (name == entry.name) return &entry;
  return nullptr;
}

std::string StripPrefix(std::string name, std::string_view prefix) {
  if (name.compare(0, prefix.size(), prefix) == 0) name.erase(0, prefix.size());
  return name;
}

uint8_t ByteValue(const std::string& text) {
  int value = 0;
  const std::string trimmed = Trim(text);
  const auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (ec != std::errc() || end != trimmed.data() + trimmed.size() || value < 0 || value > 255)
    throw Error("'" + text + "' is not a valid integer value");
  return static_cast<uint8_t>(value);
}

}  // namespace

AttachParameters BuildDpb(const StringList& params) {
  AttachParameters result;
  result.bytes.push_back(static_cast<char>(isc_dpb_version1));
  for (const String& line : params.Lines()) {
    const size_t eq = line.find(u'=');
    const std::string written_name = StringToUtf8(Trim(StringView(line).substr(0, eq)));
    const std::string name = StripPrefix(AsciiLower(written_name), "isc_dpb_");
    if (name.empty()) continue;
    const String value = eq == String::npos ? String() : line.substr(eq + 1);
    const ParamName* entry = Find(kDpbNames, name);
    if (!entry) throw Error("DPB Constant (" + written_name + ") is unknown");
    switch (entry->accept) {
      case Accept::Text: {
        const std::string bytes = EncodeSystemText(value);
        if (bytes.size() > 255)
          throw Error("DPB Constant (isc_dpb_" + name + ") value is longer than 255 bytes");
        AppendDpbText(result.bytes, entry->code, bytes);
        if (entry->code == isc_dpb_lc_ctype) result.charset = value;
        break;
      }
      case Accept::Byte:
        result.bytes.push_back(static_cast<char>(entry->code));
        result.bytes.push_back(1);
        result.bytes.push_back(static_cast<char>(ByteValue(StringToUtf8(value))));
        break;
      default:
        throw Error("DPB Constant (isc_dpb_" + name + ") is unsupported");
    }
  }
  return result;
}

void AppendDpbText(std::string& dpb, int code, std::string_view value) {
  if (value.size() > 255) return;
  dpb.push_back(static_cast<char>(code));
  dpb.push_back(static_cast<char>(value.size()));
  dpb += value;
}

std::string BuildTpb(const StringList& params) {
  std::string tpb(1, static_cast<char>(isc_tpb_version3));
  for (const String& line : params.Lines()) {
    const std::string written_name =
        StringToUtf8(Trim(StringView(line).substr(0, line.find(u'='))));
    const std::string name = StripPrefix(AsciiLower(written_name), "isc_tpb_");
    if (name.empty()) continue;
    const ParamName* entry = Find(kTpbNames, name);
    if (!entry) throw Error("TPB Constant (" + written_name + ") is unknown");
    if (entry->accept != Accept::Flag)
      throw Error("TPB Constant (isc_tpb_" + name + ") is unsupported");
    tpb.push_back(static_cast<char>(entry->code));
  }
  return tpb;
}

}  // namespace zavrik::data
