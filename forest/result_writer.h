// Where the stands' records go as they come, and the end of a run: the forest's years and the
// manifest written, and the output put in place.
#pragma once

#include "forest/manifest.h"
#include "forest/result_record.h"

namespace keldovar::forest {

class ResultWriter {
 public:
  virtual ~ResultWriter() = default;
  // Stands come in the inventory's order (a resumed run: those not yet written, in order).
  virtual void stand(const StandRecord& record) = 0;
  // Adds the counts of stands and failed stands to the manifest, writes the forest's years and
  // the manifest, and puts the output in place. Throws ForestError when it cannot.
  virtual void finish(Manifest& manifest) = 0;
};

}  // namespace keldovar::forest
