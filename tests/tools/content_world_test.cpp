// The world part of the generated content pack read back the way the game reads it: file names
// and sizes, kinds and classes, pictures and terrain pieces through the engine's readers, level
// links, and units that start in open water.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "content.h"
#include "engine/obj_reader.h"
#include "engine/picture.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "world/records.h"
#include "world_islands.h"
#include "world_kinds.h"
#include "world_levels.h"

namespace skerrow::content {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

class ContentWorldTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ =
        new fs::path(fs::temp_directory_path() / ("skerrow_world_" + std::to_string(::getpid())));
    fs::remove_all(*root_);
    Output out(*root_ / "gdata");
    GenerateWorld(out);
    // Earlier suites in this process may have listed the temp directory before it existed.
    InvalidatePathCache();
    written_ = new std::vector<std::string>(out.Written());
  }
  static void TearDownTestSuite() {
    fs::remove_all(*root_);
    delete root_;
    delete written_;
  }
  // The game's own path form: Windows-1251, backslashes, letter case as the game writes it.
  static std::string Game(const std::string& utf8Path) {
    std::string p = Utf8ToCp1251((*root_ / "gdata").string() + "/" + utf8Path);
    for (char& c : p)
      if (c == '/') c = '\\';
    return p;
  }
  static std::vector<uint8_t> GameFile(const std::string& utf8Path) {
    return ReadAll(ResolvePath(Game(utf8Path)));
  }
  static std::string Episode(int32_t e = 1) {
    return std::string("Worlds\\") + CampaignEpisode(e).nameUtf8 + "\\";
  }

  static fs::path* root_;
  static std::vector<std::string>* written_;
};
fs::path* ContentWorldTest::root_ = nullptr;
std::vector<std::string>* ContentWorldTest::written_ = nullptr;

TEST_F(ContentWorldTest, EveryFileLevelLoadingAsksForExistsWithItsSize) {
  std::vector<std::pair<std::string, size_t>> files = {{"Skerrow.qvp", kKindPackSize}};
  for (int k = 1; k <= 3; ++k)
    files.push_back({"parameters\\unit" + std::to_string(k) + ".par", sizeof(UnitRecord)});
  for (int32_t e = 1; e <= kCampaignEpisodes; ++e) {
    const std::string ep = Episode(e);
    for (int n = 1; n <= CampaignEpisode(e).levels; ++n) {
      std::string s = std::to_string(n);
      files.push_back({ep + "data\\Land" + s + ".lan", kLandRangeSize});
      files.push_back({ep + "data\\normal" + s + ".unt", sizeof(UnitRecord) * kUnitSlots});
      files.push_back({ep + "data\\normal" + s + ".bon", sizeof(BonusRecord) * kBonusSlots});
      for (const char* pic : {"Data\\size", "Data\\landscape", "Data\\ugrad", "Data\\minimap"})
        files.push_back({ep + pic + s + ".qvt", 0});
    }
    for (const char* t : {"Textures\\Skies\\clouds.qvt", "Textures\\Skies\\otrbmp.qvt",
                          "Textures\\Main\\water.qvt", "Textures\\Main\\detail.qvt",
                          "Textures\\Main\\shadows.qvt", "Textures\\Main\\shadowx.qvt"})
      files.push_back({ep + t, 0});
    for (int k = 1; k <= kIslandPieceCount; ++k) {
      std::string s = std::to_string(k), dir = ep + "Textures\\Main\\Terrain" + s + "\\";
      files.push_back({ep + "refter\\Terrain" + s + ".obj", 0});
      files.push_back({"gdata\\worlds\\" + ep.substr(7) + "Data\\Terrain" + s + ".qvt", 0});
      for (const char* t : {"terrain.qvt", "detail.qvt", "shadowx.qvt", "shadow.qvt", "smooth.qvt"})
        files.push_back({dir + t, 0});
    }
    for (const char* t :
         {"textures\\int\\loading.qvt", "textures\\int\\striper.qvt", "textures\\int\\stripel.qvt",
          "textures\\int\\loadingW1.qvt", "ata\\menu.qvt"})
      files.push_back({t, 0});
  }
  for (auto& [path, size] : files) {
    std::string rel = path.rfind("gdata\\", 0) == 0 ? path.substr(6) : path;
    std::string game = Game(Cp1251ToUtf8(Utf8ToCp1251(rel)));
    ASSERT_TRUE(PathExists(game)) << path;
    if (size) {
      EXPECT_EQ(fs::file_size(ResolvePath(game)), size) << path;
    }
  }
  // No piece beyond the episode's: the loader would keep a stale model for it.
  for (int32_t e = 1; e <= kCampaignEpisodes; ++e)
    EXPECT_FALSE(PathExists(Game(Cp1251ToUtf8(Utf8ToCp1251(Episode(e))) + "refter\\Terrain7.obj")));
}

