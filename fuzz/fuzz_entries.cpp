// Feeds arbitrary bytes to every reader of untrusted input (BGL files of both simulators, both
// configuration files, database files) and requires what must hold whatever the bytes.

#include "fuzz/fuzz_entries.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/cfg_file_reader.h"
#include "domain/progress.h"
#include "output/binding.h"
#include "output/database_dump.h"
#include "output/database_reader.h"
#include "output/record_encoder.h"
#include "scenery/bgl_loader.h"
#include "scenery/fs2002_readers.h"

namespace tarnvale::fuzz {
namespace {

// Fails the run loudly: libFuzzer and the replay both report the input.
void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property broken: %s\n", what);
  std::abort();
}

using RunwayFrequencies = std::vector<std::array<std::int32_t, 2>>;

RunwayFrequencies FrequenciesOf(const NavDatabase& db) {
  RunwayFrequencies frequencies;
  for (const AirportRecord& airport : db.Airports) {
    for (const RunwayRecord& runway : airport.Runways) {
      frequencies.push_back({runway.PrimaryIlsFrequency, runway.SecondaryIlsFrequency});
    }
  }
  return frequencies;
}

void RestoreFrequencies(NavDatabase& db, const RunwayFrequencies& frequencies) {
  std::size_t next = 0;
  for (AirportRecord& airport : db.Airports) {
    for (RunwayRecord& runway : airport.Runways) {
      runway.PrimaryIlsFrequency = frequencies[next][0];
      runway.SecondaryIlsFrequency = frequencies[next][1];
      ++next;
    }
  }
}

// Binds with the spatial index, then again from the decoded values with the
// cross product (when that stays cheap), and requires the same frequencies.
void BindBothWays(NavDatabase& db) {
  SilentProgress view;
  const CancelFlag cancel{false};
  const RunwayFrequencies decoded = FrequenciesOf(db);
  Require(BindIlsToRunways(db, view, cancel, IlsSearch::SpatialIndex) == BindResult::Done,
          "binding that nothing cancels was cancelled");
  constexpr std::size_t kCheapComparisons = 1'000'000;
  if (decoded.size() * db.Ilss.size() <= kCheapComparisons) {
    const RunwayFrequencies indexed = FrequenciesOf(db);
    RestoreFrequencies(db, decoded);
    Require(BindIlsToRunways(db, view, cancel, IlsSearch::CrossProduct) == BindResult::Done,
            "binding that nothing cancels was cancelled");
    Require(FrequenciesOf(db) == indexed, "indexed ILS binding differs from the cross product");
  }
  Require(BindFixesToJetAirways(db, view, cancel) == BindResult::Done &&
              BindFixesToVictorAirways(db, view, cancel) == BindResult::Done,
          "binding that nothing cancels was cancelled");
}

// A private folder of this process for the files that readers take by path,
// removed when the process ends.
class ScratchFolder {
 public:
#ifdef _WIN32
  // No mkdtemp on Windows: a name from the process and a count, made anew
  // until no folder has it.
  ScratchFolder() {
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::filesystem::path folder =
          std::filesystem::temp_directory_path() /
          ("tarnvale-fuzz-" + std::to_string(_getpid()) + "-" + std::to_string(attempt));
      if (std::filesystem::create_directory(folder)) path_ = folder;
    }
    Require(!path_.empty(), "cannot create a scratch folder");
  }
#else
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarnvale-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr, "cannot create a scratch folder");
    path_ = pattern;
  }
#endif
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::filesystem::path WriteScratch(const char* name, std::string_view bytes) {
  static const ScratchFolder folder;
  const std::filesystem::path file = folder.Path() / name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(out.good(), "cannot write the scratch file");
  return file;
}

std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

CFG_File_Reader ReadProgramConfig(std::string_view bytes) {
  CFG_File_Reader settings;
  // Whatever the result, the settings read so far are what the round trip
  // checks.
  static_cast<void>(settings.ReadProgramConfig(WriteScratch("Program_Config.cfg", bytes)));
  return settings;
}

// The text `settings` write, with an empty FS_Directory.
std::string TextWithoutSimulator(CFG_File_Reader settings) {
  settings.FS_Directory.reset();
  return settings.ProgramConfigText();
}

std::size_t SimulatorLength(const CFG_File_Reader& settings) {
  return settings.FS_Directory.value_or("").size();
}

template <typename Record>
void EncodeAll(const RecordArray<Record>& records, std::string& out) {
  for (const Record& record : records) EncodeRecord(record, out);
}

