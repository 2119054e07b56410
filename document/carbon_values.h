// The carbon price and crediting baseline a document values its carbon at. They come from the
// user's settings (or a script's `carbon` command) and are never written to the stand file.
#pragma once

namespace keldovar {

struct CarbonValues {
  double price = 0;     // dollars per tonne of CO2e; 0 leaves the economics untouched
  double baseline = 0;  // tonnes of CO2e per acre on the stump that earn nothing
  bool operator==(const CarbonValues&) const = default;
};

}  // namespace keldovar