TEST_F(ContentWorldTest, PicturesDecodeWithPowerOfTwoSizes) {
  int count = 0;
  for (const std::string& rel : *written_) {
    std::string ext = rel.substr(rel.size() - 4);
    if (ext != ".qvt" && ext != ".bmp" && ext != ".pct") continue;
    std::vector<uint8_t> bytes =
        ReadAll(*root_ / "gdata" / fs::path(std::u8string(rel.begin(), rel.end())));
    TPixels platform, direct;
    ASSERT_TRUE(DecodeBitmap(bytes, platform, nullptr)) << rel;
    ASSERT_TRUE(DecodeBmp24(bytes, direct, nullptr)) << rel;
    EXPECT_EQ(platform.width & (platform.width - 1), 0) << rel;
    EXPECT_EQ(platform.height & (platform.height - 1), 0) << rel;
    EXPECT_EQ(platform.width * 3 % 4, 0) << rel;
    ++count;
  }
  EXPECT_GT(count, 40);
}

TEST_F(ContentWorldTest, KindPackNamesAndClassesMatchWhatTheCodeDoesWithEachKind) {
  std::vector<uint8_t> pack = GameFile("Skerrow.qvp");
  ASSERT_EQ(pack.size(), kKindPackSize);
  auto table = std::make_unique<KindTable>();
  std::memcpy(table.get(), pack.data(), pack.size());
  // Kind numbers whose class the unit update, enemy behaviour and death events fix.
  const std::pair<int32_t, int32_t> expected[] = {{1, 1},
                                                  {2, 1},
                                                  {3, 1},
                                                  {6, 2},
                                                  {9, 2},
                                                  {17, 2},
                                                  {18, 2},
                                                  {25, 2},
                                                  {51, 2},
                                                  {46, 2},
                                                  {12, 5},
                                                  {13, 6},
                                                  {14, 6},
                                                  {26, 6},
                                                  {48, 6},
                                                  {23, 10},
                                                  {35, 10},
                                                  {28, 8},
                                                  {34, 8},
                                                  {36, 8},
                                                  {43, 8},
                                                  {44, 3},
                                                  {47, 3},
                                                  {7, 5},
                                                  {19, 5},
                                                  {kind::kExitMarker, 7},
                                                  // The sluice gate, the heavy linked gun that
                                                  // fires its heavy shell, and the flame-thrower
                                                  // attackers, which fire only as ships.
                                                  {kind::kSluiceGate, 7},
                                                  {kind::kHeavyGunship, 9},
                                                  {kind::kFlameWallA, 3},
                                                  {kind::kFlameWallB, 3}};
  for (auto [kind, cls] : expected) EXPECT_EQ(+(*table)[kind].kindClass, cls) << "kind " << kind;
  for (const KindInfo& k : WorldKinds()) {
    const KindRecord& r = (*table)[k.kind];
    EXPECT_EQ(Cp1251ToUtf8(r.kindName.View()), k.nameUtf8) << k.kind;
    EXPECT_GT(+r.kindName.length, 0) << k.kind;
    EXPECT_EQ(+r.kindAlertRadius, k.alertRadius);
    std::vector<uint8_t> par = GameFile("parameters\\unit" + std::to_string(k.kind) + ".par");
    ASSERT_EQ(par.size(), sizeof(UnitRecord)) << k.kind;
    UnitRecord u;
    std::memcpy(&u, par.data(), sizeof u);
    EXPECT_EQ(+u.unitKind, k.kind);
    EXPECT_GT(+u.maxLife, 0);
  }
  // Broadside ships need a band to fire in.
  EXPECT_LT(+(*table)[19].kindStandoffMin, +(*table)[19].kindStandoffMax);
  EXPECT_EQ(+(*table)[0].kindClass, 0);
}

