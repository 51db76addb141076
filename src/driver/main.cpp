// zavrik <DatabasePath> <ReportName> <ID>: the report as a PDF, Base64-encoded on standard output.
#include <exception>
#include <iostream>

#include "data/fb_api.h"
#include "driver/driver.h"

int main(int argc, char** argv) {
  try {
    int exit_code;
    {
      zavrik::driver::Tdm dm;
      const std::vector<std::string> args(argv + 1, argv + argc);
      exit_code = zavrik::driver::Run(args, dm, std::cout);
    }  // the data module detaches here
    zavrik::data::ShutdownFbClient();
    return exit_code;
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  } catch (...) {
    std::cerr << "zavrik: unknown failure" << std::endl;
    return 1;
  }
}
