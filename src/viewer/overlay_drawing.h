#pragma once
// Draws the overlay lines over the finished picture in panel pixels and fades them.

#include <cstdint>
#include <functional>

#include "viewer/bitmap_font.h"
#include "viewer/overlays.h"

namespace orvane {

// Nothing at all when the list is empty. Lines `shown` refuses still fade, unseen.
void DrawOverlays(OverlayList& overlays, const BitmapFont& font, int32_t panel_width, int32_t panel_height,
                  const std::function<bool(const TTextAtt&)>& shown = nullptr);

}  // namespace orvane
