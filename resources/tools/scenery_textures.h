#pragma once
// The procedural textures of the scenery and the particle sprite.

#include "image_writer.h"

namespace orvane::tools {

Picture LimestoneSlabs();  // limesto3: floor slabs, 756 x 512
Picture Stucco();          // stucco: pale rough plaster, 378 x 256
Picture WarmStucco();      // stucco4: warmer trowelled plaster, 378 x 256
Picture GreyDirtStone();   // grydirt2: weathered grey stone, 250 x 176
Picture Sandstone();       // sand3: banded sandstone, 250 x 176
Picture YellowBricks();    // yellobrk: yellow bricks in running bond, 378 x 256
Picture OrvaneLogo();      // ovlogo: "Orvane" on a dark plate, 756 x 512
Picture ParticleGlow();    // particle: 48 x 48 soft round glow

}  // namespace orvane::tools
