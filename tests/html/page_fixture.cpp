// Writes a small converted game into the current folder for the page checks:
// three pictures written by the picture writer and the page that the document writer makes
// of them with the structure file found there. The values stress the page:
// markup characters in names, an intermission, a cave that gives nothing.
#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "driver/console_dialog.h"
#include "html/html_document.h"
#include "picture/cave_picture.h"
#include "picture/graphics_file.h"

#include <cstdint>
#include <string>

namespace {

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
    // Empty tiles: each cave is its own colour inside a black frame.
    const std::int32_t hues[] = {0x963232, 0x329632, 0x323296};
    CaveRecord.CavePalette = {0, hues[CaveCount % 3], 0, 0, 0};
    WriteCavePicture(); // names the picture after the game and the cave number
    ++CaveCount;
    WriteCaveEntry();
  }
  CloseHtmlDocument();
  return 0;
}
