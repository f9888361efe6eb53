// OBJ terrain pieces: textures on two units and the compiled display list.
#include "engine/obj_piece.h"

#include <GL/gl.h>

#include <string>

#include "engine/ktzgl.h"
#include "engine/model.h"
#include "engine/obj_reader.h"
#include "engine/textures.h"
#include "platform/paths.h"

namespace skerrow {

namespace {

template <typename T>
bool ValidIndex(int32_t index, const std::vector<T>& array) {
  return index >= 0 && static_cast<size_t>(index) < array.size();
}

void EmitCorner(const TOBJModel& obj, const TOBJTriangle& t, int corner, uint8_t sendNormals) {
  const int32_t tc = t.texCoord[corner];
  if (ValidIndex(tc, obj.TexCoords)) {
    const float uv[2] = {obj.TexCoords[tc][0], obj.TexCoords[tc][1]};
    if (Extensions().MultiTexCoord2fvARB) {
      MultiTexCoord2fvARB(kGlTexture0Arb, uv);
      MultiTexCoord2fvARB(kGlTexture1Arb, uv);
    } else {
      glTexCoord2fv(uv);  // a driver without multitexture still gets the base layer
    }
  }
  const int32_t n = t.normal[corner];
  if (sendNormals == 1 && ValidIndex(n, obj.Normals)) glNormal3fv(obj.Normals[n].data());
  const int32_t v = t.vertex[corner];
  if (ValidIndex(v, obj.Vertices)) glVertex3fv(obj.Vertices[v].data());
}

// Directory part of a game path, separator included ("" when there is none).
std::string DirectoryOf(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace

bool ObjTriangleBelowSea(const TOBJModel& obj, const TOBJTriangle& triangle) {
  for (int32_t v : triangle.vertex) {
    if (ValidIndex(v, obj.Vertices) && obj.Vertices[v][1] < 0) return true;
  }
  return false;
}

uint32_t CompileObjPiece(const TOBJModel& obj, uint8_t sendNormals, uint8_t skipUnderwater) {
  const GLuint list = glGenLists(1);
  if (list == 0) return 0;
  glNewList(list, GL_COMPILE);
  for (const TOBJGroup& group : obj.Groups) {
    if (skipUnderwater == 1) {
      for (const TOBJTriangle& t : group.faces) {
        glBegin(GL_TRIANGLES);
        if (!ObjTriangleBelowSea(obj, t)) {
          for (int c = 0; c < 3; ++c) EmitCorner(obj, t, c, sendNormals);
        }
        glEnd();
      }
    } else {
      glBegin(GL_TRIANGLES);
      for (const TOBJTriangle& t : group.faces) {
        for (int c = 0; c < 3; ++c) EmitCorner(obj, t, c, sendNormals);
      }
      glEnd();
    }
  }
  glEndList();
  return list;
}

void TKTZGL_Model::LoadObjPiece(const std::string& objFile, const std::string& textureFile,
                                const std::string& detailFile, const float detailScale[3],
                                uint8_t sendNormals, uint8_t skipUnderwater,
                                TLoaderMessages& messages) {
  if (!PathExists(objFile)) return;
  const bool quality = TextureQuality() == 1;
  const bool hasTexture = PathExists(textureFile);
  const bool hasDetail = hasTexture && PathExists(detailFile);
  if (hasTexture) {
    ActiveTextureARB(kGlTexture0Arb);
    const std::string smooth = DirectoryOf(textureFile) + "smooth.qvt";
    if (PathExists(smooth)) {
      LoadTextureWithAlpha(textureFile, smooth, quality, BaseTexture, messages);
    } else {
      LoadTexture(textureFile, BaseTexture, quality, messages);
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, BaseTexture);
    if (hasDetail) {
      ActiveTextureARB(kGlTexture1Arb);
      LoadTexture(detailFile, DetailTexture, quality, messages);
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
      // Stays in force: the detail layer repeats through unit 1's texture matrix.
      glMatrixMode(GL_TEXTURE);
      glLoadIdentity();
      glScalef(detailScale[0], detailScale[1], detailScale[2]);
      glMatrixMode(GL_MODELVIEW);
    }
  }
  if (hasDetail) {
    ActiveTextureARB(kGlTexture1Arb);
    glEnable(GL_TEXTURE_2D);
  }
  if (hasTexture) {
    ActiveTextureARB(kGlTexture0Arb);
    glEnable(GL_TEXTURE_2D);
  }

  TOBJModel obj;
  obj.SkipUnderwater = skipUnderwater;
  try {
    obj.LoadFromFile(ResolvePath(objFile));
  } catch (const EOBJError& e) {
    // A bad number ends the load before anything is compiled.
    messages.push_back({"Skerrow", e.what()});
    return;
  }
  const uint32_t list = CompileObjPiece(obj, sendNormals, skipUnderwater);
  if (list != 0) ModelList = list;
}

}  // namespace skerrow
