#ifndef GRIDCLIP_TMAPTOOLS_H
#define GRIDCLIP_TMAPTOOLS_H

#include <map>
#include <ostream>
#include <vector>

#include "TMap.h"
#include "TPoint.h"

/// Operations on one map, on pairs of maps and on stacks (ordered series of maps of one
/// grid). Inputs are only read unless a function says otherwise; every map, point or vector
/// of them returned by pointer is new and belongs to the caller.
class TMapTools {
 public:
  TMapTools() = delete;

  // ---- Grid body and CSV export ----

  // ---- Clipping ----

  // ---- Cell arithmetic ----

  // ---- Value rules ----

  // ---- Downscale, subdivide and bilinear interpolation ----

  // ---- Patch and overlay queries ----

  // ---- Stack statistics ----

  // ---- Per-cell series and gradients ----

  // ---- Value sampling ----
};

#endif
