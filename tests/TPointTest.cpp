#include <gtest/gtest.h>

#include <memory>

#include "TPoint.h"

TEST(TPoint, DistanceIsEuclidean) {
  TPoint Origin(0, 0);
  TPoint Other(3, 4);
  EXPECT_DOUBLE_EQ(Origin.Distance(&Other), 5.0);
  EXPECT_DOUBLE_EQ(Other.Distance(&Origin), 5.0);
  EXPECT_EQ(Other.Distance(&Other), 0.0);
}

TEST(TPoint, CloneOfMapPointIsIndependentMapPoint) {
  TMapPoint Original(1, 2);
  EXPECT_EQ(Original.MbrDblValue, 0.0);
  Original.MbrDblValue = 7;
  const TPoint& AsPoint = Original;
  std::unique_ptr<TPoint> PtrCopy(AsPoint.Clone());
  auto* PtrMapCopy = dynamic_cast<TMapPoint*>(PtrCopy.get());
  ASSERT_NE(PtrMapCopy, nullptr);
  EXPECT_EQ(PtrMapCopy->MbrDblX, 1);
  EXPECT_EQ(PtrMapCopy->MbrDblY, 2);
  EXPECT_EQ(PtrMapCopy->MbrDblValue, 7);
  PtrMapCopy->MbrDblValue = 9;
  PtrMapCopy->MbrDblX = 5;
  EXPECT_EQ(Original.MbrDblValue, 7);
  EXPECT_EQ(Original.MbrDblX, 1);
}

TEST(TPoint, CloneOfPlainPointIsPlainPoint) {
  TPoint Original(-1.5, 2.25);
  std::unique_ptr<TPoint> PtrCopy(Original.Clone());
  EXPECT_EQ(dynamic_cast<TMapPoint*>(PtrCopy.get()), nullptr);
  EXPECT_EQ(PtrCopy->MbrDblX, -1.5);
  EXPECT_EQ(PtrCopy->MbrDblY, 2.25);
}
