// `dump` prints each record as it reads it: a file of any size costs a
// window and one record, and the JSON written piece by piece is the text
// the whole document gives.
#include <gtest/gtest.h>

#ifdef __linux__
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "output/database_dump.h"
#include "output/le_bytes.h"
#include "output/sample_database.h"
#include "scenery/bounded_memory.h"
#include "support/temp_dir.h"

namespace tarnvale::testing {
namespace {

namespace fs = std::filesystem;

// Keeps nothing of what is written to it but the number of lines.
class LineCounter : public std::streambuf {
 public:
  std::size_t Lines() const { return lines_; }

 protected:
  int_type overflow(int_type c) override {
    if (c == '\n') ++lines_;
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    lines_ += static_cast<std::size_t>(std::count(text, text + count, '\n'));
    return count;
  }

 private:
  std::size_t lines_ = 0;
};

#ifdef __linux__
struct TracedRun {
  long system_calls = 0;
  int exit_status = -1;  // -1 when the child did not exit normally
};

// Runs `work` in a child process and counts the system calls it makes by
// tracing it; the child's exit status is what `work` returns. std::nullopt
// when this system lets no process trace its child.
std::optional<TracedRun> TraceSystemCalls(const std::function<int()>& work) {
  constexpr int kCannotTrace = 99;
  const pid_t child = fork();
  if (child == 0) {
    if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(kCannotTrace);
    raise(SIGSTOP);
    _exit(work());
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFSTOPPED(status)) return std::nullopt;
  ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
  long stops = 0;
  int pending_signal = 0;
  for (;;) {
    ptrace(PTRACE_SYSCALL, child, nullptr, pending_signal);
    waitpid(child, &status, 0);
    if (WIFEXITED(status) || WIFSIGNALED(status)) break;
    const bool system_call = WSTOPSIG(status) == (SIGTRAP | 0x80);
    stops += system_call ? 1 : 0;
    pending_signal = system_call ? 0 : WSTOPSIG(status);
  }
  // A stop on entering each call and one on leaving it.
  return TracedRun{stops / 2, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}
#endif

// Reading at the speed of the disk: no system call per record. Every other
// one of these airports holds sub-record arrays; memory given back to the
// system with each record and mapped anew for the next would cost several
// calls per record. Counted, not timed, in a traced child: ptrace is
// Linux's, and an operator new counter would not see record memory, which
// is mapped directly.
TEST(DatabaseDumpStream, TwentyThousandAirportsTakeNoSystemCallPerRecord) {
#ifndef __linux__
  GTEST_SKIP() << "counts system calls with ptrace, which only Linux has";
#else
  const TempDir dir;
  const fs::path file = dir / "world_airports.dat";
  const std::string two_airports = SampleDatabaseFiles().at("world_airports.dat");
  constexpr std::size_t kAirports = 20'000;
  std::string bytes;
  for (std::size_t i = 0; i < kAirports / 2; ++i) bytes += two_airports;
  WriteFile(file, bytes);
  for (const bool json : {false, true}) {
    SCOPED_TRACE(json ? "json" : "text");
    const std::optional<TracedRun> run = TraceSystemCalls([&] {
      LineCounter lines;
      std::ostream out(&lines);
      std::ostringstream errors;
      return DumpDatabaseFiles({file}, json, out, errors);
    });
    if (!run) GTEST_SKIP() << "this system lets no process trace its child";
    EXPECT_EQ(run->exit_status, 0);
    // Opening the file, reading it in windows of 256 KiB, and memory for
    // the largest record: a few dozen calls. AddressSanitizer's quarantine
    // keeps freed heap blocks from reuse, so its allocator maps fresh memory
    // every few records of formatting.
    EXPECT_LT(run->system_calls, kAddressSanitizer ? kAirports / 5 : 500)
        << "for " << kAirports << " airports";
  }
#endif
}

TEST(DatabaseDumpStream, AFileOfZerosOfFourGiBIsRefusedAtOnceInBoundedMemory) {
  const TempDir dir;
  const fs::path file = dir / "world_airports.dat";
  if (const auto why = WriteSparseFile(file, kFourGiB, {})) GTEST_SKIP() << *why;
  for (const bool json : {false, true}) {
    SCOPED_TRACE(json ? "json" : "text");
    const std::optional<PeakMemory> peak = PeakMemory::Reset();
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(DumpDatabaseFiles({file}, json, out, errors), 1);
    EXPECT_EQ(errors.str(),
              file.string() + ": record 1 at byte offset 0: kind 0 where 1 was expected\n");
    EXPECT_NE(out.str().find(json ? "\"size\": 4294967296," : ": 0 records in 4294967296 bytes\n"),
              std::string::npos);
    if (peak) {
      EXPECT_LT(peak->Rise(), 32 * kMiB);
    }
  }
}

// Sound records, each printed and dropped. Not 4 GiB: that many 22-byte
// fixes are 195 million records, minutes of formatting, and a file of zeros
// ends at its first record. 16 MiB hold 760,000 fixes, whose parsed records
// would take over 100 MiB if they were kept.
TEST(DatabaseDumpStream, ManyRecordsArePrintedOneByOneInBoundedMemory) {
  const TempDir dir;
  const fs::path file = dir / "world_fixpoints.dat";
  const std::string fix = LeBytes().U8(6).U32(22).I32(-5).I32(7).Text("TARNA", 9).Str();
  const std::size_t count = (kAddressSanitizer ? 1 : 16) * kMiB / fix.size();
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += fix;
  WriteFile(file, bytes);
  bytes = std::string();
  for (const bool json : {false, true}) {
    SCOPED_TRACE(json ? "json" : "text");
    const std::optional<PeakMemory> peak = PeakMemory::Reset();
    LineCounter lines;
    std::ostream out(&lines);
    std::ostringstream errors;
    EXPECT_EQ(DumpDatabaseFiles({file}, json, out, errors), 0);
    EXPECT_EQ(errors.str(), "");
    // Text: a heading and a line per record. JSON: 9 lines around the
    // records, and 9 for each (its braces and 7 fields).
    EXPECT_EQ(lines.Lines(), json ? 9 + 9 * count : 1 + count);
    if (!peak) continue;
    if (kAddressSanitizer) {
      std::cout << "The memory bound is not checked under AddressSanitizer: freed records "
                   "stay in its quarantine.\n";
    } else {
      EXPECT_LT(peak->Rise(), 16 * kMiB);
    }
  }
}

TEST(DatabaseDumpStream, JsonIsLaidOutAsTheWholeDocumentWouldBe) {
  const TempDir dir;
  std::vector<fs::path> files;
  for (const auto& [name, bytes] : SampleDatabaseFiles()) {
    WriteFile(dir / name, bytes);
    files.push_back(dir / name);
  }
  WriteFile(dir / "damaged" / "world_markers.dat",
            SampleDatabaseFiles().at("world_markers.dat") + "abc");
  WriteFile(dir / "empty" / "world_navaids.dat", "");
  WriteFile(dir / "magdec.bgl", "declination");
  files.insert(files.end(),
               {dir / "damaged" / "world_markers.dat", dir / "empty" / "world_navaids.dat",
                dir / "magdec.bgl", dir / "notes.txt", dir / "missing.dat"});
  for (const std::vector<fs::path>& dumped : {std::vector<fs::path>{}, files}) {
    std::ostringstream out;
    std::ostringstream errors;
    // Damaged files make the result 1; here only the document counts.
    static_cast<void>(DumpDatabaseFiles(dumped, true, out, errors));
    const auto document = nlohmann::ordered_json::parse(out.str());
    EXPECT_EQ(out.str(), document.dump(2) + "\n");
    EXPECT_EQ(document.size(), dumped.size());
  }
}

}  // namespace
}  // namespace tarnvale::testing
