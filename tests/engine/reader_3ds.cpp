// 3DS reader: chunk tree, queries and refusal of damaged files, on fixtures built in memory.
#include <gtest/gtest.h>

#include <functional>

#include "engine/file3ds.h"
#include "engine/smoothing.h"
#include "platform/heap_count.h"
#include "support/chunk_writer.h"

namespace skerrow {
namespace {

using testsupport::ChunkWriter;

const std::string kInvalidChunk =
    "An invalid Chunk structure was encountered while reading\rthe database. Usually caused by "
    "a corrupt database or file.";

// M3DMAGIC { version 3, MDATA { body } } with `body` written by the caller.
std::vector<uint8_t> File(const std::function<void(ChunkWriter&)>& body,
                          const std::function<void(ChunkWriter&)>& after = nullptr) {
  ChunkWriter w;
  w.Begin(kChunkM3DMagic);
  w.Begin(kChunkM3DVersion).U32(3).End();
  w.Begin(kChunkMData);
  w.Begin(kChunkMeshVersion).U32(3).End();
  body(w);
  w.End();
  if (after) after(w);
  w.End();
  return w.bytes;
}

void Colour24(ChunkWriter& w, uint16_t holder, uint8_t r, uint8_t g, uint8_t b) {
  w.Begin(holder).Begin(kChunkColor24).U8(r).U8(g).U8(b).End().End();
}

// A triangle mesh "tri" with 3 vertices and the given faces.
void TriMesh(ChunkWriter& w, const std::string& name, std::vector<TFace3DS> faces,
             const std::function<void(ChunkWriter&)>& faceSubs = nullptr,
             const std::function<void(ChunkWriter&)>& triSubs = nullptr) {
  w.Begin(kChunkNamedObject).Str(name).Begin(kChunkNTriObject);
  w.Begin(kChunkPointArray).U16(3);
  for (float v : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f}) w.F32(v);
  w.End();
  w.Begin(kChunkFaceArray).U16(static_cast<uint16_t>(faces.size()));
  for (const TFace3DS& f : faces) w.U16(f.a).U16(f.b).U16(f.c).U16(f.flags);
  if (faceSubs) faceSubs(w);
  w.End();
  if (triSubs) triSubs(w);
  w.End().End();
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E3DSError& e) {
    return e.what();
  }
  return "";
}

TEST(Reader3ds, UnknownRootGivesAnEmptyReader) {
  ChunkWriter w;
  w.Begin(0x1234).Begin(kChunkMData).End().End();
  TFile3DS f(w.bytes);
  EXPECT_FALSE(f.HasTree());
  EXPECT_EQ(f.Materials().Count(), 0);
  EXPECT_EQ(f.Objects().MeshCount(), 0);
  EXPECT_EQ(f.Objects().OmniLightCount(), 0);
  EXPECT_EQ(f.KeyFramer().MeshNodeCount(), 0);
  EXPECT_EQ(f.DatabaseRelease(), kReleaseUnknown);
  EXPECT_EQ(ErrorOf([&] { f.Objects().Mesh(0); }),
            "The database passed as an argument has not be created yet.");
  TFile3DS empty(std::vector<uint8_t>{});
  EXPECT_EQ(empty.Objects().MeshCount(), 0);
}

TEST(Reader3ds, ReleaseLevels) {
  TFile3DS f(File([](ChunkWriter&) {}));
  EXPECT_EQ(f.DatabaseRelease(), kRelease3);
  EXPECT_EQ(f.MeshRelease(), kRelease3);
  ChunkWriter w;
  w.Begin(kChunkM3DMagic).Begin(kChunkM3DVersion).U32(7).End();
  w.Begin(kChunkMData).Begin(kChunkMeshVersion).U32(2).End().End().End();
  TFile3DS g(w.bytes);
  EXPECT_EQ(g.DatabaseRelease(), kReleaseUnknown);
  EXPECT_EQ(g.MeshRelease(), kRelease2);
  ChunkWriter lib;
  lib.Begin(kChunkMLibMagic).Begin(kChunkMatEntry).Begin(kChunkMatName).Str("m").End().End().End();
  TFile3DS l(lib.bytes);
  EXPECT_EQ(l.DatabaseRelease(), kRelease3);
  EXPECT_EQ(l.Materials().Count(), 1);
  EXPECT_EQ(l.Materials().Material(0).name, "m");
  EXPECT_EQ(ErrorOf([&] { l.Objects().MeshCount(); }),
            "The database passed as an argument is the wrong kind of\rdatabase for this function.");
}

