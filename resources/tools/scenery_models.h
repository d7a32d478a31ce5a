#pragma once
// The four scenery models, in display coordinates around their own origin:
//   floor   7 x 7 stage, top of the slabs at y = 0.2 (the scenery lowers it by 2.8)
//   column  3.56 tall from y = 0, so an arch put 3.56 higher sits on its abacus
//   arc     spans x from -2.88 to 2.88 over two columns 5 apart, from y = 0 up; the logo
//           plate faces +z
//   camera  about 0.4 long, lens toward +x and top toward -z, as the overview mode turns it

#include "writer_3ds.h"

namespace orvane::tools {

SceneSpec FloorScene();
SceneSpec ColumnScene();
SceneSpec ArcScene();
SceneSpec CameraScene();

}  // namespace orvane::tools
