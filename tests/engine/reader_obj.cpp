// OBJ reader: the line loop, token and number rules, face corners, refusals.
#include <gtest/gtest.h>

#include "engine/obj_reader.h"

namespace skerrow {
namespace {

TOBJModel Load(std::string_view text) {
  TOBJModel m;
  m.LoadFromText(text);
  return m;
}

struct LineLossCase {
  const char* text;
  size_t vertices;
  size_t groups;
};

TEST(ReaderObj, FirstDataLineIsLostUnlessAGroupOrOtherLineComesFirst) {
  const LineLossCase cases[] = {
      {"v 1 2 3\nv 4 5 6\n", 1, 1},                // first line skipped by the line loop
      {"# c\n\nv 1 2 3\nv 4 5 6\n", 1, 1},         // comments and blanks do not help
      {"g hull\nv 1 2 3\nv 4 5 6\n", 2, 1},        // "g" names the first group
      {"mtllib a.mtl\nv 1 2 3\nv 4 5 6\n", 2, 1},  // any other keyword line is the one lost
      {"g a\nv 1 2 3\ng b\nv 4 5 6\ng c\n", 2, 3},
      {"g a\nv 1 2 3\nG b\nv 4 5 6\n", 2, 1},  // "G" is not a group line: skipped
      {"g a\nV 1 2 3\n", 1, 1},                // "V" is a vertex line
      {"", 0, 1},
      {"v 1 2 3", 0, 1},
  };
  for (const LineLossCase& c : cases) {
    SCOPED_TRACE(c.text);
    const TOBJModel m = Load(c.text);
    EXPECT_EQ(m.Vertices.size(), c.vertices);
    EXPECT_EQ(m.Groups.size(), c.groups);
  }
  const TOBJModel named = Load("g   deck  \nv 1 2 3\ng b\n");
  EXPECT_EQ(named.Groups[0].name, "deck");
  EXPECT_EQ(named.Groups[1].name, "b");
  EXPECT_EQ(Load("").Groups[0].name, "Unnamed group");
}

TEST(ReaderObj, FaceCorners) {
  const TOBJModel m = Load(
      "g p\nf 1/2/3 4/5/6 7/8/9\nf 1//3 2//4 3//5\nf 1 2 3\nf -1 x/2 1/2/3/4 5\nf 1\n"
      "f 2147483648 2147483647 -2147483648\n");
  ASSERT_EQ(m.Groups[0].faces.size(), 6u);
  const auto& f = m.Groups[0].faces;
  EXPECT_EQ(f[0].vertex, (std::array<int32_t, 3>{0, 3, 6}));
  EXPECT_EQ(f[0].texCoord, (std::array<int32_t, 3>{1, 4, 7}));
  EXPECT_EQ(f[0].normal, (std::array<int32_t, 3>{2, 5, 8}));
  EXPECT_EQ(f[1].texCoord, (std::array<int32_t, 3>{-1, -1, -1}));
  EXPECT_EQ(f[1].normal, (std::array<int32_t, 3>{2, 3, 4}));
  EXPECT_EQ(f[2].texCoord, (std::array<int32_t, 3>{-1, -1, -1}));
  EXPECT_EQ(f[2].normal, (std::array<int32_t, 3>{-1, -1, -1}));
  // Relative index -1 becomes -2; a non-integer part -1; a fourth corner is ignored.
  EXPECT_EQ(f[3].vertex, (std::array<int32_t, 3>{-2, -1, 0}));
  EXPECT_EQ(f[3].texCoord, (std::array<int32_t, 3>{-1, 1, 1}));
  EXPECT_EQ(f[3].normal[2], -1);  // "3/4" after the second slash
  EXPECT_EQ(f[4].vertex, (std::array<int32_t, 3>{0, -1, -1}));
  EXPECT_EQ(f[5].vertex, (std::array<int32_t, 3>{-1, 2147483646, -1}));
}

TEST(ReaderObj, Numbers) {
  const TOBJModel m = Load("g a\nv 1,5 2,5 3\nvt 0.25 -1e2 9\nvn +.5 -7. 1E+1 extra\nv\t1 2 3 4\n");
  ASSERT_EQ(m.Vertices.size(), 1u);
  EXPECT_EQ(m.Vertices[0], (std::array<float, 3>{1.5f, 2.5f, 3.f}));
  EXPECT_EQ(m.TexCoords[0], (std::array<float, 3>{0.25f, -100.f, 0.f}));
  EXPECT_EQ(m.Normals[0], (std::array<float, 3>{0.5f, -7.f, 10.f}));
  struct Bad {
    const char* line;
    const char* message;
  };
  const Bad bad[] = {
      {"g a\nv 1 2\n", "'' is not a valid floating point value"},
      {"g a\nv 1 2 abc\n", "'abc' is not a valid floating point value"},
      {"g a\nv 1.5,2 0 0\n", "'1.5,2' is not a valid floating point value"},
      {"g a\nvt 1e 0\n", "'1e' is not a valid floating point value"},
      {"g a\nv 1e39 0 0\n", "'1e39' is not a valid floating point value"},
      {"g a\nv 1\t2 3 4\n", "'1\t2' is not a valid floating point value"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.line);
    try {
      Load(b.line);
      ADD_FAILURE() << "accepted";
    } catch (const EOBJError& e) {
      EXPECT_STREQ(e.what(), b.message);
    }
  }
}

TEST(ReaderObj, LineBreaksAndBlanks) {
  // CR, LF and CR LF all end lines; a line starting with a blank has an empty first token.
  const TOBJModel m = Load("g a\r\nv 1 2 3\rv 4   5 6\n v 7 8 9\nf 1 2 3");
  EXPECT_EQ(m.Vertices.size(), 2u);
  EXPECT_EQ(m.Vertices[1][1], 5.f);
  EXPECT_EQ(m.Groups[0].faces.size(), 1u);
  std::string_view line = "  v  1";
  EXPECT_EQ(SplitObjToken(line), "");
  EXPECT_EQ(SplitObjToken(line), "v");
  EXPECT_EQ(line, "1");
}

TEST(ReaderObj, MissingFileIsRefused) {
  TOBJModel m;
  EXPECT_THROW(m.LoadFromFile("/nonexistent/piece.obj"), EOBJError);
}

}  // namespace
}  // namespace skerrow