TEST(Reader3ds, MaterialFields) {
  TFile3DS f(File([](ChunkWriter& w) {
    w.Begin(kChunkMatEntry);
    w.Begin(kChunkMatName).Str("hull").End();
    w.Begin(kChunkMatAmbient)
        .Begin(kChunkColor24)
        .U8(255)
        .U8(0)
        .U8(0)
        .End()
        .Begin(kChunkLinColor24)
        .U8(0)
        .U8(255)
        .U8(0)
        .End()
        .End();
    w.Begin(kChunkMatDiffuse).Begin(kChunkColorF).F32(0.25f).F32(2.f).F32(-1.f).End().End();
    w.Begin(kChunkMatShininess).Begin(kChunkIntPercentage).I16(50).End().End();
    w.Begin(kChunkMatTransparency).Begin(kChunkFloatPercentage).F32(50.f).End().End();
    w.Empty(kChunkMatXpfallin);
    w.Begin(kChunkMatShading).U16(3).End();
    w.Empty(kChunkMatTwoSide);
    w.Empty(0x8001);  // extension data: accepted
    w.Begin(kChunkMatTexmap).Begin(kChunkMatMapname).Str("deck.qvt").End().End();
    w.End();
    w.Begin(kChunkMatEntry).Begin(kChunkMatShading).U16(2).End().Empty(kChunkMatWire).End();
  }));
  ASSERT_EQ(f.Materials().Count(), 2);
  const TMaterial3DS m = f.Materials().Material(0);
  EXPECT_EQ(m.name, "hull");
  EXPECT_FLOAT_EQ(m.ambient.r, 0.f);  // LIN_COLOR_24 replaces COLOR_24
  EXPECT_FLOAT_EQ(m.ambient.g, 1.f);
  // Only COLOR_F: taken as it is, clamped to 0..1.
  EXPECT_FLOAT_EQ(m.diffuse.r, 0.25f);
  EXPECT_FLOAT_EQ(m.diffuse.g, 1.f);
  EXPECT_FLOAT_EQ(m.diffuse.b, 0.f);
  EXPECT_FLOAT_EQ(m.specular.r, 0.f);  // no colour chunk: black
  EXPECT_FLOAT_EQ(m.shininess, 0.5f);
  EXPECT_FLOAT_EQ(m.transparency, -50.f);  // FLOAT_PERCENTAGE unchanged, then negated
  EXPECT_EQ(m.shading, 3);
  EXPECT_TRUE(m.twoSided);
  EXPECT_EQ(m.textureName, "deck.qvt");
  EXPECT_EQ(f.Materials().Material(1).shading, 0);  // MAT_WIRE after MAT_SHADING
  EXPECT_EQ(ErrorOf([&] { f.Materials().Material(2); }), "Invalid index 2.");
  EXPECT_EQ(ErrorOf([&] { f.Materials().Material(-1); }), "Invalid index -1.");
}

TEST(Reader3ds, UnknownMaterialSubChunkIsRefused) {
  TFile3DS f(File([](ChunkWriter& w) {
    w.Begin(kChunkMatEntry).Begin(kChunkMatName).Str("x").End().Empty(0xA0F0).End();
  }));
  EXPECT_EQ(ErrorOf([&] { f.Materials().Material(0); }), kInvalidChunk);
}

