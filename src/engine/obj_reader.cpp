// Wavefront .obj reader for terrain pieces (see obj_reader.h for the token rules).
#include "engine/obj_reader.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/picture.h"

namespace skerrow {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool IsDataToken(std::string_view t) {
  return EqualsNoCase(t, "v") || EqualsNoCase(t, "vt") || EqualsNoCase(t, "vn") ||
         EqualsNoCase(t, "f") || EqualsNoCase(t, "usemtl");
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Text lines as a string list splits them: CR, LF and CR LF each end a line; a final line
// break does not start another line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      lines.push_back(text.substr(start, i - start));
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    ++i;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

float ReadNumber(std::string_view& line) {
  const std::string_view token = SplitObjToken(line);
  float value = 0;
  if (!ParseObjFloat(token, value)) {
    throw EOBJError("'" + std::string(token) + "' is not a valid floating point value");
  }
  return value;
}

}  // namespace

std::string_view SplitObjToken(std::string_view& line) {
  const size_t blank = line.find(' ');
  if (blank == std::string_view::npos) {
    const std::string_view token = line;
    line = {};
    return token;
  }
  const std::string_view token = line.substr(0, blank);
  size_t rest = blank;
  while (rest < line.size() && line[rest] == ' ') ++rest;
  line.remove_prefix(rest);
  return token;
}

bool ParseObjFloat(std::string_view token, float& value) {
  const char separator = token.find(',') != std::string_view::npos ? ',' : '.';
  // Grammar: [sign] digits [sep digits] [e [sign] digits], at least one mantissa digit.
  std::string normal;
  size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) normal += token[i++];
  size_t digits = 0;
  while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i]))) {
    normal += token[i++];
    ++digits;
  }
  if (i < token.size() && token[i] == separator) {
    normal += '.';
    ++i;
    while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i]))) {
      normal += token[i++];
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) normal += token[i++];
    size_t expDigits = 0;
    while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i]))) {
      normal += token[i++];
      ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  if (i != token.size()) return false;
  // strtod over the normalised copy: locale-independent here since only '.' is produced.
  const double d = std::strtod(normal.c_str(), nullptr);
  if (!std::isfinite(d) || std::fabs(d) > 3.4028234663852886e38) return false;
  value = static_cast<float>(d);
  return true;
}

int32_t ParseObjIndex(std::string_view part) {
  size_t i = 0;
  bool negative = false;
  if (i < part.size() && (part[i] == '+' || part[i] == '-')) negative = part[i++] == '-';
  if (i == part.size()) return -1;
  int64_t v = 0;
  for (; i < part.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(part[i]))) return -1;
    v = v * 10 + (part[i] - '0');
    if (v > 2147483648LL) return -1;
  }
  if (negative) v = -v;
  // The stored index is the value minus 1; values that leave int32 are not integers here.
  if (v > 2147483647LL || v - 1 < -2147483648LL) return -1;
  return static_cast<int32_t>(v - 1);
}

void TOBJModel::LoadFromFile(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  // A terrain piece's budget: the game's are some 100 KB; 8 MB is some 300,000 faces (a file of
  // 10 million took 1.2 GB).
  constexpr size_t kMaxObjBytes = size_t{8} << 20;
  if (!ReadFileBytes(fileName, bytes, kMaxObjBytes)) {
    throw EOBJError("Cannot open file \"" + fileName + "\"");
  }
  LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TOBJModel::LoadFromText(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  const size_t n = lines.size();
  Groups.push_back(TOBJGroup{"Unnamed group", {}});
  int32_t groupCounter = 0;
  size_t j = 0;
  std::string held;  // a line with its token put back (step 5) lives here
  std::string_view line = n ? lines[0] : std::string_view{};
  std::string_view t;
  auto nextLine = [&]() {
    if (j + 1 >= n) return false;
    ++j;
    line = lines[j];
    t = SplitObjToken(line);
    return true;
  };
  while (j < n) {
    t = SplitObjToken(line);
    if (t.empty() || t == "#") {
      if (j + 1 >= n) break;
      line = lines[++j];
      continue;
    }
    if (t == "g") {
      if (groupCounter > 0) Groups.push_back(TOBJGroup{});
      ++groupCounter;
      Groups.back().name = std::string(TrimBlanks(line));
    }
    // Whatever the token was, the line is done; the data loop starts on the next one.
    if (!nextLine()) break;
    while (IsDataToken(t) || t == "#" || (t.empty() && j + 1 < n)) {
      TOBJGroup& group = Groups.back();
      if (EqualsNoCase(t, "v") || EqualsNoCase(t, "vn")) {
        std::array<float, 3> p{};
        for (float& c : p) c = ReadNumber(line);
        (EqualsNoCase(t, "v") ? Vertices : Normals).push_back(p);
      } else if (EqualsNoCase(t, "vt")) {
        std::array<float, 3> p{};
        p[0] = ReadNumber(line);
        p[1] = ReadNumber(line);
        TexCoords.push_back(p);
      } else if (EqualsNoCase(t, "f")) {
        TOBJTriangle tri;
        for (int c = 0; c < 3; ++c) {
          std::string_view corner = SplitObjToken(line);
          std::string_view parts[3];
          for (int p = 0; p < 3; ++p) {
            const size_t slash = p < 2 ? corner.find('/') : std::string_view::npos;
            if (slash == std::string_view::npos) {
              parts[p] = corner;
              corner = {};
              for (int q = p + 1; q < 3; ++q) parts[q] = {};
              break;
            }
            parts[p] = corner.substr(0, slash);
            corner.remove_prefix(slash + 1);
          }
          tri.vertex[c] = ParseObjIndex(parts[0]);
          tri.texCoord[c] = ParseObjIndex(parts[1]);
          tri.normal[c] = ParseObjIndex(parts[2]);
        }
        group.faces.push_back(tri);
      }
      if (!nextLine()) break;
    }
    // Put the token back in front of the line; the line loop goes on with it.
    held = std::string(t) + " " + std::string(line);
    line = held;
  }
}

}  // namespace skerrow
