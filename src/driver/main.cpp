// zavrik <DatabasePath> <ReportName> <ID>: the report as a PDF, Base64-encoded on standard output.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>

#include "data/connection.h"
#include "data/fb_api.h"
#include "driver/driver.h"
#include "driver/icu_probe_filter.h"
#include "driver/run_environment.h"

namespace {

bool IsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

// A closed standard descriptor would be taken by the next file opened (the database), and the
// output would land in it. Closed input and error streams are reserved with /dev/null; without
// an output stream there is nothing to deliver to.
bool StandardStreamsReady() {
  for (const int fd : {STDIN_FILENO, STDERR_FILENO}) {
    if (IsOpen(fd)) continue;
    const int null = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != fd) {
      ::dup2(null, fd);
      ::close(null);
    }
  }
  if (IsOpen(STDOUT_FILENO)) return true;
  const int null = ::open("/dev/null", O_WRONLY);  // takes descriptor 1
  if (null != STDOUT_FILENO && null >= 0) ::close(null);
  std::cerr << "Error: standard output is closed" << std::endl;
  return false;
}

// Ends the process once its output is flushed, without the destructors of static objects and the
// libraries' exit handlers: the database is detached and the client shut down by then, and
// freeing the class tables and caches piece by piece would only delay the caller. Sanitizer
// builds end normally, so that the leak check runs.
int EndProcess(int exit_code) {
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::_Exit(exit_code);
#endif
  return exit_code;
}

// Once the run has released its database, the client's threads are stopped beside the export
// (when nothing else is attached), instead of after it.
void ShutDownClientWhenUnused() {
  if (!zavrik::data::Connection::AnyAttached()) zavrik::data::ShutdownFbClient();
}

}  // namespace

int main(int argc, char** argv) {
  if (!StandardStreamsReady()) return 1;
  zavrik::driver::InstallOutOfMemoryTerminate();
  try {
    int exit_code;
    {
      zavrik::driver::Tdm dm;
      const std::vector<std::string> args(argv + 1, argv + argc);
      exit_code = zavrik::driver::Run(
          args, dm, std::cout, std::cerr,
          {zavrik::driver::PrepareIcuProbeAnswers, ShutDownClientWhenUnused});
    }  // the data module detaches here unless the run has released it
    zavrik::data::ShutdownFbClient();
    return EndProcess(exit_code);
  } catch (const std::bad_alloc&) {
    std::cout << "Error: Out of memory\r\n" << std::flush;
    return 1;
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  } catch (...) {
    std::cerr << "zavrik: unknown failure" << std::endl;
    return 1;
  }
}