TEST(Reader3ds, MeshesLightsAndDefaults) {
  TFile3DS f(File([](ChunkWriter& w) {
    TriMesh(w, "hull", {{0, 1, 2, 7}}, [](ChunkWriter& s) {
      s.Begin(kChunkMshMatGroup).Str("wood").U16(2).U16(0).U16(9).End();  // 9: no such face
      s.Begin(kChunkSmoothGroup).U32(6).End();
    });
    w.Begin(kChunkNamedObject).Str("lamp").Begin(kChunkNDirectLight).F32(1).F32(2).F32(3);
    w.Begin(kChunkColor24).U8(255).U8(0).U8(0).End().Empty(kChunkDlOff).End().End();
    w.Begin(kChunkNamedObject).Str("spot").Empty(kChunkObjHidden);
    w.Begin(kChunkNDirectLight).F32(0).F32(0).F32(0);
    w.Begin(kChunkDlSpotlight).F32(1).F32(1).F32(1).F32(10).F32(20).End().End().End();
    TriMesh(w, "mast", {{2, 1, 0, 0}}, nullptr, [](ChunkWriter& t) {
      t.Begin(kChunkTexVerts).U16(2).F32(0.5f).F32(0.25f).F32(1).F32(1).End();
      t.Begin(kChunkMeshMatrix);
      for (int i = 0; i < 12; ++i) t.F32(static_cast<float>(i));
      t.End();
    });
  }));
  ASSERT_EQ(f.Objects().MeshCount(), 2);  // the light objects are not meshes
  const TMesh3DS hull = f.Objects().Mesh(0);
  EXPECT_EQ(hull.name, "hull");
  EXPECT_EQ(hull.vertices.size(), 3u);
  ASSERT_EQ(hull.faces.size(), 1u);
  EXPECT_EQ(hull.faces[0].c, 2);
  EXPECT_TRUE(hull.texCoords.empty());
  for (float v : hull.matrix) EXPECT_EQ(v, 0.f);
  ASSERT_EQ(hull.materialGroups.size(), 1u);
  EXPECT_EQ(hull.materialGroups[0].materialName, "wood");
  EXPECT_EQ(hull.materialGroups[0].faces, std::vector<uint16_t>{0});
  EXPECT_EQ(hull.smoothing, std::vector<uint32_t>{6});
  const TMesh3DS mast = f.Objects().Mesh(1);
  ASSERT_EQ(mast.texCoords.size(), 3u);  // one per vertex; the missing one reads (0, 0)
  EXPECT_FLOAT_EQ(mast.texCoords[0].u, 0.5f);
  EXPECT_FLOAT_EQ(mast.texCoords[2].u, 0.f);
  EXPECT_FLOAT_EQ(mast.matrix[11], 11.f);
  EXPECT_TRUE(mast.smoothing.empty());
  ASSERT_EQ(f.Objects().OmniLightCount(), 1);
  ASSERT_EQ(f.Objects().SpotLightCount(), 1);
  const TLight3DS lamp = f.Objects().OmniLight(0);
  EXPECT_EQ(lamp.name, "lamp");
  EXPECT_FLOAT_EQ(lamp.position.z, 3.f);
  EXPECT_FLOAT_EQ(lamp.color.r, 1.f);
  EXPECT_TRUE(lamp.off);
  const TLight3DS spot = f.Objects().SpotLight(0);
  EXPECT_TRUE(spot.spot);
  EXPECT_FLOAT_EQ(spot.falloff, 20.f);
}

TEST(Reader3ds, Atmosphere) {
  // No FOG: the defaults, even with a layer fog and a USE_ chunk.
  TFile3DS a(File([](ChunkWriter& w) {
    w.Begin(kChunkLayerFog).F32(1).F32(2).F32(3).U32(2).End().Empty(kChunkUseLayerFog);
  }));
  TAtmosphere3DS at = a.Atmosphere();
  EXPECT_EQ(at.activeType, 0);
  EXPECT_FLOAT_EQ(at.fog.farPlane, 1000.f);
  EXPECT_FLOAT_EQ(at.layerFog.zMax, 100.f);
  EXPECT_FLOAT_EQ(at.distanceCue.farDimming, 100.f);
  EXPECT_TRUE(at.fog.background);
  TFile3DS b(File([](ChunkWriter& w) {
    w.Begin(kChunkFog).F32(10).F32(20).F32(300).F32(40);
    w.Begin(kChunkColorF).F32(0.5f).F32(0.5f).F32(1).End().End();
    w.Begin(kChunkLayerFog).F32(1).F32(2).F32(3).U32(1).End();
    w.Empty(kChunkUseLayerFog);
  }));
  at = b.Atmosphere();
  EXPECT_EQ(at.activeType, 2);
  EXPECT_FLOAT_EQ(at.fog.farPlane, 300.f);
  EXPECT_FLOAT_EQ(at.fog.color.b, 1.f);
  EXPECT_FLOAT_EQ(at.layerFog.density, 3.f);
  EXPECT_EQ(at.layerFog.fallOff, 2);
  EXPECT_FALSE(at.layerFog.background);
  TFile3DS none(std::vector<uint8_t>{0x4D, 0x4D, 6, 0, 0, 0});
  EXPECT_FLOAT_EQ(none.Atmosphere().fog.farPlane, 0.f);
}