// Every record of the database in its file layout.
std::string EncodedRecords(const NavDatabase& db) {
  std::string out;
  EncodeAll(db.Airports, out);
  EncodeAll(db.FuelAreas, out);
  EncodeAll(db.Airspaces, out);
  EncodeAll(db.Vors, out);
  EncodeAll(db.Ndbs, out);
  EncodeAll(db.Markers, out);
  EncodeAll(db.Ilss, out);
  EncodeAll(db.Fixes, out);
  EncodeAll(db.JetAirways, out);
  EncodeAll(db.VictorAirways, out);
  return out;
}

// Loads the bytes from memory and, through a file, from disk (where only
// the parts the walk asks for are read) and requires the same records; then
// binds them.
int LoadAndBind(const std::uint8_t* data, std::size_t size, FsVersion fs_version) {
  NavDatabase from_memory;
  NavDatabase from_disk;
  const LoadResult memory_result = LoadBglBytes(from_memory, {data, size}, fs_version);
  const LoadResult disk_result =
      BglLoader(from_disk, WriteScratch("scenery.bgl", AsText(data, size)), fs_version);
  Require(memory_result == disk_result, "loading from disk and from memory end differently");
  Require(EncodedRecords(from_memory) == EncodedRecords(from_disk),
          "loading from disk and from memory give different records");
  if (memory_result == LoadResult::Ok) BindBothWays(from_memory);
  return 0;
}

constexpr std::array kParsedKinds{DatabaseFileKind::Airports,      DatabaseFileKind::FuelAreas,
                                  DatabaseFileKind::Airspaces,     DatabaseFileKind::Navaids,
                                  DatabaseFileKind::Markers,       DatabaseFileKind::Fixpoints,
                                  DatabaseFileKind::VictorAirways, DatabaseFileKind::JetAirways};

}  // namespace

int FuzzBglFs9(const std::uint8_t* data, std::size_t size) {
  return LoadAndBind(data, size, FsVersion::Fs2004);
}

int FuzzBglFs8(const std::uint8_t* data, std::size_t size) {
  return LoadAndBind(data, size, FsVersion::Fs2002);
}

int FuzzFs2002Readers(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  using Reader = Fs2002Result (*)(NavDatabase&, const ByteCursor&);
  constexpr std::array<Reader, 3> kReaders{ReadFs2002VorSection, ReadFs2002NdbSection,
                                           ReadFs2002FacilityData};
  NavDatabase db;
  const ByteCursor file({data + 1, size - 1});
  // Every result is an answer: only a crash or a sanitizer report is a fault.
  static_cast<void>(kReaders[data[0] % kReaders.size()](db, file));
  return 0;
}

int FuzzSceneryCfg(const std::uint8_t* data, std::size_t size) {
  CFG_File_Reader reader;
  // Every result is an answer: only a crash or a sanitizer report is a fault.
  static_cast<void>(reader.ReadSceneryLibrary(WriteScratch("Scenery.cfg", AsText(data, size))));
  return 0;
}

int FuzzProgramConfig(const std::uint8_t* data, std::size_t size) {
  // The first rewrite may drop what the reader keeps but cannot read back
  // (a value of blanks only, kept as it stands, is written as a bare key).
  // From then on a rewrite may change FS_Directory only, and only shorten it:
  // reading strips one outer separator off the value and the rewrite writes
  // what was read, so "C:\FS\\" loses a backslash per rewrite. The file
  // settles once the value has none left.
  CFG_File_Reader written =
      ReadProgramConfig(ReadProgramConfig(AsText(data, size)).ProgramConfigText());
  for (;;) {
    CFG_File_Reader rewritten = ReadProgramConfig(written.ProgramConfigText());
    if (rewritten.ProgramConfigText() == written.ProgramConfigText()) return 0;
    Require(TextWithoutSimulator(rewritten) == TextWithoutSimulator(written),
            "a rewritten Program_Config.cfg changes more than FS_Directory");
    Require(SimulatorLength(rewritten) < SimulatorLength(written),
            "a rewritten FS_Directory does not settle");
    written = std::move(rewritten);
  }
}

int FuzzDatabaseFile(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const DatabaseFileKind kind = kParsedKinds[data[0] % kParsedKinds.size()];
  const DatabaseFileContents contents = ParseDatabaseFile(kind, {data + 1, size - 1});
  for (const ParsedRecord& parsed : contents.records) {
    FormatRecordFields(parsed.record);
    RecordFieldsToJson(parsed.record).dump();
  }
  if (contents.failure) DescribeFailure(*contents.failure);
  return 0;
}

std::span<const FuzzTarget> FuzzTargets() {
  // Generated from fuzz/targets.txt.
  static constexpr FuzzTarget kTargets[] = {
#include "fuzz_targets.inc"
  };
  return kTargets;
}

}  // namespace tarnvale::fuzz
