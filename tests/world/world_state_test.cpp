// The game state object: zero-filled creation, the heap tables, short strings.
#include "world/world_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace skerrow {
namespace {

TEST(WorldStateTest, CreatedZeroFilledWithHeapTables) {
  auto ws = std::make_unique<WorldState>();
  const auto saved = SavedBytes(*ws);
  EXPECT_TRUE(std::all_of(saved.begin(), saved.end(), [](uint8_t b) { return b == 0; }));
  const auto kinds = KindPackBytes(*ws);
  EXPECT_TRUE(std::all_of(kinds.begin(), kinds.end(), [](uint8_t b) { return b == 0; }));

  ASSERT_EQ(ws->terrainColour.size(), static_cast<size_t>(kMapSize) * kMapSize);
  EXPECT_EQ(TerrainColourAt(*ws, kMapSize - 1, kMapSize - 1).a, 0.0f);
  TerrainColourAt(*ws, 3, 5).r = 0.5f;
  EXPECT_EQ(ws->terrainColour[3 * kMapSize + 5].r, 0.5f);  // x-major, as the sea floor reads it

  // Both ends of the 1-based heap tables exist and start at zero; outside them there is nothing.
  EXPECT_EQ(ws->islandHeights[1][0][0], 0);
  EXPECT_EQ(ws->islandHeights[kTerrainPieceSlots][127][127], 0);
  EXPECT_EQ(ws->terrainShadowMaps[kShadowMapSlots][127][127], 0);
  ws->islandHeights[kTerrainPieceSlots][127][127] = -4;
  EXPECT_EQ((*ws->islandHeights.at(kTerrainPieceSlots))[127][127], -4);
  EXPECT_EQ(ws->islandHeights.at(0), nullptr);
  EXPECT_EQ(ws->islandHeights.at(kTerrainPieceSlots + 1), nullptr);
  // Pieces 101..127 have heights but no shadow map.
  EXPECT_NE(ws->islandHeights.at(101), nullptr);
  EXPECT_EQ(ws->terrainShadowMaps.at(101), nullptr);
}

TEST(ShortStringTest, SetCutsAt255AndViewShowsLength) {
  struct Case {
    size_t inputLength;
    size_t storedLength;
  };
  for (const Case c :
       {Case{0, 0}, Case{1, 1}, Case{254, 254}, Case{255, 255}, Case{256, 255}, Case{1000, 255}}) {
    SCOPED_TRACE(c.inputLength);
    ShortString s;
    std::memset(&s, 'x', sizeof s);
    std::string input(c.inputLength, '\0');
    for (size_t i = 0; i < input.size(); ++i) input[i] = static_cast<char>('a' + i % 26);
    s.Set(input);
    EXPECT_EQ(s.length, c.storedLength);
    EXPECT_EQ(s.View(), std::string_view(input).substr(0, c.storedLength));
  }
}

TEST(ShortStringTest, KeepsWindows1251BytesAndEmbeddedZeros) {
  ShortString s{};
  const std::string bytes("\xCA\xEE\xF0\0\xE0", 5);  // 1251 letters and a zero byte
  s.Set(bytes);
  EXPECT_EQ(s.length, 5);
  EXPECT_EQ(s.View(), bytes);
}

TEST(UnitRecordTest, ControlArrayAliasesNamedBytes) {
  UnitRecord u{};
  Controls(u)[kCtlMainGun] = 1;
  PreviousControls(u)[kCtlWeaponZ] = 1;
  PropPhase(u) = 2.5;
  EXPECT_EQ(u.ctlMainGun, 1);
  EXPECT_EQ(u.ctlSideLeft, 0);
  EXPECT_EQ(u.ctlPrevious[kCtlWeaponZ], 1);
  EXPECT_EQ(u.vel.w, 2.5);
}

}  // namespace
}  // namespace skerrow
