// TqbxComponent: the node of the report tree. A node owns its children (in template order), has a
// unique name within its tree, geometry relative to its parent and a font that may follow the
// parent's. The top node of a tree keeps the name index; the lifetime owner (the tree's top node
// when the component was created in a tree) answers "components owned by the report".
#pragma once

#include <cassert>
#include <map>
#include <memory>
#include <vector>

#include "core/rtti.h"
#include "report/model/views/qbx_font.h"

namespace zavrik {

class TqbxCustomExportFilter;
class TqbxEvaluator;
class TqbxFieldSource;
class TqbxMemoText;
class TqbxReportDataSource;
class TqbxStretcheable;
class TqbxRefBase;
class TqbxXMLItem;
class TqbxXMLSerializer;

// Anchors: how a child follows a resize of its parent.
enum TqbxAnchor : int32_t { fraLeft = 1, fraTop = 2, fraRight = 4, fraBottom = 8 };
// Restrictions (editing only).
enum TqbxRestriction : int32_t {
  rfDontModify = 1, rfDontSize = 2, rfDontMove = 4, rfDontDelete = 8, rfDontEdit = 16,
  rfDontEditInPreview = 32, rfDontCopy = 64
};
// Class traits.
enum TqbxComponentStyle : int32_t {
  csContainer = 1, csPreviewVisible = 2, csDefaultDiff = 4, csHandlesNestedProperties = 8,
  csContained = 16, csAcceptsQbxComponents = 32, csObjectsContainer = 64
};

// Placement of a view inside its parent (AlignChildren).
enum TqbxAlign : int32_t { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient, baHidden };
// Mirror modes (a set; taken from the page).
enum TqbxMirrorMode : int32_t {
  mcmRTLBands = 1, mcmRTLObjects = 2, mcmRTLAppearance = 4, mcmRTLContent = 8, mcmRTLSpecial = 16,
  mcmBTTBands = 32, mcmBTTObjects = 64, mcmBTTAppearance = 128, mcmBTTContent = 256, mcmBTTSpecial = 512,
  mcmOnlyAllowed = 1024
};

struct TqbxRect {
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TqbxComponent : public Object {
 public:
  using CaseLessMap = std::map<String, TqbxComponent*>;  // keys upper-cased

  TqbxComponent();
  // Detaches from the parent, destroys the subtree (without recursion).
  ~TqbxComponent() override;
  TqbxComponent(const TqbxComponent&) = delete;
  TqbxComponent& operator=(const TqbxComponent&) = delete;

  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // Published property groups that subclasses publish again from their tables.
  static PropList GeometryProps();    // Left, Top, Width, Height
  static PropList FontProps();        // Font, ParentFont
  static PropList PlacementProps();   // Anchors, AllowMirrorMode, GroupIndex, IndexTag, Restrictions, Visible

  // Creates a T as the last child of `owner` (Create(AOwner)).
  template <class T>
  static T& CreateIn(TqbxComponent& owner) {
    return static_cast<T&>(owner.AddChild(std::make_unique<T>()));
  }

  // --- tree
  TqbxComponent* Parent() const { return FParent; }
  // Moves a node that has a parent to the end of `parent`'s children (no cycles; the parent must
  // not be none: Detach takes a node out).
  void SetParent(TqbxComponent* parent);
  // Appends a node (taking it from its old parent first) and returns it.
  TqbxComponent& AddChild(std::unique_ptr<TqbxComponent> child);
  // Moves one of this node's children to position `index` among them.
  void MoveChild(TqbxComponent& child, int index);
  // Takes this node out of its parent; the caller owns it.
  std::unique_ptr<TqbxComponent> Detach();
  const std::vector<std::unique_ptr<TqbxComponent>>& Objects() const { return FObjects; }
  int Count() const { return static_cast<int>(FObjects.size()); }
  // Room for `count` more children without moving the list while they are added.
  void ReserveChildren(size_t count) { FObjects.reserve(FObjects.size() + count); }
  TqbxComponent& Child(int index) const { return *FObjects.at(static_cast<size_t>(index)); }
  // Every descendant in depth-first pre-order, this node excluded.
  std::vector<TqbxComponent*> AllObjects() const;
  // The topmost ancestor; none for a node without parent.
  TqbxComponent* TopParent() const { return FParent ? FTopNode : nullptr; }
  TqbxComponent& TopNode() const { return *FTopNode; }
  // The nearest node, this one included, that is a report, or a page.
  TqbxComponent* Report() const;
  TqbxComponent* Page() const;
  virtual bool IsReport() const { return false; }
  virtual bool IsPage() const { return false; }
  virtual bool IsDialogPage() const { return false; }
  // The hot paths' stand-ins for dynamic_cast: this node as one of these, or none. The classes
  // that implement them answer directly; the defaults ask dynamic_cast.
  virtual TqbxStretcheable* AsStretcheable() { return nullptr; }
  virtual TqbxMemoText* AsMemoText();
  virtual TqbxEvaluator* AsEvaluator();
  virtual TqbxFieldSource* AsFieldSource();
  virtual const TqbxReportDataSource* AsReportDataSource() const;
  // The lifetime owner: names of owned components are unique among themselves.
  TqbxComponent* Owner() const { return FOwner; }
  // The owned component of that name (case-insensitive), or none.
  TqbxComponent* FindOwnedComponent(StringView name) const;
  virtual void Clear();

  // --- names
  const String& Name() const { return FName; }
  void SetName(const String& value);
  const String& BaseName() const;
  // Source copies of prepared pages keep their own serialized form here.
  void SetBaseName(const String& value) { FBaseName = value; }
  // Names the node BaseName + the first free number (see the probe in the .cpp).
  void CreateUniqueName(TqbxComponent* default_report = nullptr);
  virtual TqbxComponent* FindObject(StringView name) const;

  // --- geometry
  double Left() const { return FLeft; }
  double Top() const { return FTop; }
  double Width() const { return FWidth; }
  double Height() const { return FHeight; }
  virtual void SetLeft(double value) { FLeft = value; GeometryChanged(); }
  virtual void SetTop(double value) { FTop = value; GeometryChanged(); }
  virtual void SetWidth(double value);
  virtual void SetHeight(double value);
  void SetBounds(double left, double top, double width, double height);
  // Positions on the page, cached until any component moves or changes parent.
  double AbsLeft() const { return CachedAbsPosition().FAbsLeft; }
  double AbsTop() const { return CachedAbsPosition().FAbsTop; }
  TqbxRect GetClientArea() const { return {0, 0, FWidth, FHeight}; }
  virtual bool IsLeftStored() const { return true; }
  virtual bool IsTopStored() const { return true; }
  virtual bool IsWidthStored() const { return true; }
  virtual bool IsHeightStored() const { return true; }
  // Places the eligible children (views with an Align other than baHidden, visible ones only when
  // `ignore_invisible`) after mirroring them, then their children in turn.
  virtual void AlignChildren(bool ignore_invisible, int32_t mirror_modes);
  // Mirrors the content (views) and, with a parent, the position for the given modes.
  void MirrorPlacement(int32_t mirror_modes);
  virtual void MirrorContent(int32_t mirror_modes) {}
  // Views and bands answer these; the base is neither.
  virtual bool IsView() const { return false; }
  virtual bool IsBand() const { return false; }
  virtual TqbxAlign Align() const { return baNone; }
  int32_t Anchors() const { return FAnchors; }
  virtual void SetAnchors(int32_t value) { FAnchors = value & 15; }

  // --- font
  TqbxFont* Font() const { return FFont.get(); }
  virtual void SetFont(TqbxFont* value);
  bool ParentFont() const { return FParentFont; }
  virtual void SetParentFont(bool value);
  // An own font given by a highlight, a style or the object's own Font.* attributes cuts the link
  // to the parent's font without an explicit ParentFont: the written form shows the font only
  // (so templates read back as they were written), and reading that form cuts the link again.
  void TakeFont(const TqbxFont& font);
  void KeepOwnFont();
  bool OwnFontImplied() const { return FOwnFontImplied; }
  // Font.* attributes were read without ParentFont: a font other than the parent's (now, or when
  // a detached object joins its parent) is the object's own.
  void FontReadFromAttributes();
  // Puts a saved link state back (after a highlight); the font itself is restored separately.
  void RestoreFontLink(bool parent_font, bool own_font_implied);
  // ParentFont is written when the written Font.* attributes do not imply it.
  bool IsParentFontStored() const { return !FOwnFontImplied; }

  // --- other properties
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t value) { FTag = value; }
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool value) { FVisible = value; }
  int32_t Restrictions() const { return FRestrictions; }
  void SetRestrictions(int32_t value) { FRestrictions = value & 127; }
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t value) { FGroupIndex = value; }
  int32_t IndexTag() const { return FIndexTag; }
  void SetIndexTag(int32_t value) { FIndexTag = value; }
  bool IsIndexTagStored() const { return FIndexTag > 0; }
  bool AllowMirrorMode() const { return FAllowMirrorMode; }
  void SetAllowMirrorMode(bool value) { FAllowMirrorMode = value; }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& value) { FDescription = value; }
  int32_t ComponentStyle() const { return FComponentStyle; }
  void SetComponentStyle(int32_t value) { FComponentStyle = value; }
  const String& AliasName() const { return FAliasName; }
  void SetAliasName(const String& value) { FAliasName = value; }
  TqbxComponent* OriginalComponent = nullptr;
  // The prepared-page element this object was rebuilt from; none when the page was read from its
  // packed form.
  TqbxXMLItem* SerializedItem = nullptr;

  // --- difference texts of prepared pages: ` Name="value"` for each attribute that differs
  // The base part: l, t, w, h, Visible, Font.*, ParentFont, Tag. Subclasses append their own
  // attributes; `other` none compares with a new object of this class.
  virtual String Diff(const TqbxComponent* other) const;
  // Every published property whose written value differs from `other`'s (none: from the class
  // defaults).
  String AllDiff(const TqbxComponent* other) const;
  // Recomputes the bounds after the object was rebuilt from a prepared page.
  virtual void UpdateBounds() {}
  // Hook for objects that produce printed objects of their own when a source page is registered.
  virtual void AddSourceObjects() {}
  // True when the object exported itself through the filter.
  virtual bool ExportInternal(TqbxCustomExportFilter&) { return false; }

  bool IsDesigning = false;
  bool IsLoading = false;
  bool IsPrinting = false;
  bool IsWriting = false;
  bool IsAncestor() const { return false; }

  // --- serialization (through TqbxXMLSerializer)
  // Clears the node and reads it with its subtree from a template stream; the messages of the
  // load go to `errors` when given.
  void LoadFromStream(std::istream& stream, std::vector<String>* errors = nullptr);
  // `indented`: one element a line, indented by depth; otherwise compact.
  void SaveToStream(std::ostream& stream, bool save_children = true, bool save_default_values = false,
                    bool indented = true) const;
  // Copies another component's properties (Assign) or properties and children (AssignAll).
  void Assign(const TqbxComponent& source);
  void AssignAll(const TqbxComponent& source);
  // Hooks for objects with csHandlesNestedProperties; true when the element was taken.
  virtual bool ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer& serializer) { return false; }
  virtual bool WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer& serializer) const { return false; }
  // Called after the whole template is read and references are resolved.
  virtual void Loaded() {}

 protected:
  // Runs whenever this node's font changed; passes it on to children following their parent.
  virtual void FontChanged();

 private:
  friend class ComponentTreeAccess;
  friend class TqbxRefBase;
  // Empties every TqbxRef that points at this node (qbx_ref.cpp).
  void ReleaseReferrers();
  void SetOwner(TqbxComponent* owner);
  void ApplyAnchors(double dw, double dh);
  std::vector<TqbxComponent*> AlignOwnChildren(bool ignore_invisible, int32_t mirror_modes);
  CaseLessMap& NameIndex();
  void IndexSubtree(TqbxComponent& subtree, bool add);
  std::unique_ptr<TqbxComponent> TakeChild(TqbxComponent* child);
  // Every move or change of parent makes all cached absolute positions stale.
  static void GeometryChanged();
  const TqbxComponent& CachedAbsPosition() const;
  [[gnu::noinline]] const TqbxComponent& RefreshAbsPosition() const;

  TqbxComponent* FParent = nullptr;
  TqbxComponent* FTopNode = this;  // the topmost ancestor (this node when it has no parent)
  TqbxComponent* FOwner = nullptr;
  std::vector<std::unique_ptr<TqbxComponent>> FObjects;
  std::unique_ptr<CaseLessMap> FNameIndex;  // top nodes only, built on first need
  std::unique_ptr<CaseLessMap> FOwned;      // named components this node owns
  String FName;
  mutable String FBaseName;
  double FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  mutable double FAbsLeft = 0, FAbsTop = 0;
  mutable uint64_t FAbsStamp = 0;  // the geometry stamp FAbsLeft/FAbsTop belong to (0: none)
  std::unique_ptr<TqbxFont> FFont;
  bool FParentFont = true;
  bool FOwnFontImplied = false;  // ParentFont false follows from the own font, not written
  bool FFontPending = false;     // read from attributes while detached: decided on joining
  bool FVisible = true;
  bool FAllowMirrorMode = false;
  int32_t FTag = 0;
  int32_t FRestrictions = 0;
  int32_t FGroupIndex = 0;
  int32_t FIndexTag = 0;
  int32_t FAnchors = fraLeft | fraTop;
  int32_t FComponentStyle = csPreviewVisible;
  String FDescription;
  String FAliasName;
  TqbxRefBase* FReferrers = nullptr;  // the references to this node, a linked list
};

