#pragma once
// Drawing a model with immediate-mode OpenGL 1.1, with each object's material.

#include "assets/model_3ds.h"

namespace orvane {

void Apply(const TMaterialProperties& property);
void Apply(const TMaterial& material);
void Draw(const T3DObject& object);
// Every visible object, in order.
void Draw(const T3DModel& model);

}  // namespace orvane