// Land queries exactly as the play simulation samples the pieces' height grids.
struct Terrain {
  std::map<int32_t, std::vector<int32_t>> heights;  // [a * 128 + b]
  double Sample(const std::vector<int32_t>& g, double u, double v) const {
    auto at = [&](int a, int b) { return g[std::clamp(a, 0, 127) * 128 + std::clamp(b, 0, 127)]; };
    int iu = static_cast<int>(u), iv = static_cast<int>(v);
    double fu = u - iu, fv = v - iv;
    auto row = [&](int c) {
      return fu > 0.5 ? at(iu, c) + (at(iu + 1, c) - at(iu, c)) * (fu - 0.5)
                      : at(static_cast<int>(u - 1), c) +
                            (at(iu, c) - at(static_cast<int>(u - 1), c)) * (fu + 0.5);
    };
    return row(iv) + (row(iv + 1) - row(iv)) * fv;
  }
  double Land(const SavedState& s, double x, double z, double offset) const {
    double best = 0;
    for (int i = 1; i < kStaticSlots && s.statics[i].alive == 1; ++i) {
      double dx = x - s.statics[i].posX, dz = z - s.statics[i].posZ;
      if (std::abs(dx) >= 5 || std::abs(dz) >= 5) continue;
      best = std::max(
          best,
          Sample(heights.at(s.statics[i].terrainKind), (dx + 5) * 12.8, (dz + 5) * 12.8) / 51 -
              offset);
    }
    return best;
  }
};

