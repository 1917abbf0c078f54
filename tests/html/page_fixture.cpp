// Writes a small converted game into the current folder for the page checks:
// three 648 x 360 24-bit pictures and the page that the document writer makes
// of them with the structure file found there. The values stress the page:
// markup characters in names, an intermission, a cave that gives nothing.
#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "driver/console_dialog.h"
#include "html/html_document.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Width = 648;
constexpr int Height = 360;

void PutLittleEndian(std::vector<std::uint8_t> &bytes, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A picture of tiles in the cave's hue, with a bright block in the upper left
// corner so that a flipped picture shows.
bool WritePicture(const std::string &name, int hue) {
  const auto rowBytes = static_cast<std::uint32_t>((Width * 3 + 3) / 4 * 4);
  const std::uint32_t pixelBytes = rowBytes * Height;
  std::vector<std::uint8_t> bytes{'B', 'M'};
  PutLittleEndian(bytes, 54 + pixelBytes, 4);
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, 54, 4);
  PutLittleEndian(bytes, 40, 4);
  PutLittleEndian(bytes, Width, 4);
  PutLittleEndian(bytes, Height, 4);
  PutLittleEndian(bytes, 1, 2);
  PutLittleEndian(bytes, 24, 2);
  for (int field = 0; field < 6; ++field) PutLittleEndian(bytes, 0, 4);
  for (int row = Height - 1; row >= 0; --row) { // bottom row first
    for (int column = 0; column < Width; ++column) {
      const bool corner = row < 48 && column < 48;
      const bool light = ((row / 16) + (column / 16)) % 2 == 0;
      const int level = corner ? 255 : (light ? 150 : 70);
      bytes.push_back(static_cast<std::uint8_t>(hue == 2 ? level : level / 3)); // blue
      bytes.push_back(static_cast<std::uint8_t>(hue == 1 ? level : level / 3)); // green
      bytes.push_back(static_cast<std::uint8_t>(hue == 0 ? level : level / 3)); // red
    }
    for (std::uint32_t pad = Width * 3; pad < rowBytes; ++pad) bytes.push_back(0);
  }
  std::FILE *file = std::fopen(name.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

struct FixtureCave {
  const char *name;
  bool intermission;
  std::int32_t diamonds;
  std::int32_t time;
  std::int32_t amoeba;
  const char *remark;
};

} // namespace

int main() {
  GameRecord = {"Rock & Roll's <Caves>",
                "2026-05-17",
                "The \"Fixture\" Team",
                "www.example.org",
                "Original",
                "Plain",
                5,
                3};
  PictureExtension = "bmp";
  ReadHtmlStructure();
  OpenHtmlDocument();
  const FixtureCave caves[] = {
      {"Opening <Act>", false, 12, 150, 40, "<script>document.title = 'taken'</script> stays text"},
      {"Little Hall", true, 6, 20, -1, ""},
      {"", false, -1, -1, -1, ""},
  };
  for (const FixtureCave &cave : caves) {
    ResetCaveRecord();
    CaveRecord.Name = cave.name;
    CaveRecord.Intermission = cave.intermission;
    CaveRecord.DiamondsRequired = cave.diamonds;
    CaveRecord.DiamondValue = cave.diamonds < 0 ? -1 : 10;
    CaveRecord.CaveTime = cave.time;
    CaveRecord.AmoebaTime = cave.amoeba;
    CaveRecord.Remark = cave.remark;
    CaveRecord.PictureFileName =
        GameRecord.Name + "_Cave_0" + std::to_string(CaveCount + 1) + ".bmp";
    if (!WritePicture(CaveRecord.PictureFileName, CaveCount % 3)) return 1;
    ++CaveCount;
    WriteCaveEntry();
  }
  CloseHtmlDocument();
  return 0;
}
