#ifndef GRIDCLIP_TESTS_STACKFIXTURES_H
#define GRIDCLIP_TESTS_STACKFIXTURES_H

#include <memory>
#include <vector>

#include "MapFixtures.h"
#include "TMap.h"

namespace gridclip_test {

/// A series of maps on one grid, owned here and lent to the operations as `TMap*`.
struct TStack {
  std::vector<std::unique_ptr<TMap>> VecOwned;

  std::vector<TMap*> Maps() const {
    std::vector<TMap*> VecMaps;
    for (const auto& PtrMap : VecOwned) VecMaps.push_back(PtrMap.get());
    return VecMaps;
  }
  TMap& operator[](std::size_t SizeI) const { return *VecOwned[SizeI]; }
};

/// One map per entry of `VecGrids`, all with lower-left corner (0, 0), cell size 1 and the
/// no-data value `DblNoData`.
inline TStack MakeStack(const std::vector<TRows>& VecGrids, double DblNoData = -9999.0) {
  TStack Stack;
  for (const auto& Rows : VecGrids) Stack.VecOwned.push_back(MakeGrid(0, 0, 1, Rows, DblNoData));
  return Stack;
}

/// A stack of `VecCells.size()` maps of `LngCols` x `LngRows` cells, map k holding
/// `VecCells[k]` in every cell.
inline TStack MakeUniformStack(const std::vector<double>& VecCells, long LngCols, long LngRows) {
  std::vector<TRows> VecGrids;
  for (double DblValue : VecCells) {
    VecGrids.emplace_back(static_cast<std::size_t>(LngRows),
                          std::vector<double>(static_cast<std::size_t>(LngCols), DblValue));
  }
  return MakeStack(VecGrids);
}

/// Takes over the maps an operation returned.
inline std::vector<std::unique_ptr<TMap>> Own(const std::vector<TMap*>& VecMaps) {
  std::vector<std::unique_ptr<TMap>> VecOwned;
  for (TMap* PtrMap : VecMaps) VecOwned.emplace_back(PtrMap);
  return VecOwned;
}

}  // namespace gridclip_test

#endif
