// What the engine needs of host objects beyond reflection: forms and data modules publish their
// owned components by name. The report layer and the program's data module implement it.
#pragma once

#include <vector>

#include "core/ustring.h"

namespace zavrik {

class Object;

class TqsComponentOwner {
 public:
  enum Kind { ckForm, ckDataModule, ckFrame, ckOther };
  virtual ~TqsComponentOwner() = default;
  // How AddComponent registers the owner's class: a TForm, TDataModule or TFrame descendant;
  // ckOther: not published.
  virtual Kind ComponentOwnerKind() const { return ckDataModule; }
  virtual String ComponentName() const = 0;
  // The components it owns, in order.
  virtual std::vector<Object*> OwnedComponents() const = 0;
  virtual String ComponentNameOf(const Object* component) const = 0;
  // An owned component by name (case-insensitive), or none.
  virtual Object* FindOwnedComponent(StringView name) const;
};

// The owner interface of a host object, when it has one.
TqsComponentOwner* qsComponentOwner(Object* object);

}  // namespace zavrik

namespace zavrik {

// Objects a script created that release resources (files) when the script frees them; the object
// itself stays allocated until its program ends.
class TqsScriptFreed {
 public:
  virtual ~TqsScriptFreed() = default;
  virtual void ScriptFreed() = 0;
};

}  // namespace zavrik
