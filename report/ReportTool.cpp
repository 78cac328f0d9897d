#include "report/ReportTool.h"

#include <ostream>
#include <string_view>

#include "records/ClientFile.h"
#include "records/ZvError.h"
#include "report/ScoreAndReport.h"

namespace zv {
namespace {

constexpr const char* kUsage =
    "Usage: zvreport --program-dir DIR --data-location DIR --client N [--summary] [--output FILE]\n"
    "\n"
    "Scores client N (1 to the number of clients) of the client file DATA401.ZV in\n"
    "the data location with the scoring keys, norms and texts of the installation\n"
    "in the program folder (ZVB.TXT, ZVRPT.TXT, the six paragraph files,\n"
    "ZVINVAL.TXT, ZVFOOT.TXT) and writes the client's report: Windows-1252 text,\n"
    "CR LF line ends, a form-feed line between pages, byte for byte what Zorvex\n"
    "writes for that client.\n"
    "\n"
    "  --program-dir DIR     the installation (program folder)\n"
    "  --data-location DIR   the folder holding DATA401.ZV (never created or changed)\n"
    "  --client N            the client's record number\n"
    "  --summary             append the one-page summary\n"
    "  --output FILE         where to write (default: report.prn in the program\n"
    "                        folder); a device such as /dev/stdout is written directly\n"
    "  --help                show this text\n"
    "\n"
    "The previous report stays untouched until the new one is complete. An\n"
    "installation in which zvcheck finds a fault gives no report, only that\n"
    "fault's line (the first zvcheck lists).\n"
    "Exit status: 0 on success, 1 when the report cannot be produced (no client\n"
    "file, no such client, an installation or disk fault), 2 for wrong arguments.\n";

bool parseClientNumber(std::string_view text, int& n) {
  if (text.empty() || text.size() > 5) return false;
  n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  return true;
}

}  // namespace

int RunReportTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, FileSystem& fs) {
  auto fail = [&err](const std::string& line, int status = kToolFailed) {
    err << "zvreport: " << line << "\n";
    return status;
  };
  std::string programDir, dataLocation, clientText, output;
  bool haveClient = false;
  bool summary = false;
  const std::size_t argc = args.size();
  for (std::size_t i = 0; i < argc; ++i) {
    const std::string_view arg = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = args[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return kToolOk;
    } else if (arg == "--program-dir") {
      if (!value(programDir)) return fail("--program-dir needs a folder (see --help)", kToolBadUsage);
    } else if (arg == "--data-location") {
      if (!value(dataLocation)) return fail("--data-location needs a folder (see --help)", kToolBadUsage);
    } else if (arg == "--client") {
      if (!value(clientText)) return fail("--client needs a client number (see --help)", kToolBadUsage);
      haveClient = true;
    } else if (arg == "--output") {
      if (!value(output)) return fail("--output needs a file name (see --help)", kToolBadUsage);
    } else if (arg == "--summary") {
      summary = true;
    } else {
      return fail("unknown argument '" + std::string(arg) + "' (see --help)", kToolBadUsage);
    }
  }
  if (programDir.empty()) return fail("--program-dir is required (see --help)", kToolBadUsage);
  if (dataLocation.empty()) return fail("--data-location is required (see --help)", kToolBadUsage);
  if (!haveClient) return fail("--client is required (see --help)", kToolBadUsage);
  int client = 0;
  if (!parseClientNumber(clientText, client))
    return fail("bad client number '" + clientText + "': give a record number from 1 to the number of clients");

  try {
    const std::string clientFile = clientFilePath(dataLocation);
    // Loading would create a missing client file; a report tool must not.
    if (!fs.exists(clientFile) || fs.isDirectory(clientFile)) return fail("no client file " + clientFile);
    ClientTable table;
    LoadClientFile(fs, clientFile, table);
    if (client < 1 || client > table.RecordCount)
      return fail("no client " + clientText + " in " + clientFile + ": it holds " +
                  std::to_string(table.RecordCount) + (table.RecordCount == 1 ? " client" : " clients") +
                  (table.RecordCount > 0 ? " (1 to " + std::to_string(table.RecordCount) + ")" : std::string()));
    table.CurrentRecord = static_cast<std::int16_t>(client);
    ReportRequest request;
    request.programDir = programDir;
    request.outputPath = output;
    request.summaryPage = summary;
    ScoreAndReport(fs, table, request);
  } catch (const ZvError& e) {
    return fail(e.what());
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  return kToolOk;
}

}  // namespace zv
