#include "driver/driver.h"

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "core/error.h"
#include "data/query.h"
#include "driver/base64.h"
#include "driver/data_release.h"
#include "driver/report_pipeline.h"
#include "driver/run_environment.h"
#include "platform/font_face.h"

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

// While the database is attached and the template read, another thread loads the fonts and
// creates the report object; the run takes the report when it needs it. The thread then reads
// ahead what a report of the usual kind needs later (its script grammar, the embedded fonts'
// files). Without a thread the report is created when it is taken.
class StartUpWork {
 public:
  explicit StartUpWork(void (*first)()) : first_(first) {
    try {
      thread_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
    }
  }
  ~StartUpWork() {
    if (thread_.joinable()) thread_.join();
  }
  StartUpWork(const StartUpWork&) = delete;
  StartUpWork& operator=(const StartUpWork&) = delete;

  std::unique_ptr<TqbxReport> TakeReport() {
    if (!thread_.joinable()) return CreateReport();
    std::unique_lock lock(mutex_);
    created_.wait(lock, [this] { return ready_; });
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    return std::move(report_);
  }

 private:
  void Work() noexcept {
    try {
      if (first_) first_();
    } catch (...) {
      // Only a speed-up: the run goes on without it.
    }
    const std::vector<std::shared_ptr<const FontFace>> faces = PreloadDefaultFaces();
    std::unique_ptr<TqbxReport> report;
    std::exception_ptr error;
    String language;
    try {
      report = CreateReport();
      language = report->ScriptLanguage();
    } catch (...) {
      error = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      report_ = std::move(report);
      error_ = error;
      ready_ = true;
    }
    created_.notify_one();
    if (!error) PreloadReportParts(language, faces);
  }

  void (*first_)();
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable created_;
  bool ready_ = false;
  std::unique_ptr<TqbxReport> report_;
  std::exception_ptr error_;
};

// Prepares and exports the loaded report and writes the PDF; the inner protected region.
int Export(TqbxReport& report, Tdm& dm, void (*data_released)(), const RunEnvironment& environment,
           std::ostream& out, std::ostream& err) {
  DataRelease release(dm, data_released);
  std::string text;
  try {
    // Encoded as it is written: the PDF itself is never held whole beside its text.
    Base64Buffer encoded;
    std::ostream pdf(&encoded);
    PrepareAndExport(report, environment.source_date_epoch, pdf, [&] { release.Start(); });
    text = encoded.Finish();
  } catch (const Error& e) {
    WriteLine(out, std::string("Error exporting report: ") + e.what());
    return 1;
  }
  if (const int error = WriteLine(out, text)) {
    // Standard output failed, so the reason can only go to standard error.
    err << "Error: cannot write the report to standard output: " << std::strerror(error)
        << std::endl;
    return 1;
  }
  return 0;
}

// The outer region's ending: the run's objects released, the connection closed, the line written.
int Fail(RunObjects& objects, Tdm& dm, std::ostream& out, std::string_view line) {
  objects.Release();
  if (dm.Base.Connected()) {
    try {
      dm.Base.Disconnect();
    } catch (const Error&) {
      // The run already failed; its first error is the one reported.
    }
  }
  WriteLine(out, line);
  return 1;
}

}  // namespace

int WriteLine(std::ostream& out, std::string_view text) {
  ClaimOutput();
  errno = 0;
  out << text << "\r\n";
  out.flush();
  if (out) return 0;
  return errno ? errno : EIO;
}

int Run(const std::vector<std::string>& args, Tdm& dm, std::ostream& out, std::ostream& err,
        const RunHooks& hooks) {
  RunObjects objects;
  try {
    if (args.size() < 3) {
      WriteLine(out, kUsage);
      return 1;
    }
    const RunEnvironment environment = ReadRunEnvironment();
    ApplyRunLimits(environment);
    StartUpWork start_up_work(hooks.start_up);
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
    objects.report = start_up_work.TakeReport();
    LoadReport(*objects.report, *objects.template_buffer, dm, Utf8ToString(args[2]));
    return Export(*objects.report, dm, hooks.data_released, environment, out, err);
  } catch (const Error& e) {
    return Fail(objects, dm, out, std::string("Error: ") + e.what());
  } catch (const std::bad_alloc&) {
    // The memory limit (or the system) refused an allocation: the run ends at once.
    return Fail(objects, dm, out, "Error: Out of memory");
  }
}

}  // namespace zavrik::driver