void Node(ChunkWriter& w, uint16_t tag, int16_t id, const std::string& name, int16_t parent,
          const std::string& instance = "") {
  w.Begin(tag);
  if (id >= 0) w.Begin(kChunkNodeId).I16(id).End();
  w.Begin(kChunkNodeHdr).Str(name).U16(1).U16(2).I16(parent).End();
  if (!instance.empty()) w.Begin(kChunkInstanceName).Str(instance).End();
  w.End();
}

TEST(Reader3ds, KeyframerNodesAndParentNames) {
  TFile3DS f(File([](ChunkWriter&) {},
                  [](ChunkWriter& w) {
                    w.Begin(kChunkKfData);
                    Node(w, kChunkObjectNodeTag, 5, "box", -1, "01");
                    Node(w, 0xB001, 6, "cam", -1);  // not a mesh node
                    w.Begin(kChunkObjectNodeTag);
                    w.Begin(kChunkNodeId).I16(7).End();
                    w.Begin(kChunkNodeHdr).Str("lid").U16(0).U16(0).I16(5).End();
                    w.Begin(kChunkPivot).F32(1).F32(2).F32(3).End();
                    w.Begin(kChunkRotTrackTag).U16(0).U32(0).U32(0).U32(1);
                    w.U32(0).U16(0b10001).F32(0.5f).F32(0.25f);  // tension and ease-from
                    w.F32(1.5f).F32(0).F32(1).F32(0).End();
                    w.End();
                    Node(w, kChunkObjectNodeTag, 8, "flag", 6);
                    w.End();
                  }));
  ASSERT_EQ(f.KeyFramer().MeshNodeCount(), 3);
  EXPECT_EQ(f.KeyFramer().MeshNode(0).name, "box.01");
  const TMeshNode3DS lid = f.KeyFramer().MeshNode(1);
  EXPECT_EQ(lid.name, "lid");
  EXPECT_EQ(lid.parentName, "box.01");
  EXPECT_FLOAT_EQ(lid.pivot.z, 3.f);
  ASSERT_EQ(lid.rotation.keys.size(), 1u);
  EXPECT_FLOAT_EQ(lid.rotation.keys[0].tension, 0.5f);
  EXPECT_FLOAT_EQ(lid.rotation.keys[0].easeFrom, 0.25f);
  EXPECT_FLOAT_EQ(lid.rotation.keys[0].angle, 1.5f);
  EXPECT_FLOAT_EQ(lid.rotation.keys[0].y, 1.f);
  EXPECT_TRUE(lid.position.keys.empty());
  EXPECT_EQ(f.KeyFramer().MeshNode(2).parentName, "cam");

  // One node without NODE_ID: every node is renumbered 0, 1, 2 in file order.
  TFile3DS g(File([](ChunkWriter&) {},
                  [](ChunkWriter& w) {
                    w.Begin(kChunkKfData);
                    Node(w, kChunkObjectNodeTag, 40, "a", -1);
                    Node(w, kChunkObjectNodeTag, -1, "b", 0);
                    Node(w, kChunkObjectNodeTag, 41, "c", 40);
                    w.End();
                  }));
  EXPECT_EQ(g.KeyFramer().MeshNode(1).parentName, "a");
  EXPECT_EQ(g.KeyFramer().MeshNode(2).parentName, "");
}

// Damaged files: each row patches a valid mesh file and states what the reader must do.
struct DamageCase {
  const char* what;
  std::function<std::vector<uint8_t>()> make;
  int meshes;           // mesh count, or -1 when the mesh query must fail
  const char* message;  // expected E3DSError text when meshes == -1
};

