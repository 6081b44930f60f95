#include "TMapTools.h"

// ---- Grid body and CSV export ----

// ---- Clipping ----

// ---- Cell arithmetic ----

// ---- Value rules ----

// ---- Downscale, subdivide and bilinear interpolation ----

// ---- Patch and overlay queries ----

// ---- Stack statistics ----

// ---- Per-cell series and gradients ----

// ---- Value sampling ----
