// OBJ terrain pieces under a headless GL context: the below-sea skip, index checks, the two
// texture units and the load failures.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include "engine/model.h"
#include "engine/obj_piece.h"
#include "engine/obj_reader.h"
#include "engine/textures.h"
#include "gl_fixture.h"

namespace skerrow {
namespace {

using test::GlTest;
using test::WriteFile;

// Triangles GL would rasterise from a display list, counted through feedback mode.
int CountTriangles(uint32_t list) {
  std::vector<GLfloat> buffer(4096);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glScalef(0.4f, 0.4f, 0.4f);
  glRotatef(-90, 1, 0, 0);  // the sea plane faces the viewer
  glDisable(GL_CULL_FACE);
  glCallList(list);
  const GLint used = glRenderMode(GL_RENDER);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  int triangles = 0;
  for (GLint i = 0; i < used;) {
    const GLint token = static_cast<GLint>(buffer[i]);
    if (token == GL_POLYGON_TOKEN) {
      const GLint n = static_cast<GLint>(buffer[i + 1]);
      ++triangles;
      i += 2 + n * 3;
    } else {
      ADD_FAILURE() << "unexpected token " << token;
      break;
    }
  }
  return triangles;
}

const char* kPiece =
    "# piece\n"
    "g island\n"
    "v 0 0 0\n"
    "v 1 0 0\n"
    "v 0 0 1\n"
    "v 0 -0.001 0\n"
    "vt 0 0\n"
    "vt 1,5 0\n"
    "f 1/1 2/2 3/1\n"     // touches the sea plane: kept
    "f 4/1 2/1 3/1\n"     // reaches below it: skipped with skipUnderwater
    "f 1/9 2/-3 3/1/7\n"  // bad texture and normal indices: the vertices still go
    "f 1 2 99\n";         // vertex 99 is never sent

class ObjPieceTest : public GlTest {};

TEST_F(ObjPieceTest, BelowSeaTrianglesAreSkippedOnlyWhenAsked) {
  SKIP_WITHOUT_GL();
  TOBJModel obj;
  obj.LoadFromText(kPiece);
  ASSERT_EQ(obj.Groups.size(), 1u);
  ASSERT_EQ(obj.Groups[0].faces.size(), 4u);
  EXPECT_FALSE(ObjTriangleBelowSea(obj, obj.Groups[0].faces[0]));
  EXPECT_TRUE(ObjTriangleBelowSea(obj, obj.Groups[0].faces[1]));
  EXPECT_FALSE(ObjTriangleBelowSea(obj, obj.Groups[0].faces[3]));

  struct Row {
    uint8_t skip;
    uint8_t normals;
    int triangles;
  };
  // Without the skip the corners run on in one glBegin: 3 + 3 + 3 + 2 vertices = 3 triangles.
  // With it each triangle stands alone and the one with a missing vertex draws nothing.
  const Row rows[] = {{1, 0, 2}, {0, 0, 3}, {1, 1, 2}};
  for (const Row& row : rows) {
    const uint32_t list = CompileObjPiece(obj, row.normals, row.skip);
    ASSERT_NE(list, 0u);
    EXPECT_EQ(CountTriangles(list), row.triangles) << int(row.skip);
    glDeleteLists(list, 1);
  }
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ObjPieceTest, LoadObjPieceSetsBothTextureUnits) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  std::filesystem::create_directories(d + "Terrain1");
  WriteFile(d + "piece.obj", kPiece);
  const std::vector<uint8_t> grey(4 * 4 * 3, 128);
  test::WriteBmp24(d + "Terrain1/terrain.qvt", 4, 4, grey);
  test::WriteBmp24(d + "Terrain1/smooth.qvt", 4, 4, grey);
  test::WriteBmp24(d + "Terrain1/detail.qvt", 4, 4, grey);

  TKTZGL_Model model;
  const float scale[3] = {7, 7, 1};
  model.LoadObjPiece(d + "PIECE.obj", d + "terrain1\\terrain.qvt", d + "Terrain1\\detail.qvt",
                     scale, 0, 1, messages_);
  ASSERT_NE(model.ModelList, 0u);
  EXPECT_EQ(CountTriangles(model.ModelList), 2);
  ASSERT_NE(model.BaseTexture, 0u);
  ASSERT_NE(model.DetailTexture, 0u);
  GLint alphaBits = 0;
  glBindTexture(GL_TEXTURE_2D, model.BaseTexture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
  EXPECT_GT(alphaBits, 0);  // smooth.qvt beside the texture is its alpha

  GLint unit = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
  EXPECT_EQ(unit, GL_TEXTURE0);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  ActiveTextureARB(kGlTexture1Arb);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLfloat m[16];
  glGetFloatv(GL_TEXTURE_MATRIX, m);
  EXPECT_FLOAT_EQ(m[0], 7);
  EXPECT_FLOAT_EQ(m[5], 7);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_TEXTURE_2D);
  ActiveTextureARB(kGlTexture0Arb);
  glDisable(GL_TEXTURE_2D);
}

TEST_F(ObjPieceTest, MissingOrBrokenFilesLeaveTheListAlone) {
  SKIP_WITHOUT_GL();
  const std::string d = TempDir();
  WriteFile(d + "bad.obj", "g x\nv 1 2 3\nv 1 abc 3\nf 1 1 1\n");
  TKTZGL_Model model;
  const float scale[3] = {7, 7, 1};
  model.ModelList = 12345;  // stands for a list made earlier
  model.LoadObjPiece(d + "none.obj", d + "t.qvt", d + "d.qvt", scale, 0, 0, messages_);
  EXPECT_EQ(model.ModelList, 12345u);
  EXPECT_TRUE(messages_.empty());
  model.LoadObjPiece(d + "bad.obj", d + "t.qvt", d + "d.qvt", scale, 0, 0, messages_);
  EXPECT_EQ(model.ModelList, 12345u);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].caption, "Skerrow");
  EXPECT_EQ(model.BaseTexture, 0u);  // no texture file: both units skipped
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  model.ModelList = 0;
}

}  // namespace
}  // namespace skerrow