TEST_F(ContentWorldTest, LevelsStartInOpenWaterAndLinkToTheEnd) {
  for (int32_t e = 1; e <= kCampaignEpisodes; ++e) {
    SCOPED_TRACE("episode " + std::to_string(e));
    const int32_t levels = CampaignEpisode(e).levels;
    Terrain terrain;
    for (int k = 1; k <= kIslandPieceCount; ++k) {
      TPixels px;
      ASSERT_TRUE(DecodeBitmap(GameFile(Episode(e) + "Data\\Terrain" + std::to_string(k) + ".qvt"),
                               px, nullptr));
      ASSERT_EQ(px.width, 128);
      // Decoded rows are bottom-up: picture pixel (127 - a, 127 - b) is row b of the data.
      std::vector<int32_t> g(128 * 128);
      for (int a = 0; a < 128; ++a)
        for (int b = 0; b < 128; ++b)
          g[a * 128 + b] = px.data[(b * 128 + (127 - a)) * px.channels + 1];
      terrain.heights[k] = g;
    }
    std::set<int32_t> reachable = {1}, seen;
    std::vector<int32_t> todo = {1};
    while (!todo.empty()) {
      int32_t n = todo.back();
      todo.pop_back();
      if (!seen.insert(n).second) continue;
      SCOPED_TRACE("level " + std::to_string(n));
      auto s = std::make_unique<SavedState>();
      std::vector<uint8_t> land = GameFile(Episode(e) + "data\\Land" + std::to_string(n) + ".lan");
      std::vector<uint8_t> units =
          GameFile(Episode(e) + "data\\normal" + std::to_string(n) + ".unt");
      std::vector<uint8_t> bonuses =
          GameFile(Episode(e) + "data\\normal" + std::to_string(n) + ".bon");
      ASSERT_EQ(land.size(), kLandRangeSize);
      std::memcpy(reinterpret_cast<uint8_t*>(s.get()) + kLandRangeBegin, land.data(), land.size());
      std::memcpy(s->units, units.data(), units.size());
      std::memcpy(s->bonuses, bonuses.data(), bonuses.size());
      TPixels size;
      ASSERT_TRUE(DecodeBitmap(GameFile(Episode(e) + "Data\\size" + std::to_string(n) + ".qvt"),
                               size, nullptr));
      const double S = size.width;

      const UnitRecord& player = s->units[1];
      ASSERT_EQ(+player.alive, 1);
      ASSERT_EQ(+player.unitKind, 1);
      EXPECT_EQ(+player.haveAI, 0);
      int enemies = 0;
      std::map<int32_t, int32_t> links;  // edge -> level
      for (int i = 1; i < kUnitSlots; ++i) {
        const UnitRecord& u = s->units[i];
        if (u.alive != 1) continue;
        const KindInfo* info = FindKind(u.unitKind);
        ASSERT_NE(info, nullptr) << "unit " << i << " kind " << u.unitKind;
        EXPECT_TRUE(PathExists(Game("parameters/unit" + std::to_string(u.unitKind) + ".par")));
        if (info->kindClass == unit_class::kExitGate) {
          // The marker holds its edge open; a gate opens it once destroyed.
          EXPECT_EQ(+u.sinking, u.unitKind == kind::kExitMarker ? 1 : 0);
          links[static_cast<int32_t>(u.acceleration)] = static_cast<int32_t>(u.rotateSpeed);
          if (u.unitKind == kind::kExitMarker) continue;
        }
        // A boss's reward opens its edge: the first +z to episode 2, the second +x to episode 3,
        // the last every edge to the end of the game.
        if (u.unitKind == kind::kPirateFlagship) links[2] = 202;
        if (u.unitKind == kind::kIronclad) links[1] = 203;
        if (u.unitKind == kind::kFlyingFortress)
          for (int32_t edge = 1; edge <= 4; ++edge) links[edge] = 500;
        if (u.haveAI == 1) ++enemies;
        bool moves = info->kindClass >= 1 && info->kindClass <= 5;
        if (moves || info->kindClass == unit_class::kFloat) {
          // Afloat and clear of every shore by its radius, so the land push never traps it.
          for (int k = 0; k < 16; ++k) {
            double a = k * 3.14159265 / 8, r = k == 0 ? 0 : u.radius;
            EXPECT_EQ(terrain.Land(*s, u.posX + r * std::cos(a), u.posZ + r * std::sin(a), 0.07), 0)
                << "unit " << i << " kind " << u.unitKind << " on land at " << u.posX << ","
                << u.posZ;
          }
        } else {
          // Shore guns stand on the ground, not under or above it.
          EXPECT_NEAR(+u.posY, terrain.Land(*s, u.posX, u.posZ, 0.05), 0.2) << "unit " << i;
        }
        EXPECT_GT(+u.posX, 15);
        EXPECT_LT(+u.posX, S - 15);
        EXPECT_GT(+u.posZ, 15);
        EXPECT_LT(+u.posZ, S - 15);
      }
      EXPECT_GE(enemies, 5);
      // Statics: contiguous from slot 1, pieces that exist, objects standing on their surface.
      int statics = 0;
      for (int i = 1; i < kStaticSlots && s->statics[i].alive == 1; ++i, ++statics) {
        const StaticRecord& st = s->statics[i];
        ASSERT_TRUE(terrain.heights.count(st.terrainKind));
        for (int o = 1; o < kStaticObjectSlots; ++o) {
          const StaticObjectRecord& ob = st.objects[o];
          if (ob.alive != 1) continue;
          EXPECT_GE(+ob.objectKind, 1);
          EXPECT_LE(+ob.objectKind, 12);
          double ground = terrain.Land(*s, st.posX + ob.posX, st.posZ + ob.posZ, 0.05);
          EXPECT_NEAR(+ob.posY, ground, 0.25) << "static " << i << " object " << o;
        }
      }
      EXPECT_GE(statics, 20);
      // Pickups lie in open water where the ship can reach them.
      for (int b = 1; b < kBonusSlots; ++b) {
        const BonusRecord& r = s->bonuses[b];
        if (r.alive == 1 && r.kind >= 1 && r.kind <= 6) {
          EXPECT_EQ(terrain.Land(*s, r.posX, r.posZ, 0.07), 0) << "bonus " << b;
        }
      }
      // Links: the start is not inside a linked edge band, and every link leads somewhere real.
      ASSERT_FALSE(links.empty());
      for (auto [edge, target] : links) {
        ASSERT_GE(edge, 1);
        ASSERT_LE(edge, 4);
        double distance = edge == 1   ? S - player.posX
                          : edge == 2 ? S - player.posZ
                          : edge == 3 ? player.posX
                                      : player.posZ;
        EXPECT_GT(distance, 15);
        ASSERT_TRUE(target == 500 || (target >= 1 && target <= levels) ||
                    (target > 200 && target <= 200 + kCampaignEpisodes))
            << target;
        reachable.insert(target);
        if (target <= levels) todo.push_back(target);
      }
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(levels));
    // Episodes 1 and 2 lead to the next; the third to the end and, hidden, to the fourth; the
    // fourth back to the end.
    EXPECT_TRUE(e >= 3 || reachable.count(201 + e)) << "the episode must lead on";
    EXPECT_TRUE(e != 3 || reachable.count(204));
    EXPECT_TRUE(e < 3 || reachable.count(500)) << "the episode must lead to an end";
  }
}