TEST(Reader3ds, DamagedFilesFailCleanly) {
  const DamageCase cases[] = {
      {"face corner past the vertex array is kept for the model builder to drop",
       [] { return File([](ChunkWriter& w) {
              TriMesh(w, "m", {{0, 1, 3, 0}});
            }); }, 1, ""},
      {"vertex count larger than the chunk",
       [] {
         return File([](ChunkWriter& w) {
           w.Begin(kChunkNamedObject).Str("m").Begin(kChunkNTriObject);
           w.Begin(kChunkPointArray).U16(500).F32(1).End().End().End();
         });
       },
       -1, kInvalidChunk.c_str()},
      {"material group count larger than the chunk",
       [] {
         return File([](ChunkWriter& w) {
           TriMesh(w, "m", {{0, 1, 2, 0}}, [](ChunkWriter& s) {
             s.Begin(kChunkMshMatGroup).Str("x").U16(60000).U16(0).End();
           });
         });
       },
       -1, kInvalidChunk.c_str()},
      {"zero-length chunk ends the scan of its parent",
       [] {
         return File([](ChunkWriter& w) {
           w.U16(kChunkNamedObject).U32(0);
           TriMesh(w, "m", {{0, 1, 2, 0}});
         });
       },
       0, ""},
      {"huge chunk length is cut at the enclosing chunk",
       [] {
         auto b = File([](ChunkWriter& w) { TriMesh(w, "m", {{0, 1, 2, 0}}); });
         // The NAMED_OBJECT header sits after root(6) + version(10) + MDATA(6) + mesh version(10).
         const uint32_t huge = 0xFFFFFFF0u;
         std::memcpy(&b[32 + 2], &huge, 4);
         return b;
       },
       1, ""},
      {"unterminated object name",
       [] {
         ChunkWriter w;
         w.Begin(kChunkM3DMagic).Begin(kChunkMData).Begin(kChunkNamedObject);
         w.Raw("abcdef", 6).End().End().End();
         return w.bytes;
       },
       0, ""},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.what);
    TFile3DS f(c.make());
    if (c.meshes >= 0) {
      ASSERT_EQ(f.Objects().MeshCount(), c.meshes);
      for (int i = 0; i < c.meshes; ++i) EXPECT_EQ(f.Objects().Mesh(i).faces.size(), 1u);
    } else {
      ASSERT_EQ(f.Objects().MeshCount(), 1);
      EXPECT_EQ(ErrorOf([&] { f.Objects().Mesh(0); }), c.message);
    }
  }
}

// Every prefix of a file with all the chunk kinds: read fully or fail with E3DSError.
TEST(Reader3ds, EveryTruncationIsReadOrRefused) {
  const std::vector<uint8_t> full = File(
      [](ChunkWriter& w) {
        w.Begin(kChunkMatEntry).Begin(kChunkMatName).Str("m").End();
        Colour24(w, kChunkMatDiffuse, 1, 2, 3);
        w.End();
        w.Begin(kChunkFog).F32(1).F32(2).F32(3).F32(4).End().Empty(kChunkUseFog);
        TriMesh(w, "tri", {{0, 1, 2, 1}}, [](ChunkWriter& s) {
          s.Begin(kChunkMshMatGroup).Str("m").U16(1).U16(0).End();
          s.Begin(kChunkSmoothGroup).U32(1).End();
        });
      },
      [](ChunkWriter& w) {
        w.Begin(kChunkKfData);
        w.Begin(kChunkObjectNodeTag).Begin(kChunkNodeHdr).Str("tri").U16(0).U16(0).I16(-1).End();
        w.Begin(kChunkPosTrackTag).U16(0).U32(0).U32(0).U32(1).U32(0).U16(0);
        w.F32(1).F32(2).F32(3).End().End().End();
      });
  for (size_t n = 0; n <= full.size(); ++n) {
    std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    try {
      TFile3DS f(std::move(cut));
      f.DatabaseRelease();
      f.Atmosphere();
      for (int i = 0; i < f.Materials().Count(); ++i) f.Materials().Material(i);
      for (int i = 0; i < f.Objects().MeshCount(); ++i) f.Objects().Mesh(i);
      for (int i = 0; i < f.KeyFramer().MeshNodeCount(); ++i) f.KeyFramer().MeshNode(i);
    } catch (const E3DSError&) {
    }
  }
}

