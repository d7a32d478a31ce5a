#pragma once
// Devices measured alone, in metres and seconds: one device, or every device a show's
// products and cues name.

#include <cstdint>
#include <map>
#include <string>

#include "compiler/device_measure.h"
#include "show/product_figures.h"
#include "show/show_folder.h"

namespace orvane {

ProductFigures FiguresInMetres(const DeviceMeasure& measure, const ShowSite& site);

struct ShowMeasures {
  std::map<int32_t, ProductFigures> Figures;
  std::map<int32_t, std::string> Failed;  // code -> why it could not be measured
};

// Measures through `cache`, so that only devices whose chain changed are compiled again.
ShowMeasures MeasureShowDevices(const ShowDocument& show, const DeviceRecords& devices, float scale,
                                DeviceMeasureCache& cache, uint32_t seed = kMeasureSeed);

}  // namespace orvane
