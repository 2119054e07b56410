// The carbon a thinning or the harvest takes from the stand, split into pulpwood and sawtimber,
// and the share of it still kept in wood products 100 years later.
#pragma once

#include <array>
#include <optional>

#include "carbon/biomass.h"

namespace keldovar::carbon {

// The fraction of the carbon of harvested wood still in products in use and in landfills 100
// years after the harvest, for Southeast softwoods: Smith, Heath, Skog and Birdsey (2006),
// Gen. Tech. Rep. NE-343, the disposition of harvested carbon by region. PROVISIONAL: these
// values could not be checked against the report's table; the manual says so.
enum class Product { Pulpwood, Sawtimber };
struct ProductStorage {
  Product product;
  double inUse;
  double landfill;
  double stored() const { return inUse + landfill; }
};
inline constexpr std::array<ProductStorage, 2> kSoutheastSoftwood100Years{{
    {Product::Pulpwood, 0.01, 0.09},
    {Product::Sawtimber, 0.23, 0.16},
}};
const ProductStorage& storageOf(Product product);

// What one removal took, kg of carbon per acre. The stems (wood and bark) of the classes that
// carry merchantable tons go to products, shared between sawtimber and pulpwood as the class's
// sawtimber and integrated-utilization pulp tons share its tons; everything else of the removed
// trees (branches, foliage, the stems of classes below the merchantable limits, the roots) is
// left on the site.
struct Removal {
  double age = 0;
  double treeCarbon = 0;  // aboveground and belowground carbon of the removed trees
  double pulpwoodCarbon = 0;
  double sawtimberCarbon = 0;

  double productCarbon() const { return pulpwoodCarbon + sawtimberCarbon; }
  double inUse100() const;
  double landfill100() const;
  double stored100() const { return inUse100() + landfill100(); }
};

// The removal a thinning table records: every class's trees and tons in `before` (the table of
// the step before it) less those left in `after`. Nothing when `after` holds no thinning report.
std::optional<Removal> thinningRemoval(const ReportTable& before, const ReportTable& after);
// The harvest takes the whole stand of its table. Nothing when the table is no harvest.
std::optional<Removal> harvestRemoval(const ReportTable& harvest);
// The removal table `index` of the store records: its thinning, against the table before it, or
// its harvest.
std::optional<Removal> tableRemoval(const TableStore& store, int index);

// True when the table's history ends with the harvest record.
bool isHarvestTable(const ReportTable& table);

}  // namespace keldovar::carbon
