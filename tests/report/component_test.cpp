// The component tree: names and the name index, unique names, lookup, geometry, anchors, fonts,
// and deep trees.
#include <gtest/gtest.h>

#include "core/error.h"
#include "core/float_text.h"
#include "test_classes.h"

namespace zavrik::test {
namespace {

struct Tree {
  Tree() {
    band = &TqbxComponent::CreateIn<TtstBand>(report);
    band->SetName(u"Band1");
    memo1 = &TqbxComponent::CreateIn<TtstMemoView>(*band);
    memo1->SetName(u"Memo1");
  }
  TtstReport report;
  TtstBand* band;
  TtstMemoView* memo1;
};

String MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.Message();
  }
  return u"(no error)";
}

TEST(ComponentTree, NamesAreCheckedAndUniqueIgnoringCase) {
  Tree t;
  auto& memo2 = TqbxComponent::CreateIn<TtstMemoView>(*t.band);
  memo2.SetName(u"Memo2");
  EXPECT_EQ(MessageOf([&] { memo2.SetName(u"memo1"); }), u"prDupl");
  EXPECT_EQ(memo2.Name(), u"Memo2");
  EXPECT_EQ(MessageOf([&] { memo2.SetName(u"2abc"); }), u"'2abc' is not a valid component name");
  EXPECT_EQ(MessageOf([&] { memo2.SetName(u"a b"); }), u"'a b' is not a valid component name");
  t.memo1->SetName(u"MEMO1");
  EXPECT_EQ(t.memo1->Name(), u"MEMO1");
  EXPECT_EQ(t.report.FindObject(u"memo1"), t.memo1);
  // The old name is free again after a rename; the new one is taken.
  memo2.SetName(u"Other");
  EXPECT_EQ(t.report.FindObject(u"Memo2"), nullptr);
  EXPECT_EQ(t.report.FindObject(u"other"), &memo2);
  EXPECT_EQ(t.band->FindObject(u"Band1"), nullptr);  // the node itself is excluded
}

TEST(ComponentTree, OwnerRejectsNamesOfDetachedComponents) {
  Tree t;
  std::unique_ptr<TqbxComponent> detached = t.memo1->Detach();
  EXPECT_EQ(t.report.FindObject(u"Memo1"), nullptr);   // left the index
  EXPECT_EQ(t.report.FindOwnedComponent(u"memo1"), detached.get());  // still owned by the report
  auto& memo = TqbxComponent::CreateIn<TtstMemoView>(*t.band);
  EXPECT_EQ(MessageOf([&] { memo.SetName(u"Memo1"); }), u"A component named Memo1 already exists");
  detached.reset();
  memo.SetName(u"Memo1");
  EXPECT_EQ(t.report.FindObject(u"MEMO1"), &memo);
}

