// zvreport: scores one client of a data location with the installation files
// of a program folder and writes the same report file the application writes.
// Run with --help for the arguments.
#include <iostream>
#include <string>
#include <vector>

#include "records/FileSystem.h"
#include "report/ReportTool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  zv::RealFileSystem fs;
  return zv::RunReportTool(args, std::cout, std::cerr, fs);
}
