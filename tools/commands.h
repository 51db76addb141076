// The subcommands of zavrik-tool; each returns the process exit code.
#pragma once

namespace zavrik::tool {

// parse [--lang NAME] FILE: prints the syntax tree of a script file.
int ParseCommand(int argc, char** argv);

}  // namespace zavrik::tool
