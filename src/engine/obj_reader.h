// Wavefront .obj reader for terrain pieces (`TOBJModel`): vertices, normals, texture
// coordinates and triangle groups, read with the engine's own line and token rules. No GL.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace skerrow {

// A "v", "vt" or "vn" number that is not a valid floating-point value, or a file that cannot
// be read. what() is the message ("'abc' is not a valid floating point value").
class EOBJError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One triangle: per corner a texture-coordinate, a normal and a vertex index, 0-based,
// -1 where the corner gave none or something that is not an integer. Indices are NOT checked
// against the arrays: a user must test 0 <= index < count before use.
struct TOBJTriangle {
  std::array<int32_t, 3> texCoord{-1, -1, -1};
  std::array<int32_t, 3> normal{-1, -1, -1};
  std::array<int32_t, 3> vertex{-1, -1, -1};
};

struct TOBJGroup {
  std::string name;
  std::vector<TOBJTriangle> faces;
};

class TOBJModel {
 public:
  uint8_t SkipUnderwater = 0;  // set by the caller; used by the piece compiler, not the reader
  std::vector<std::array<float, 3>> Vertices;
  std::vector<std::array<float, 3>> Normals;
  std::vector<std::array<float, 3>> TexCoords;  // u, v, 0
  std::vector<TOBJGroup> Groups;                // at least one after a load

  // Appends the file's content. Raises EOBJError for an unreadable file or a bad number; the
  // arrays then hold what was read before the bad line.
  void LoadFromFile(const std::string& fileName);
  void LoadFromText(std::string_view text);
};

// Token rules shared with tests: splits the first blank-separated token off `line` (the
// blank and every blank after it are removed; a tab is an ordinary character).
std::string_view SplitObjToken(std::string_view& line);
// Number rule: decimal comma when the token holds a comma, decimal point otherwise.
// Returns false for anything that is not a complete number.
bool ParseObjFloat(std::string_view token, float& value);
// Face-corner part: integer minus 1, or -1 when empty or not an int32.
int32_t ParseObjIndex(std::string_view part);

}  // namespace skerrow
