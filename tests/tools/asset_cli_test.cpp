// skerrow-asset run as a program: info on a 3DS, an OBJ and a BMP written here, decode to TGA
// at full and half size, refused files (exit 1, the reader's message on stderr), usage (exit 2).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/file3ds.h"
#include "support/chunk_writer.h"

namespace skerrow {
namespace {

namespace fs = std::filesystem;
using testsupport::ChunkWriter;

struct RunResult {
  int exitCode = -1;
  std::string out, err;
};

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

class AssetCliTest : public ::testing::Test {
 protected:
  AssetCliTest()
      : dir_(fs::temp_directory_path() / ("skerrow_asset_cli_" + std::to_string(::getpid()))) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~AssetCliTest() override { fs::remove_all(dir_); }

  // Runs the tool with `args` (already quoted where needed), capturing stdout and stderr.
  RunResult Run(const std::string& args) {
    const fs::path out = dir_ / "stdout.txt", err = dir_ / "stderr.txt";
    const std::string cmd = std::string(SKERROW_BINARY_DIR) + "/skerrow-asset " + args + " >" +
                            out.string() + " 2>" + err.string();
    const int rc = std::system(cmd.c_str());
    RunResult r;
    r.exitCode = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = ReadText(out);
    r.err = ReadText(err);
    return r;
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

// One mesh "hull": 4 vertices, faces {0,1,2} and {1,3,2}, no smoothing data: every reuse of
// a vertex splits it (3 + 1 new + 2 split = 6).
std::vector<uint8_t> Hull3ds(bool truncatedPoints) {
  ChunkWriter w;
  w.Begin(kChunkM3DMagic);
  w.Begin(kChunkM3DVersion).U32(3).End();
  w.Begin(kChunkMData);
  w.Begin(kChunkMeshVersion).U32(3).End();
  w.Begin(kChunkMatEntry).Begin(kChunkMatName).Str("wood").End().End();
  w.Begin(kChunkNamedObject).Str("hull").Begin(kChunkNTriObject);
  if (truncatedPoints) {
    w.Begin(kChunkPointArray).U16(500).F32(1).End();  // claims 500 points, holds one float
  } else {
    w.Begin(kChunkPointArray).U16(4);
    for (float v : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 1.f, 1.f, 0.f}) w.F32(v);
    w.End();
  }
  w.Begin(kChunkFaceArray).U16(2);
  for (uint16_t i : {0, 1, 2, 0, 1, 3, 2, 0}) w.U16(i);
  w.Begin(kChunkMshMatGroup).Str("wood").U16(2).U16(0).U16(1).End();
  w.End();
  w.End().End();
  w.End();
  w.End();
  return w.bytes;
}

// Uncompressed 24-bit BMP of w x h, rows bottom-up and padded to 4 bytes.
std::vector<uint8_t> Bmp24(int32_t w, int32_t h) {
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> b(54 + stride * static_cast<size_t>(h), 0x40);
  auto put16 = [&b](size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); };
  auto put32 = [&b](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
  std::memset(b.data(), 0, 54);
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  put16(26, 1);
  put16(28, 24);
  return b;
}

// Width, height and bits per pixel from a TGA header (offsets 12, 14, 16).
struct TgaHeader {
  int width = 0, height = 0, bits = 0;
  uintmax_t size = 0;
};
TgaHeader ReadTgaHeader(const fs::path& p) {
  TgaHeader t;
  const std::string bytes = ReadText(p);
  if (bytes.size() < 18) return t;
  auto u8 = [&bytes](size_t i) { return static_cast<int>(static_cast<uint8_t>(bytes[i])); };
  t.width = u8(12) | u8(13) << 8;
  t.height = u8(14) | u8(15) << 8;
  t.bits = u8(16);
  t.size = bytes.size();
  return t;
}

TEST_F(AssetCliTest, InfoCountsWhatTheReadersSee) {
  WriteBytes(dir_ / "hull.3ds", Hull3ds(false));
  const RunResult r3ds = Run("info " + Path("hull.3ds"));
  ASSERT_EQ(r3ds.exitCode, 0) << r3ds.err;
  EXPECT_NE(r3ds.out.find("materials: 1"), std::string::npos) << r3ds.out;
  EXPECT_NE(r3ds.out.find("material 0 \"wood\""), std::string::npos) << r3ds.out;
  EXPECT_NE(r3ds.out.find("meshes: 1"), std::string::npos) << r3ds.out;
  EXPECT_NE(r3ds.out.find("mesh 0 \"hull\" hidden 0 vertices 4 faces 2 split-vertices 6"),
            std::string::npos)
      << r3ds.out;
  EXPECT_NE(r3ds.out.find("group \"wood\" faces 2"), std::string::npos) << r3ds.out;

  std::ofstream(dir_ / "piece.obj") << "g top\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 1 0\n"
                                       "f 1/1/1 2/1/1 3/1/1\ng side\nf 3 2 1\nf 1 2 3\n";
  const RunResult obj = Run("info " + Path("piece.obj"));
  ASSERT_EQ(obj.exitCode, 0) << obj.err;
  EXPECT_NE(obj.out.find("obj vertices 3 normals 1 texcoords 1 groups 2"), std::string::npos)
      << obj.out;
  EXPECT_NE(obj.out.find("group \"top\" triangles 1"), std::string::npos) << obj.out;
  EXPECT_NE(obj.out.find("group \"side\" triangles 2"), std::string::npos) << obj.out;

  WriteBytes(dir_ / "sky.bmp", Bmp24(6, 4));
  const RunResult bmp = Run("info " + Path("sky.bmp"));
  ASSERT_EQ(bmp.exitCode, 0) << bmp.err;
  EXPECT_NE(bmp.out.find("picture width 6 height 4 channels 3"), std::string::npos) << bmp.out;
}

TEST_F(AssetCliTest, DecodeWritesTgaAtFullAndHalfSize) {
  WriteBytes(dir_ / "sky.bmp", Bmp24(8, 4));
  const RunResult full = Run("decode " + Path("sky.bmp") + " " + Path("full.tga"));
  ASSERT_EQ(full.exitCode, 0) << full.err;
  const TgaHeader f = ReadTgaHeader(dir_ / "full.tga");
  EXPECT_EQ(f.width, 8);
  EXPECT_EQ(f.height, 4);
  EXPECT_EQ(f.bits, 24);
  EXPECT_EQ(f.size, 18u + 8u * 4u * 3u);

  const RunResult half = Run("decode " + Path("sky.bmp") + " " + Path("half.tga") + " --half");
  ASSERT_EQ(half.exitCode, 0) << half.err;
  const TgaHeader h = ReadTgaHeader(dir_ / "half.tga");
  EXPECT_EQ(h.width, 4);
  EXPECT_EQ(h.height, 2);
  EXPECT_EQ(h.size, 18u + 4u * 2u * 3u);

  // With an alpha companion the result has four channels.
  WriteBytes(dir_ / "alpha.bmp", Bmp24(8, 4));
  const RunResult alpha =
      Run("decode " + Path("sky.bmp") + " " + Path("alpha.bmp") + " " + Path("rgba.tga"));
  ASSERT_EQ(alpha.exitCode, 0) << alpha.err;
  const TgaHeader a = ReadTgaHeader(dir_ / "rgba.tga");
  EXPECT_EQ(a.width, 8);
  EXPECT_EQ(a.height, 4);
  EXPECT_EQ(a.bits, 32);
}

TEST_F(AssetCliTest, RefusedFilesExitOneWithTheReadersMessage) {
  WriteBytes(dir_ / "broken.3ds", Hull3ds(true));
  const RunResult r3ds = Run("info " + Path("broken.3ds"));
  EXPECT_EQ(r3ds.exitCode, 1);
  // The reader's '\r' line break is printed as a newline.
  EXPECT_NE(r3ds.err.find("An invalid Chunk structure was encountered while reading\nthe "
                          "database."),
            std::string::npos)
      << r3ds.err;

  std::ofstream(dir_ / "bad.obj") << "g a\nv 1 2x 3\n";
  const RunResult obj = Run("info " + Path("bad.obj"));
  EXPECT_EQ(obj.exitCode, 1);
  EXPECT_NE(obj.err.find("'2x' is not a valid floating point value"), std::string::npos) << obj.err;

  std::vector<uint8_t> shortBmp = Bmp24(8, 4);
  shortBmp.resize(60);  // header says 8 x 4, the pixels are missing
  WriteBytes(dir_ / "short.bmp", shortBmp);
  const RunResult bmp = Run("decode " + Path("short.bmp") + " " + Path("out.tga"));
  EXPECT_EQ(bmp.exitCode, 1);
  EXPECT_FALSE(bmp.err.empty());
  EXPECT_FALSE(fs::exists(dir_ / "out.tga"));

  const RunResult missing = Run("info " + Path("nothing.3ds"));
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("Cannot open file"), std::string::npos) << missing.err;
}

TEST_F(AssetCliTest, UsageErrorsExitTwo) {
  for (const std::string args :
       {"", "info", "info a.3ds b.3ds", "info notes.txt", "decode", "decode one.bmp",
        "decode a.bmp b.bmp c.bmp d.tga", "frobnicate x.3ds"}) {
    SCOPED_TRACE(args);
    const RunResult r = Run(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.empty());
  }
}

}  // namespace
}  // namespace skerrow
