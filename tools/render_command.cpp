// zavrik-tool render TEMPLATE.xml [--db PATH] [--id ID] [-o OUT.pdf] [--png DIR]: the program's
// pipeline on a template file, writing the PDF to a file (and each page as PNG with pdftoppm).
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "commands.h"
#include "core/error.h"
#include "data/fb_api.h"
#include "driver/data_module.h"
#include "driver/report_pipeline.h"
#include "report/model/qbx_preview_pages.h"
#include "tool_files.h"

namespace zavrik::tool {
namespace {

struct RenderOptions {
  std::string template_file, database, id = "1", output = "report.pdf", png_dir;
};

bool ParseOptions(int argc, char** argv, RenderOptions& options) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--db" && has_value) {
      options.database = argv[++i];
    } else if (arg == "--id" && has_value) {
      options.id = argv[++i];
    } else if (arg == "-o" && has_value) {
      options.output = argv[++i];
    } else if (arg == "--png" && has_value) {
      options.png_dir = argv[++i];
    } else if (options.template_file.empty() && !arg.empty() && arg[0] != '-') {
      options.template_file = arg;
    } else {
      return false;
    }
  }
  return !options.template_file.empty();
}

// Quotes a path for the shell.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

int WritePngPages(const std::string& pdf_file, const std::string& dir) {
  if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0) {
    std::fputs("pdftoppm is not installed: no PNG pages written\n", stderr);
    return 0;
  }
  const std::string command = "mkdir -p " + ShellQuoted(dir) + " && pdftoppm -png -r 96 " +
                              ShellQuoted(pdf_file) + " " + ShellQuoted(dir + "/page");
  const int status = std::system(command.c_str());
  if (status != 0) {
    std::fprintf(stderr, "pdftoppm failed (status %d)\n", WEXITSTATUS(status));
    return 1;
  }
  return 0;
}

int Render(const RenderOptions& options) {
  const std::string template_bytes = ReadFile(options.template_file);
  std::string pdf;
  int pages = 0;
  {
    driver::Tdm dm;
    if (!options.database.empty()) dm.Connect(Utf8ToString(options.database));
    auto report = driver::CreateReport();
    driver::LoadReport(*report, template_bytes, dm, Utf8ToString(options.id));
    pdf = driver::PrepareAndExport(*report);
    pages = report->PreviewPages()->Count();
  }
  data::ShutdownFbClient();
  std::ofstream out(options.output, std::ios::binary);
  if (!out.write(pdf.data(), static_cast<std::streamsize>(pdf.size())) || !out.flush()) {
    throw Error("Cannot write file \"" + options.output + "\"");
  }
  out.close();
  std::fprintf(stderr, "wrote %s (%d pages, %zu bytes)\n", options.output.c_str(), pages, pdf.size());
  if (options.png_dir.empty() || pages == 0) return 0;
  return WritePngPages(options.output, options.png_dir);
}

}  // namespace

int RenderCommand(int argc, char** argv) {
  RenderOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs("Usage: zavrik-tool render TEMPLATE.xml [--db PATH] [--id ID] [-o OUT.pdf] [--png DIR]\n",
               stderr);
    return 1;
  }
  return Render(options);
}

}  // namespace zavrik::tool
