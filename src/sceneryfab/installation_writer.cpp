// Writes the simulator folder: Scenery.cfg with its area sections, the program file, a smooth
// magdec.bgl and each area's scenery folder.

#include "sceneryfab/installation_writer.h"

#include <cmath>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "platform/paths.h"
#include "sceneryfab/fs2004_writer.h"
#include "sceneryfab/text.h"

namespace tarnvale::fab {

namespace {

constexpr const char* kCrLf = "\r\n";

void CheckVersion(FsVersion fs_version) {
  if (!IsReadableSimulator(fs_version)) {
    throw std::invalid_argument("simulator version must be " + SimulatorChoicesText() + ", not " +
                                std::to_string(ToNumber(fs_version)));
  }
}

void Line(std::string& text, const std::string& key, const std::string& value) {
  text += key + '=' + value + kCrLf;
}

std::string AreaSection(const PlannedArea& area, std::size_t number) {
  std::string text = "[Area." + ZeroPadded(number, 3) + "]" + kCrLf;
  Line(text, "Title", area.title);
  if (!area.local.empty()) Line(text, "Local", area.local);
  Line(text, "Remote", area.remote);
  Line(text, "Active", area.active ? "TRUE" : "FALSE");
  Line(text, "Required", area.required ? "TRUE" : "FALSE");
  Line(text, "Layer", std::to_string(area.layer.value_or(static_cast<int>(number))));
  if (area.texture_id) Line(text, "Texture_ID", std::to_string(*area.texture_id));
  return text + kCrLf;
}

// A smooth field of declinations in hundredths of a degree, one per whole
// degree of latitude (-90..90) and longitude (-180..179).
Bytes DeclinationGrid() {
  constexpr double kRadians = 3.14159265358979 / 180.0;
  ByteBuffer grid;
  for (int latitude = -90; latitude <= 90; ++latitude) {
    for (int longitude = -180; longitude < 180; ++longitude) {
      const double degrees = 18.0 * std::sin(longitude * kRadians) * std::cos(latitude * kRadians) +
                             6.0 * std::sin(2.0 * latitude * kRadians);
      grid.U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(degrees * 100.0))));
    }
  }
  return grid.Take();
}

// The relative path that `text` names, its parts parted by backslashes or
// slashes.
std::filesystem::path RelativePathOf(std::string_view text) {
  std::filesystem::path path;
  std::string part;
  for (char c : std::string(text) + '\\') {
    if (c != '\\' && c != '/') {
      part += c;
    } else if (!part.empty()) {
      path /= part;
      part.clear();
    }
  }
  return path;
}

}  // namespace

std::string SceneryCfgText(const std::vector<PlannedArea>& areas) {
  std::string text = std::string("[General]") + kCrLf;
  Line(text, "Title", "Synthetic Scenery");
  Line(text, "Description", "Scenery library of a generated installation");
  Line(text, "Clean_on_Exit", "TRUE");
  text += kCrLf;
  for (std::size_t i = 0; i < areas.size(); ++i) text += AreaSection(areas[i], i + 1);
  return text;
}

std::string SimulatorProgramName(FsVersion fs_version) {
  CheckVersion(fs_version);
  return std::string(SimulatorProgramFile(fs_version));
}

std::filesystem::path MagdecRelativePath(FsVersion fs_version) {
  CheckVersion(fs_version);
  return RelativePathOf(SimulatorTraitsOf(fs_version)->magnetic_declination);
}

std::filesystem::path AreaBglFolder(const std::string& local) {
  return RelativePathOf(local) / "Scenery";
}

Bytes MagdecBytes(FsVersion fs_version) {
  CheckVersion(fs_version);
  constexpr std::uint32_t kDeclinationSection = 104;
  if (fs_version == FsVersion::Fs2004) {
    Fs2004File file;
    file.sections.push_back(MakeFs2004Section(kDeclinationSection, {DeclinationGrid()}));
    return BuildFs2004File(file);
  }
  // The FS2002 loader looks at the words at 18, 78 and 118: all stay 0.
  ByteBuffer file;
  file.U16(0x0001).Zeros(126).Append(DeclinationGrid());
  return file.Take();
}

void WriteBytesToFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + platform::Utf8Of(path));
}

void WriteTextToFile(const std::filesystem::path& path, const std::string& text) {
  WriteBytesToFile(path,
                   std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Installation::Installation(std::filesystem::path root, FsVersion fs_version)
    : root_(std::move(root)), fs_version_(fs_version) {
  CheckVersion(fs_version);
  WriteTextToFile(root_ / SimulatorProgramName(fs_version), "synthetic simulator program file\n");
  WriteBytesToFile(root_ / MagdecRelativePath(fs_version), MagdecBytes(fs_version));
}

std::filesystem::path Installation::AddArea(const PlannedArea& area) {
  areas_.push_back(area);
  if (area.local.empty()) return {};
  const std::filesystem::path folder = root_ / AreaBglFolder(area.local);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error)
    throw std::runtime_error("cannot create " + platform::Utf8Of(folder) + ": " + error.message());
  return folder;
}

void Installation::WriteSceneryCfg() const {
  WriteTextToFile(root_ / "Scenery.cfg", SceneryCfgText(areas_));
}

}  // namespace tarnvale::fab
