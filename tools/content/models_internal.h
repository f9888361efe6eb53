// The model generator's parts, each writing its share of the models tree.
#pragma once

#include "content.h"
#include "mesh.h"

namespace skerrow::content {

void GenerateShips(Output& out);    // ship<N>.3ds and part files with ship<N>/ textures
void GenerateWheels(Output& out);   // koleso.3ds, kolesa.3ds
void GenerateWeapons(Output& out);  // propellers, mine, rocket, torpedo, anti-aircraft gun
void GenerateDebrisAndFlags(Output& out);
void GenerateObjects(Output& out);  // object<kind>.3ds and Shadow<kind>.3ds

}  // namespace skerrow::content
