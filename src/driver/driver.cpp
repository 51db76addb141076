#include "driver/driver.h"

#include <memory>

#include "core/error.h"
#include "data/query.h"
#include "driver/base64.h"
#include "driver/report_pipeline.h"

namespace zavrik::driver {
namespace {

constexpr const char16_t* kTemplateSql = u"SELECT DATA FROM IDE_REPORTS WHERE name = :param";

// The objects of one run, released innermost first when the outer region fails.
struct RunObjects {
  std::unique_ptr<data::Query> query;
  std::unique_ptr<std::string> template_buffer;
  std::unique_ptr<TqbxReport> report;

  void Release() {
    report.reset();
    template_buffer.reset();
    query.reset();
  }
};

// Prepares and exports the loaded report and writes the PDF; the inner protected region.
int Export(TqbxReport& report, std::ostream& out) {
  try {
    WriteLine(out, EncodeBase64(PrepareAndExport(report)));
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
  try {
    if (args.size() < 3) {
      WriteLine(out, kUsage);
      return 1;
    }
    const String database_path = Utf8ToString(args[0]);
    const String report_name = Utf8ToString(args[1]);

    dm.Connect(database_path);

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
    objects.report = CreateReport();
    LoadReport(*objects.report, *objects.template_buffer, dm, Utf8ToString(args[2]));
    return Export(*objects.report, out);
  } catch (const Error& e) {
    objects.Release();
    if (dm.Base.Connected()) {
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