TEST(Reader3ds, DeepNestingIsBounded) {
  ChunkWriter w;
  w.Begin(kChunkM3DMagic);
  for (int i = 0; i < 20000; ++i) w.Begin(kChunkMData);
  for (int i = 0; i < 20000; ++i) w.End();
  w.End();
  TFile3DS f(w.bytes);
  EXPECT_EQ(f.Objects().MeshCount(), 0);
  EXPECT_LT(f.Chunks().size(), 100u);
}

// A file of many empty meshes, lights and keyframer nodes: each index query looks its chunk up
// in lists made once per file, so reading every entry allocates nothing per entry beyond the
// record it returns (empty records with short names allocate nothing).
TEST(Reader3ds, IndexQueriesDoNotRebuildTheirLists) {
  constexpr int kCount = 20000;
  const std::vector<uint8_t> bytes = File(
      [](ChunkWriter& w) {
        for (int i = 0; i < kCount; ++i) {
          w.Begin(kChunkNamedObject).Str("m").Empty(kChunkNTriObject).End();
          w.Begin(kChunkNamedObject).Str("l").Begin(kChunkNDirectLight).F32(0).F32(0).F32(0);
          w.End().End();
          w.Begin(kChunkMatEntry).Empty(kChunkMatTwoSide).End();
        }
      },
      [](ChunkWriter& w) {
        w.Begin(kChunkKfData);
        for (int i = 0; i < kCount; ++i) w.Empty(kChunkObjectNodeTag);
        w.End();
      });
  TFile3DS f(bytes);
  ASSERT_EQ(f.Objects().MeshCount(), kCount);
  ASSERT_EQ(f.Objects().OmniLightCount(), kCount);
  ASSERT_EQ(f.Materials().Count(), kCount);
  ASSERT_EQ(f.KeyFramer().MeshNodeCount(), kCount);
  const int64_t before = platform::HeapAllocations();
  if (before < 0) GTEST_SKIP() << "this build does not count allocations";
  for (int i = 0; i < kCount; ++i) {
    f.Objects().Mesh(i);
    f.Objects().OmniLight(i);
    f.Materials().Material(i);
    f.KeyFramer().MeshNode(i);
  }
  EXPECT_LT(platform::HeapAllocations() - before, kCount / 10);
}

// Cube: 8 corners, 12 triangles (two per side).
std::vector<uint32_t> CubeFaces() {
  return {0, 1, 2, 0, 2, 3, 4, 6, 5, 4, 7, 6, 0, 4, 5, 0, 5, 1,
          1, 5, 6, 1, 6, 2, 2, 6, 7, 2, 7, 3, 3, 7, 4, 3, 4, 0};
}

TEST(Smoothing, SplitCounts) {
  const std::vector<uint32_t> faces = CubeFaces();
  std::vector<uint32_t> sides(12), one(12, 1), multi(12);
  for (int f = 0; f < 12; ++f) {
    sides[f] = 1u << (f / 2);
    multi[f] = (1u << (f / 2)) | 0x80000000u;  // only the lowest bit counts
  }
  EXPECT_EQ(CountSplitVertices(8, faces, sides), 24u);
  EXPECT_EQ(CountSplitVertices(8, faces, multi), 24u);
  EXPECT_EQ(CountSplitVertices(8, faces, one), 8u);
  // No smoothing data: every reuse of a vertex splits it.
  EXPECT_EQ(CountSplitVertices(8, faces, {}), 36u);
  const TSmoothingSplit s = SplitBySmoothingGroups(8, faces, one);
  EXPECT_EQ(s.corners, faces);
}

// A face naming a missing vertex is left out whole: it uses none of its valid corners, so the
// next face reusing them does not split them (the model loader drops such faces the same way).
TEST(Smoothing, FaceWithMissingVertexIsLeftOut) {
  const std::vector<uint32_t> faces = {0, 1, 9, 0, 1, 2};
  const TSmoothingSplit s = SplitBySmoothingGroups(3, faces, {});
  EXPECT_EQ(s.sourceVertex, (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_EQ(s.corners, (std::vector<uint32_t>{0, 0, 0, 0, 1, 2}));
  EXPECT_FALSE(FaceIsValid(3, faces, 0));
  EXPECT_TRUE(FaceIsValid(3, faces, 1));
}

}  // namespace
}  // namespace skerrow
