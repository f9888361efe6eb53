// skerrow-asset: asset inspector for .3ds models, .obj terrain pieces and pictures.
//   skerrow-asset info FILE
//   skerrow-asset decode PICTURE [ALPHA] OUT.tga [--half]
// Exit codes: 0 success, 1 the reader refused the file (its message on stderr), 2 usage.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "engine/file3ds.h"
#include "engine/obj_reader.h"
#include "engine/picture.h"
#include "engine/smoothing.h"
#include "platform/cp1251.h"

using namespace skerrow;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: skerrow-asset info FILE\n"
               "       skerrow-asset decode PICTURE [ALPHA] OUT.tga [--half]\n");
  return 2;
}

std::string Extension(const std::string& name) {
  const size_t dot = name.rfind('.');
  const size_t slash = name.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// Messages hold '\r' line breaks and Windows-1251 names; print them readably.
std::string Printable(const std::string& text) {
  std::string s = Cp1251ToUtf8(text);
  for (char& c : s) {
    if (c == '\r') c = '\n';
  }
  return s;
}

int Refuse(const std::string& message) {
  std::fprintf(stderr, "%s\n", Printable(message).c_str());
  return 1;
}

const char* Release(int32_t r) {
  static const char* const kNames[] = {"release 1", "release 2", "release 3", "unknown"};
  return r >= 0 && r <= 3 ? kNames[r] : "unknown";
}

void PrintColour(const char* label, const TColor3DS& c) {
  std::printf("    %s %.4f %.4f %.4f\n", label, c.r, c.g, c.b);
}

int Info3ds(const std::string& file) {
  try {
    TFile3DS f(file);
    std::printf("3ds root 0x%04X\n", f.RootId());
    std::printf("database release: %s\n", Release(f.DatabaseRelease()));
    std::printf("mesh release: %s\n", Release(f.MeshRelease()));
    const TAtmosphere3DS a = f.Atmosphere();
    std::printf("atmosphere type: %d\n", a.activeType);
    const int32_t materials = f.Materials().Count();
    std::printf("materials: %d\n", materials);
    for (int32_t i = 0; i < materials; ++i) {
      const TMaterial3DS m = f.Materials().Material(i);
      std::printf("  material %d \"%s\"\n", i, Printable(m.name).c_str());
      PrintColour("ambient", m.ambient);
      PrintColour("diffuse", m.diffuse);
      PrintColour("specular", m.specular);
      std::printf("    shininess %.4f transparency %.4f shading %u two-sided %d\n", m.shininess,
                  m.transparency, m.shading, m.twoSided ? 1 : 0);
      std::printf("    texture \"%s\"\n", Printable(m.textureName).c_str());
    }
    const bool meshDatabase = f.RootId() == kChunkM3DMagic || f.RootId() == kChunkCMagic;
    const int32_t meshes = meshDatabase ? f.Objects().MeshCount() : 0;
    std::printf("meshes: %d\n", meshes);
    for (int32_t i = 0; i < meshes; ++i) {
      const TMesh3DS m = f.Objects().Mesh(i);
      std::vector<uint32_t> corners;
      corners.reserve(m.faces.size() * 3);
      for (const TFace3DS& face : m.faces) corners.insert(corners.end(), {face.a, face.b, face.c});
      const uint32_t split =
          CountSplitVertices(static_cast<uint32_t>(m.vertices.size()), corners, m.smoothing);
      std::printf(
          "  mesh %d \"%s\" hidden %d vertices %zu faces %zu split-vertices %u texcoords %d\n", i,
          Printable(m.name).c_str(), m.hidden ? 1 : 0, m.vertices.size(), m.faces.size(), split,
          m.texCoords.empty() ? 0 : 1);
      for (const TMaterialGroup3DS& g : m.materialGroups) {
        std::printf("    group \"%s\" faces %zu\n", Printable(g.materialName).c_str(),
                    g.faces.size());
      }
    }
    if (meshDatabase) {
      for (int spot = 0; spot < 2; ++spot) {
        const int32_t n = spot ? f.Objects().SpotLightCount() : f.Objects().OmniLightCount();
        std::printf("%s lights: %d\n", spot ? "spot" : "omni", n);
        for (int32_t i = 0; i < n; ++i) {
          const TLight3DS l = spot ? f.Objects().SpotLight(i) : f.Objects().OmniLight(i);
          std::printf("  light \"%s\" at %.3f %.3f %.3f colour %.3f %.3f %.3f off %d\n",
                      Printable(l.name).c_str(), l.position.x, l.position.y, l.position.z,
                      l.color.r, l.color.g, l.color.b, l.off ? 1 : 0);
        }
      }
    }
    const int32_t nodes = f.KeyFramer().MeshNodeCount();
    std::printf("mesh nodes: %d\n", nodes);
    for (int32_t i = 0; i < nodes; ++i) {
      const TMeshNode3DS n = f.KeyFramer().MeshNode(i);
      std::printf("  node \"%s\" parent \"%s\" keys pos %zu rot %zu scl %zu\n",
                  Printable(n.name).c_str(), Printable(n.parentName).c_str(),
                  n.position.keys.size(), n.rotation.keys.size(), n.scale.keys.size());
    }
    return 0;
  } catch (const E3DSError& e) {
    return Refuse(e.what());
  }
}

int InfoObj(const std::string& file) {
  TOBJModel model;
  try {
    model.LoadFromFile(file);
  } catch (const EOBJError& e) {
    return Refuse(e.what());
  }
  std::printf("obj vertices %zu normals %zu texcoords %zu groups %zu\n", model.Vertices.size(),
              model.Normals.size(), model.TexCoords.size(), model.Groups.size());
  for (const TOBJGroup& g : model.Groups) {
    std::printf("  group \"%s\" triangles %zu\n", Printable(g.name).c_str(), g.faces.size());
  }
  return 0;
}

// Full-resolution decode as the loader of that extension sees the file.
bool DecodePicture(const std::string& file, TPixels& out, TPictureError& error) {
  const std::string ext = Extension(file);
  if (ext == ".jpg" || ext == ".jpeg") return LoadJpegFile(file, out, &error);
  if (ext == ".tga") return LoadTgaFile(file, out, &error);
  return LoadBitmapFile(file, out, &error);
}

int InfoPicture(const std::string& file) {
  TPixels p;
  TPictureError error;
  if (!DecodePicture(file, p, error)) return Refuse(error.caption + ": " + error.text);
  std::printf("picture width %d height %d channels %d\n", p.width, p.height, p.channels);
  return 0;
}

int Decode(const std::vector<std::string>& args) {
  bool half = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--half") {
      half = true;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() < 2 || files.size() > 3) return Usage();
  const std::string& out = files.back();
  TPixels colour;
  TPictureError error;
  if (!DecodePicture(files[0], colour, error)) return Refuse(error.caption + ": " + error.text);
  TPixels result;
  if (files.size() == 3) {
    TPixels alpha;
    if (!LoadBitmapFile(files[1], alpha, &error)) return Refuse(error.caption + ": " + error.text);
    result = MergeAlpha(colour, alpha, !half);
  } else {
    result = half ? HalvePixels(colour) : std::move(colour);
  }
  if (result.width <= 0 || result.height <= 0) return Refuse("picture too small to halve");
  if (!WriteTga(out, result)) return Refuse("cannot write " + out);
  std::printf("wrote %s: width %d height %d channels %d\n", out.c_str(), result.width,
              result.height, result.channels);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  try {
    if (args[0] == "info" && args.size() == 2) {
      const std::string ext = Extension(args[1]);
      if (ext == ".3ds" || ext == ".prj" || ext == ".mli") return Info3ds(args[1]);
      if (ext == ".obj") return InfoObj(args[1]);
      if (ext == ".qvt" || ext == ".bmp" || ext == ".pct" || ext == ".jpg" || ext == ".jpeg" ||
          ext == ".tga")
        return InfoPicture(args[1]);
      std::fprintf(stderr, "unknown file kind: %s\n", args[1].c_str());
      return 2;
    }
    if (args[0] == "decode") return Decode({args.begin() + 1, args.end()});
  } catch (const std::exception& e) {
    return Refuse(e.what());
  }
  return Usage();
}