TEST_F(ContentWorldTest, PieceMeshAgreesWithItsHeightGrid) {
  for (int k = 1; k <= kIslandPieceCount; ++k) {
    SCOPED_TRACE("piece " + std::to_string(k));
    TOBJModel obj;
    obj.LoadFromFile(ResolvePath(Game(Cp1251ToUtf8(Utf8ToCp1251(Episode()))) + "refter\\Terrain" +
                                 std::to_string(k) + ".obj"));
    ASSERT_EQ(obj.Groups.size(), 1u);
    ASSERT_EQ(obj.Vertices.size(), 33u * 33u);  // nothing lost before the first group
    ASSERT_EQ(obj.Groups[0].faces.size(), 32u * 32u * 2u);
    ASSERT_EQ(obj.TexCoords.size(), obj.Vertices.size());
    TPixels px;
    ASSERT_TRUE(DecodeBitmap(GameFile(Episode() + "Data\\Terrain" + std::to_string(k) + ".qvt"), px,
                             nullptr));
    Terrain t;
    // Decoded rows are bottom-up: picture pixel (127 - a, 127 - b) is row b of the data.
    std::vector<int32_t> g(128 * 128);
    for (int a = 0; a < 128; ++a)
      for (int b = 0; b < 128; ++b)
        g[a * 128 + b] = px.data[(b * 128 + (127 - a)) * px.channels + 1];
    double worst = 0;
    int above = 0;
    for (const auto& v : obj.Vertices) {
      double x = v[0] * 0.1025, y = v[1] * 0.1025, z = v[2] * 0.1025;
      if (std::abs(x) >= 4.95 || std::abs(z) >= 4.95 || y <= 0.05) continue;
      ++above;
      double h = t.Sample(g, (x + 5) * 12.8, (z + 5) * 12.8) / 51 - 0.05;
      worst = std::max(worst, std::abs(h - y));
    }
    EXPECT_GT(above, 25);
    EXPECT_LT(worst, 0.15);  // the shore the ship meets is the shore it sees
    for (const auto& f : obj.Groups[0].faces)
      for (int c = 0; c < 3; ++c) {
        ASSERT_GE(f.vertex[c], 0);
        ASSERT_LT(f.vertex[c], static_cast<int32_t>(obj.Vertices.size()));
        ASSERT_EQ(f.texCoord[c], f.vertex[c]);
      }
  }
}

TEST_F(ContentWorldTest, TwoRunsWriteIdenticalBytes) {
  fs::path again = *root_ / "again";
  Output out(again);
  GenerateWorld(out);
  ASSERT_EQ(out.Written(), *written_);
  for (const std::string& rel : *written_) {
    fs::path p(std::u8string(rel.begin(), rel.end()));
    ASSERT_TRUE(ReadAll(again / p) == ReadAll(*root_ / "gdata" / p)) << rel;
  }
}

// The menu's light shafts are added onto the hero and ship pictures, up to ten at a time at up
// to about 0.8 of the texture: dim rays falling from the top, not a white blob.
TEST_F(ContentWorldTest, LightShaftsAreDimRaysFallingFromTheTop) {
  TPixels px;
  ASSERT_TRUE(DecodeBitmap(GameFile("textures\\effects\\lit.qvt"), px, nullptr));
  ASSERT_GE(px.channels, 3);
  int brightest = 0;
  double sum = 0, top = 0, bottom = 0;
  for (int row = 0; row < px.height; ++row) {  // decoded rows run bottom-up
    for (int col = 0; col < px.width; ++col) {
      const uint8_t* p = &px.data[(static_cast<size_t>(row) * px.width + col) * px.channels];
      const int v = std::max({p[0], p[1], p[2]});
      brightest = std::max(brightest, v);
      sum += v;
      if (row >= px.height * 2 / 3) top += v;
      if (row < px.height / 3) bottom += v;
    }
  }
  EXPECT_LE(brightest, 90);
  EXPECT_LE(sum / (px.width * px.height), 20.0);
  EXPECT_GT(top, 2 * bottom);
}

}  // namespace
}  // namespace skerrow::content
