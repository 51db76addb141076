#include "driver/driver.h"

#include <memory>

#include "core/error.h"
#include "data/query.h"
#include "driver/base64.h"

namespace zavrik::driver {
namespace {

constexpr const char16_t* kTemplateSql = u"SELECT DATA FROM IDE_REPORTS WHERE name = :param";

// The objects of one run, released innermost first when the outer region fails.
struct RunObjects {
  std::unique_ptr<data::Query> query;
  std::unique_ptr<std::string> template_buffer;

  void Release() {
    template_buffer.reset();
    query.reset();
  }
};

// Produces the document from the template bytes and writes it; the inner protected region.
int Export(const std::string& template_bytes, std::ostream& out) {
  try {
    // The report pipeline (load, prepare, export to PDF) is not wired in yet: the output is the
    // template itself, so callers and tests see the Base64 framing of real bytes.
    const std::string document = template_bytes;
    WriteLine(out, EncodeBase64(document));
    return 0;
  } catch (const Error& e) {
    WriteLine(out, std::string("Error exporting report: ") + e.what());
    return 1;
  }
}

}  // namespace

void WriteLine(std::ostream& out, std::string_view text) {
  out << text << "\r\n";
  out.flush();
}

int Run(const std::vector<std::string>& args, Tdm& dm, std::ostream& out) {
  RunObjects objects;
  bool connected = false;
  try {
    if (args.size() < 3) {
      WriteLine(out, kUsage);
      return 1;
    }
    const String database_path = Utf8ToString(args[0]);
    const String report_name = Utf8ToString(args[1]);

    dm.Base.DatabaseName = database_path;
    dm.Base.LoginPrompt = false;
    dm.Base.Params.SetValue(u"user_name", u"SYSDBA");
    dm.Base.Params.SetValue(u"password", u"plovertin");
    dm.Base.Connect();
    connected = true;
    if (!dm.TR.Active()) dm.TR.StartTransaction();

    objects.query = std::make_unique<data::Query>(&dm.Base, &dm.TR);
    objects.query->SetSQL(kTemplateSql);
    objects.query->ParamByName(u"param").SetAsString(report_name);
    objects.query->Open();
    if (objects.query->Eof()) {
      WriteLine(out, "Report named " + args[1] + " not found.");
      return 1;
    }
    objects.template_buffer =
        std::make_unique<std::string>(objects.query->FieldByName(u"DATA").AsBytes());
    return Export(*objects.template_buffer, out);
  } catch (const Error& e) {
    objects.Release();
    if (connected) {
      try {
        dm.Base.Disconnect();
      } catch (const Error&) {
        // The run already failed; its first error is the one reported.
      }
    }
    WriteLine(out, std::string("Error: ") + e.what());
    return 1;
  }
}

}  // namespace zavrik::driver
