// OBJ terrain pieces: compiling a read TOBJModel into a display list with two texture units.
#pragma once

#include <cstdint>

namespace skerrow {

class TOBJModel;
struct TOBJTriangle;

// True when a corner of the triangle has a vertex below the sea plane (y < 0). Corners whose
// vertex index is out of range are not sent and do not count.
bool ObjTriangleBelowSea(const TOBJModel& obj, const TOBJTriangle& triangle);

// Compiles the piece into a new display list and returns it (0 when no list could be made).
// Every corner sends its texture coordinate to units 0 and 1, its normal when sendNormals is
// 1, and its vertex; out-of-range indices are simply not sent. With skipUnderwater 1 every
// triangle is its own glBegin/glEnd and those reaching below the sea are left out.
uint32_t CompileObjPiece(const TOBJModel& obj, uint8_t sendNormals, uint8_t skipUnderwater);

}  // namespace skerrow
