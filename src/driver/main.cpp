// zavrik <DatabasePath> <ReportName> <ID>: the report as a PDF, Base64-encoded on standard output.
#include <exception>
#include <iostream>

#include "driver/driver.h"

int main(int argc, char** argv) {
  try {
    std::ios::sync_with_stdio(true);
    zavrik::driver::Tdm dm;
    const std::vector<std::string> args(argv + 1, argv + argc);
    return zavrik::driver::Run(args, dm, std::cout);
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
    return 1;
  } catch (...) {
    std::cerr << "zavrik: unknown failure" << std::endl;
    return 1;
  }
}