TEST(ComponentTree, UniqueNamesFillTheFirstGap) {
  // BaseName of a class named like the report's memos.
  class TqbxMemoView : public TtstMemoView {
   public:
    static const ClassInfo& StaticClass() {
      static const ClassInfo info(u"TqbxMemoView", &TtstMemoView::StaticClass(), nullptr, {});
      return info;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
  };
  TtstReport report;
  EXPECT_EQ(TqbxMemoView().BaseName(), u"Memo");
  for (const char16_t* name : {u"Memo1", u"Memo5"}) TqbxComponent::CreateIn<TqbxMemoView>(report).SetName(name);
  auto& a = TqbxComponent::CreateIn<TqbxMemoView>(report);
  a.CreateUniqueName();
  EXPECT_EQ(a.Name(), u"Memo2");
  for (const char16_t* name : {u"Page1", u"Band1", u"Memo3"}) TqbxComponent::CreateIn<TqbxMemoView>(report).SetName(name);
  auto& b = TqbxComponent::CreateIn<TqbxMemoView>(report);
  b.CreateUniqueName();  // six names: the probe starts near the count of Memo names
  EXPECT_EQ(b.Name(), u"Memo4");
  // Names of another report count too.
  TtstReport standalone;
  auto& d = TqbxComponent::CreateIn<TqbxMemoView>(standalone);
  d.CreateUniqueName(&report);
  EXPECT_EQ(d.Name(), u"Memo6");
  EXPECT_EQ(report.FindObject(u"Memo6"), nullptr);
  TtstReport empty_of_memos;
  for (const char16_t* name : {u"A1", u"B1", u"C1", u"D1"}) TqbxComponent::CreateIn<TtstBand>(empty_of_memos).SetName(name);
  auto& c = TqbxComponent::CreateIn<TqbxMemoView>(empty_of_memos);
  c.CreateUniqueName();
  EXPECT_EQ(c.Name(), u"Memo1");
}

TEST(ComponentTree, MovingSubtreesKeepsTheIndexCurrent) {
  Tree t;
  TtstReport other;
  auto& band2 = TqbxComponent::CreateIn<TtstBand>(other);
  band2.SetName(u"Band2");
  TqbxComponent::CreateIn<TtstMemoView>(band2).SetName(u"Inner");
  EXPECT_EQ(other.FindObject(u"Inner") != nullptr, true);
  t.report.AddChild(band2.Detach());
  EXPECT_EQ(other.FindObject(u"Inner"), nullptr);
  EXPECT_NE(t.report.FindObject(u"Inner"), nullptr);
  EXPECT_EQ(MessageOf([&] { t.memo1->SetName(u"inner"); }), u"prDupl");
  EXPECT_EQ(MessageOf([&] { t.band->SetParent(t.memo1); }), u"A component cannot be its own descendant");
  t.memo1->SetParent(&band2);
  EXPECT_EQ(band2.Count(), 2);
  EXPECT_EQ(&band2.Child(1), t.memo1);
  delete t.memo1;  // destroying a child detaches it
  EXPECT_EQ(band2.Count(), 1);
  EXPECT_EQ(t.report.FindObject(u"Memo1"), nullptr);
}

TEST(ComponentTree, AllObjectsIsPreOrder) {
  Tree t;
  TqbxComponent::CreateIn<TtstMemoView>(*t.memo1).SetName(u"Deep");
  TqbxComponent::CreateIn<TtstMemoView>(*t.band).SetName(u"Memo2");
  TqbxComponent::CreateIn<TtstBand>(t.report).SetName(u"Band2");
  String names;
  for (TqbxComponent* c : t.report.AllObjects()) names += c->Name() + u" ";
  EXPECT_EQ(names, u"Band1 Memo1 Deep Memo2 Band2 ");
}

TEST(ComponentTree, AbsolutePositionsAndPrintLifecycle) {
  Tree t;
  t.band->SetBounds(10, 100, 500, 50);
  t.memo1->SetBounds(3.5, 4, 20, 10);
  EXPECT_DOUBLE_EQ(t.memo1->AbsLeft(), 13.5);
  EXPECT_DOUBLE_EQ(t.memo1->AbsTop(), 104);
  const TqbxRect real = t.memo1->GetRealBounds();
  EXPECT_DOUBLE_EQ(real.Right, 33.5);
  t.memo1->BeforePrint();
  t.memo1->SetBounds(0, 0, 1, 1);
  t.memo1->AfterPrint();
  EXPECT_DOUBLE_EQ(t.memo1->Width(), 20);
  EXPECT_DOUBLE_EQ(t.memo1->Left(), 3.5);
}

TEST(ComponentTree, AbsolutePositionsFollowMovesAndNewParents) {
  Tree t;
  t.band->SetBounds(10, 100, 500, 50);
  t.memo1->SetBounds(3, 4, 20, 10);
  EXPECT_DOUBLE_EQ(t.memo1->AbsTop(), 104);  // cached from here on
  t.band->SetTop(200);
  EXPECT_DOUBLE_EQ(t.memo1->AbsTop(), 204);
  auto& band2 = TqbxComponent::CreateIn<TtstBand>(t.report);
  band2.SetBounds(50, 300, 500, 50);
  t.memo1->SetParent(&band2);
  EXPECT_DOUBLE_EQ(t.memo1->AbsLeft(), 53);
  EXPECT_DOUBLE_EQ(t.memo1->AbsTop(), 304);
  std::unique_ptr<TqbxComponent> detached = t.memo1->Detach();
  EXPECT_DOUBLE_EQ(detached->AbsTop(), 4);

  // A deep chain costs one walk, then each level adds its own offset.
  TqbxComponent* parent = t.band;
  for (int i = 0; i < 100000; ++i) {
    parent = &TqbxComponent::CreateIn<TtstMemoView>(*parent);
    parent->SetLeft(1);
  }
  for (TqbxComponent* c = parent; c != t.band; c = c->Parent()) EXPECT_DOUBLE_EQ(c->AbsLeft() - c->Parent()->AbsLeft(), 1);
  EXPECT_DOUBLE_EQ(parent->AbsLeft(), 100010);
}

TEST(ComponentTree, AnchorsFollowTheParentsResize) {
  Tree t;
  t.band->SetBounds(0, 0, 500, 100);
  t.memo1->SetBounds(10, 10, 100, 20);
  t.memo1->SetAnchors(fraLeft | fraRight | fraTop | fraBottom);
  auto& loose = TqbxComponent::CreateIn<TtstMemoView>(*t.band);
  loose.SetBounds(200, 10, 50, 20);
  loose.SetAnchors(0);
  auto& right = TqbxComponent::CreateIn<TtstMemoView>(*t.band);
  right.SetBounds(300, 10, 50, 20);
  right.SetAnchors(fraRight | fraBottom);
  auto& grandchild = TqbxComponent::CreateIn<TtstMemoView>(*t.memo1);
  grandchild.SetBounds(1, 1, 10, 10);
  grandchild.SetAnchors(fraLeft | fraRight);
  t.band->SetWidth(550);
  EXPECT_DOUBLE_EQ(t.memo1->Width(), 150);
  EXPECT_DOUBLE_EQ(loose.Left(), 242);  // 50 / 1.18 = 42.37
  EXPECT_DOUBLE_EQ(right.Left(), 350);
  EXPECT_DOUBLE_EQ(grandchild.Width(), 60);  // the child's own resize passes on
  t.band->SetHeight(110);
  EXPECT_DOUBLE_EQ(t.memo1->Height(), 30);
  EXPECT_DOUBLE_EQ(right.Top(), 20);
  EXPECT_DOUBLE_EQ(loose.Top(), 18);  // 10 / 1.18 = 8.47
  t.band->SetWidth(550.005);  // changes of 0.01 or less move nothing
  EXPECT_DOUBLE_EQ(t.memo1->Width(), 150);
}

TEST(ComponentTree, FontsFollowTheirParents) {
  Tree t;
  EXPECT_EQ(t.memo1->Font()->Name(), u"Arial");
  EXPECT_EQ(t.memo1->Font()->Size(), 10);
  EXPECT_EQ(t.memo1->Font()->Height(), -13);
  t.band->Font()->SetName(u"Tahoma");
  t.band->Font()->SetSize(12);
  EXPECT_EQ(t.band->Font()->Height(), -16);
  EXPECT_EQ(t.memo1->Font()->Name(), u"Tahoma");
  auto& deep = TqbxComponent::CreateIn<TtstMemoView>(*t.memo1);
  EXPECT_EQ(deep.Font()->Name(), u"Tahoma");  // a new child takes its parent's font
  TqbxFont own;
  own.SetName(u"Courier New");
  t.memo1->SetFont(&own);
  EXPECT_FALSE(t.memo1->ParentFont());
  EXPECT_EQ(deep.Font()->Name(), u"Courier New");
  t.band->Font()->SetName(u"Arial");
  EXPECT_EQ(t.memo1->Font()->Name(), u"Courier New");  // the link is cut
  t.memo1->SetParentFont(true);
  EXPECT_EQ(deep.Font()->Name(), u"Arial");
}

TEST(ComponentTree, RestoredBandsLeaveTheirRestoredChildrenAlone) {
  Tree t;
  t.band->SetBounds(0, 0, 500, 20);
  t.memo1->SetBounds(10, 0, 100, 20);
  t.memo1->SetAnchors(fraLeft | fraTop | fraBottom);
  t.band->BeforePrint();
  t.memo1->BeforePrint();
  t.band->SetHeight(48);  // the band grows once: the anchored memo grows with it
  EXPECT_DOUBLE_EQ(t.memo1->Height(), 48);
  t.memo1->AfterPrint();
  t.band->AfterPrint();
  EXPECT_DOUBLE_EQ(t.memo1->Height(), 20);
  EXPECT_DOUBLE_EQ(t.band->Height(), 20);
  t.band->SetHeight(30);  // outside a restore the anchors apply again
  EXPECT_DOUBLE_EQ(t.memo1->Height(), 30);
}

TEST(ComponentTree, TakenFontsCutTheLinkWithoutWritingParentFont) {
  Tree t;
  t.band->Font()->SetName(u"Tahoma");
  TqbxFont red;
  red.SetColor(255);
  t.memo1->TakeFont(red);
  EXPECT_FALSE(t.memo1->ParentFont());
  EXPECT_TRUE(t.memo1->OwnFontImplied());
  EXPECT_FALSE(t.memo1->IsParentFontStored());  // Font.Color says it
  t.band->Font()->SetName(u"Courier New");
  EXPECT_EQ(t.memo1->Font()->Name(), u"Arial");
  t.memo1->SetParentFont(false);
  EXPECT_FALSE(t.memo1->OwnFontImplied());
  EXPECT_TRUE(t.memo1->IsParentFontStored());
}

TEST(ComponentTree, DeepTreesNeedNoRecursion) {
  constexpr int kDepth = 100000;
  auto report = std::make_unique<TtstReport>();
  TqbxComponent* node = report.get();
  for (int i = 0; i < kDepth; ++i) {
    node = &TqbxComponent::CreateIn<TtstBand>(*node);
    if (i % 1000 == 0) node->SetName(u"B" + AsciiToString(std::to_string(i)));
  }
  EXPECT_EQ(report->AllObjects().size(), static_cast<size_t>(kDepth));
  EXPECT_EQ(report->FindObject(u"b99000")->Parent()->Parent() != nullptr, true);
  report->Font()->SetName(u"Tahoma");
  EXPECT_EQ(node->Font()->Name(), u"Tahoma");
  node->SetName(u"Last");
  EXPECT_EQ(report->FindObject(u"last"), node);
  // Below a node it is found, above it not; the report finds every level.
  TqbxComponent* middle = report->FindObject(u"B50000");
  EXPECT_EQ(middle->FindObject(u"last"), node);
  EXPECT_EQ(middle->FindObject(u"b1000"), nullptr);
  EXPECT_EQ(node->FindObject(u"b99000"), nullptr);
  for (int i = 0; i < kDepth; i += 1000)
    ASSERT_NE(report->FindObject(u"b" + AsciiToString(std::to_string(i))), nullptr) << i;
  report->SetName(u"Top");
  EXPECT_EQ(report->FindObject(u"top"), nullptr);  // the node itself is excluded
  report.reset();
}

}  // namespace
}  // namespace zavrik::test