// While one lives, size changes do not move or resize children by their anchors: restoring saved
// bounds puts every object back on its own.
// The object as a component, or none: a class check instead of a dynamic_cast.
inline TqbxComponent* AsComponent(Object& object) {
  return object.ClassType().InheritsFrom(TqbxComponent::StaticClass()) ? static_cast<TqbxComponent*>(&object)
                                                                        : nullptr;
}

// The component as T, or none, for the hot paths: the class table's parent chain instead of a
// dynamic_cast. T must be a class of the component tree with its own StaticClass; debug builds
// check the answer against dynamic_cast.
template <class T>
T* ComponentAs(TqbxComponent* component) {
  T* result = component && component->ClassType().InheritsFrom(T::StaticClass()) ? static_cast<T*>(component)
                                                                                : nullptr;
  assert(result == dynamic_cast<T*>(component));
  return result;
}
template <class T>
const T* ComponentAs(const TqbxComponent* component) {
  return ComponentAs<T>(const_cast<TqbxComponent*>(component));
}

class TqbxAnchorsSuspended {
 public:
  TqbxAnchorsSuspended();
  ~TqbxAnchorsSuspended();
  TqbxAnchorsSuspended(const TqbxAnchorsSuspended&) = delete;
  TqbxAnchorsSuspended& operator=(const TqbxAnchorsSuspended&) = delete;
  static bool Active();
};

}  // namespace zavrik
