// The subcommands of zavrik-tool; each returns the process exit code.
#pragma once

#include <string>

namespace zavrik::tool {

// parse [--lang NAME] FILE: prints the syntax tree of a script file.
int ParseCommand(int argc, char** argv);
// script [--lang NAME] FILE: compiles and runs a script file.
int ScriptCommand(int argc, char** argv);
// eval [--lang NAME] EXPR: the value of one expression and the name of its kind.
int EvalCommand(int argc, char** argv);

// xml FILE: loads a template and writes it back, indented.
int XmlCommand(const std::string& file);

// layout [options] FILE: prints the wrapped lines of a text with the layout's measurements.
int LayoutCommand(int argc, char** argv);

// emf FILE.emf OUT.png: plays a recorded drawing onto a raster and writes it as PNG.
int EmfCommand(int argc, char** argv);

int DrawCommand(int argc, char** argv);

// render TEMPLATE.xml [--db PATH] [--id ID] [-o OUT.pdf] [--png DIR]: the program's pipeline on a
// template file; the PDF goes to a file.
int RenderCommand(int argc, char** argv);

// check TEMPLATE.xml [--db PATH]: what would go wrong or be lost when the template runs; exit 1
// when anything was found.
int CheckCommand(int argc, char** argv);

// classes [CLASS]: the registered report classes, or one class's properties and script members.
int ClassesCommand(int argc, char** argv);

// Database commands (SYSDBA, UTF8): an empty database, an SQL script, storing and fetching templates.
int CreateDbCommand(const std::string& database);
int SqlCommand(const std::string& database, const std::string& file);
int PutCommand(const std::string& database, const std::string& report, const std::string& file);
int GetCommand(const std::string& database, const std::string& report);

}  // namespace zavrik::tool
