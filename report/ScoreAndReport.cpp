#include "report/ScoreAndReport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cerrno>
#include <cstdlib>

#include "report/ReportInstallation.h"
#include "report/ReportSections.h"
#include "report/ReportWriter.h"
#include "scoring/Classification.h"
#include "scoring/Scoring.h"

namespace zv {
namespace {

void writeAllTo(int fd, const std::string& bytes, const std::string& path) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw ZvError::fromErrno(errno, path);
    }
    done += static_cast<std::size_t>(n);
  }
}

// The descriptor a standard-stream name stands for (/dev/stdout,
// /dev/fd/N, /proc/self/fd/N), or -1.
int streamDescriptor(const std::string& path) {
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    const std::string p(prefix);
    if (path.rfind(p, 0) == 0 && path.size() > p.size() && path.size() <= p.size() + 4 &&
        path.find_first_not_of("0123456789", p.size()) == std::string::npos)
      return std::stoi(path.substr(p.size()));
  }
  return -1;
}

}  // namespace

void writeReportFile(FileSystem& fs, const std::string& path, const std::string& bytes) {
  // A standard stream is written through its open descriptor: renaming a
  // file over /dev/stdout would replace the device link itself.
  if (const int fd = streamDescriptor(path); fd >= 0) {
    writeAllTo(fd, bytes, path);
    return;
  }
  std::string target = path;
  struct stat lst {};
  if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    // Replace the file a link points to, never the link.
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) target = resolved;
  }
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    // A device or pipe cannot be replaced by renaming: it is written directly.
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw ZvError::fromErrno(errno, path);
    try {
      writeAllTo(fd, bytes, path);
    } catch (...) {
      ::close(fd);
      throw;
    }
    if (::close(fd) != 0) throw ZvError::fromErrno(errno, path);
    return;
  }
  // The previous report stays until this one is complete; a report is made
  // again on demand, so it is not forced to disk.
  fs.replaceAllUnsynced(target, bytes);
}

ComposedReport ComposeReport(FileSystem& fs, const ClientTable& clients, const ReportRequest& request) {
  if (clients.CurrentRecord < 1 || clients.CurrentRecord > clients.RecordCount ||
      clients.CurrentRecord > kMaxClients)
    throw ZvError(ErrorKind::Other, 0,
                  "Client " + std::to_string(clients.CurrentRecord) + " is not a stored client (1 to " +
                      std::to_string(clients.RecordCount) + ").");
  const ScoringConstants constants = SetScoringConstants();
  // Every report file is checked, used by this report or not: a report is
  // produced only from an installation the checker passes.
  const ReportInstallation inst = LoadReportInstallation(fs, request.programDir);
  ComposedReport out;
  const ClientFields client = DecodeClient(clients, out.scores);
  ComputeRawScores(constants, inst.tables, out.scores);
  ComputePercentiles(inst.tables, client.GenderCode, client.RaceCode, out.scores);
  ReportWriter writer(client.Name);
  ReportContext ctx{inst.tables, inst.texts, out.scores, client, writer};
  WriteReport(ctx, request.summaryPage);
  out.bytes = writer.take();
  return out;
}

std::string reportOutputPath(const ReportRequest& request) {
  return request.outputPath.empty() ? joinPath(request.programDir, "report.prn") : request.outputPath;
}

Scores ScoreAndReport(FileSystem& fs, const ClientTable& clients, const ReportRequest& request) {
  ComposedReport report = ComposeReport(fs, clients, request);
  writeReportFile(fs, reportOutputPath(request), report.bytes);
  return report.scores;
}

}  // namespace zv
