#include "compiler/compile_context.h"

namespace orvane {

bool CompileContext::Admit(uint64_t more) {
  if (HeldParticles() + more <= Limits.MaxParticles) return true;
  Cut = true;
  return false;
}

void SpawnSet(CompileContext& context, const SpawnRequest& request) {
  SnapshotDevice* device = context.Devices.Find(request.Code);
  if (device == nullptr) return;
  if (!context.Admit(uint64_t{device->Part->StarQuantity} + 1)) return;
  context.Sets.Append(std::make_unique<CSet>(*device, request.PosX, request.PosY, request.PosZ, request.VelX,
                                             request.VelY, request.VelZ, request.Resistance, request.Gravity,
                                             &context.Emitters.For(request.Resistance)));
}

bool RemoveSet(CompileContext& context, const CSet* set) { return context.Sets.Remove(set); }

}  // namespace orvane
