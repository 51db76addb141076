// Alignment of children and mirror placement.
#include <gtest/gtest.h>

#include "test_classes.h"

namespace zavrik::test {
namespace {

struct Band {
  Band() {
    band = &TqbxComponent::CreateIn<TtstBand>(page);
    band->SetBounds(0, 0, 500, 100);
  }
  TtstMemoView& Add(TqbxAlign align, double left, double top, double width, double height) {
    auto& memo = TqbxComponent::CreateIn<TtstMemoView>(*band);
    memo.SetBounds(left, top, width, height);
    memo.SetAlign(align);
    return memo;
  }
  TtstReport page;
  TtstBand* band;
};

TEST(AlignChildren, LeftAndRightStackAgainstNeighbours) {
  Band b;
  auto& second = b.Add(baLeft, 300, 0, 50, 20);
  auto& first = b.Add(baLeft, 100, 10, 40, 20);
  auto& below = b.Add(baLeft, 200, 50, 30, 20);  // no vertical overlap with the others
  b.band->AlignChildren(false, 0);
  EXPECT_DOUBLE_EQ(first.Left(), 0);
  EXPECT_DOUBLE_EQ(second.Left(), 40);
  EXPECT_DOUBLE_EQ(below.Left(), 0);

  Band r;
  auto& right = r.Add(baRight, 150, 0, 60, 20);
  auto& right2 = r.Add(baRight, 120, 5, 10, 10);
  auto& free = r.Add(baNone, 10, 0, 10, 10);  // unaligned children are neighbours too
  auto& after = r.Add(baLeft, 60, 0, 10, 10);
  r.band->AlignChildren(false, 0);
  EXPECT_DOUBLE_EQ(right.Left(), 440);
  EXPECT_DOUBLE_EQ(right2.Left(), 430);
  EXPECT_DOUBLE_EQ(free.Left(), 10);
  EXPECT_DOUBLE_EQ(after.Left(), 20);
}

TEST(AlignChildren, OfChildrenAtTheSameLeftTheLaterStacksFirst) {
  Band b;
  auto& first = b.Add(baLeft, 100, 0, 10, 20);
  auto& second = b.Add(baLeft, 100, 5, 20, 20);
  auto& third = b.Add(baLeft, 100, 10, 30, 20);
  b.band->AlignChildren(false, 0);
  EXPECT_DOUBLE_EQ(third.Left(), 0);
  EXPECT_DOUBLE_EQ(second.Left(), 30);
  EXPECT_DOUBLE_EQ(first.Left(), 50);
}

TEST(AlignChildren, WidthCenterBottomClientAndHidden) {
  Band b;
  auto& left = b.Add(baLeft, 50, 0, 100, 20);
  auto& fill = b.Add(baWidth, 200, 0, 10, 20);
  auto& right = b.Add(baRight, 300, 0, 50, 20);
  auto& center = b.Add(baCenter, 0, 30, 100, 10);
  auto& bottom = b.Add(baBottom, 0, 50, 10, 30);
  auto& hidden = b.Add(baHidden, 7, 7, 7, 7);
  auto& invisible = b.Add(baLeft, 70, 80, 10, 10);
  invisible.SetVisible(false);
  b.band->AlignChildren(true, 0);
  EXPECT_DOUBLE_EQ(left.Left(), 0);
  EXPECT_DOUBLE_EQ(right.Left(), 450);
  EXPECT_DOUBLE_EQ(fill.Left(), 100);
  EXPECT_DOUBLE_EQ(fill.Width(), 350);
  EXPECT_DOUBLE_EQ(center.Left(), 200);
  EXPECT_DOUBLE_EQ(bottom.Top(), 70);
  EXPECT_DOUBLE_EQ(hidden.Left(), 7);
  EXPECT_DOUBLE_EQ(invisible.Left(), 70);
}

TEST(AlignChildren, ClientFillsAndItsChildrenFollow) {
  Band b;
  auto& client = b.Add(baClient, 1, 1, 1, 1);
  auto& inner = TqbxComponent::CreateIn<TtstMemoView>(client);
  inner.SetBounds(5, 5, 10, 10);
  inner.SetAlign(baRight);
  b.band->AlignChildren(false, 0);
  EXPECT_DOUBLE_EQ(client.Width(), 500);
  EXPECT_DOUBLE_EQ(client.Height(), 100);
  EXPECT_DOUBLE_EQ(inner.Left(), 490);
}

TEST(AlignChildren, MirrorPlacement) {
  Band b;
  auto& memo = b.Add(baNone, 10, 20, 100, 30);
  b.band->AlignChildren(false, mcmRTLObjects | mcmBTTObjects);
  EXPECT_DOUBLE_EQ(memo.Left(), 390);
  EXPECT_DOUBLE_EQ(memo.Top(), 50);
  EXPECT_EQ(memo.MirroredWith, mcmRTLObjects | mcmBTTObjects);
  b.band->AlignChildren(false, mcmRTLObjects | mcmOnlyAllowed);
  EXPECT_DOUBLE_EQ(memo.Left(), 390);  // not allowed
  memo.SetAllowMirrorMode(true);
  b.band->AlignChildren(false, mcmRTLObjects | mcmOnlyAllowed);
  EXPECT_DOUBLE_EQ(memo.Left(), 10);
  b.band->AlignChildren(false, 0);
  EXPECT_DOUBLE_EQ(memo.Left(), 10);
  // Bands mirror with the band modes inside their page.
  b.page.SetBounds(0, 0, 800, 1000);
  b.band->SetTop(100);
  b.band->MirrorPlacement(mcmBTTBands | mcmRTLObjects);
  EXPECT_DOUBLE_EQ(b.band->Top(), 800);
  EXPECT_DOUBLE_EQ(b.band->Left(), 0);  // a band with children is not an object to mirror
}

}  // namespace
}  // namespace zavrik::test
