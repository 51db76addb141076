// zavrik-tool COMMAND ARGS...: the developer and template-author companion.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "commands.h"

namespace {

void PrintUsage() {
  std::fputs(
      "Usage: zavrik-tool COMMAND ARGS...\n"
      "  parse [--lang NAME] FILE        print the syntax tree of a script (default PascalScript)\n"
      "  script [--lang NAME] FILE       compile and run a script (ShowMessage prints to stdout)\n"
      "  eval [--lang NAME] EXPR         print the value of an expression and its kind\n"
      "  check TEMPLATE.xml [--db PATH]  list what would go wrong or be lost when the template runs\n"
      "                                  (\"object: category: detail\"; exit 1 when found, 2 when unable)\n"
      "  classes [CLASS]                 list the report classes, or a class's properties and script members\n"
      "  xml FILE                        load a template and write it back (indented); messages to stderr\n"
      "  create-db DATABASE              create an empty UTF8 database\n"
      "  sql DATABASE FILE               run statements ending with \";\" at a line end; COMMIT commits\n"
      "  put DATABASE REPORT FILE        store a template in IDE_REPORTS (insert or replace)\n"
      "  get DATABASE REPORT             write a stored template to standard output\n"
      "  layout [--font NAME] [--size PT] [--bold] [--italic] [--width PX] [--height PX]\n"
      "         [--linespacing PX] [--wordbreak] [--html] [--nowrap] FILE\n"
      "                                  print how a text wraps: flags<TAB>line, then the measurements\n"
      "  emf FILE.emf OUT.png            play a recorded drawing onto a raster and write a PNG\n"
      "  draw TEMPLATE PAGE OUT.png      draw one page's objects, unevaluated, and write a PNG\n"
      "  render TEMPLATE.xml [--db PATH] [--id ID] [-o OUT.pdf] [--png DIR]\n"
      "                                  run the program's pipeline on a template file (default\n"
      "                                  ID 1, output report.pdf); --png renders pages with pdftoppm\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return 1;
  }
  try {
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    using namespace zavrik::tool;
    if (command == "parse") return ParseCommand(argc - 2, argv + 2);
    if (command == "script") return ScriptCommand(argc - 2, argv + 2);
    if (command == "eval") return EvalCommand(argc - 2, argv + 2);
    if (command == "xml" && args.size() == 1) return XmlCommand(args[0]);
    if (command == "layout") return LayoutCommand(argc - 2, argv + 2);
    if (command == "emf") return EmfCommand(argc - 2, argv + 2);
    if (command == "draw") return DrawCommand(argc - 2, argv + 2);
    if (command == "render") return RenderCommand(argc - 2, argv + 2);
    if (command == "check") return CheckCommand(argc - 2, argv + 2);
    if (command == "classes") return ClassesCommand(argc - 2, argv + 2);
    if (command == "create-db" && args.size() == 1) return CreateDbCommand(args[0]);
    if (command == "sql" && args.size() == 2) return SqlCommand(args[0], args[1]);
    if (command == "put" && args.size() == 3) return PutCommand(args[0], args[1], args[2]);
    if (command == "get" && args.size() == 2) return GetCommand(args[0], args[1]);
    PrintUsage();
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (...) {
    std::fputs("Unknown failure\n", stderr);
    return 1;
  }
}
