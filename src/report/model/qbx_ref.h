// TqbxRef: a non-owning reference from any object to a component (a band's DataSet, a memo's
// FlowTo, a data-source list entry). Every reference enters the target's list of referrers, and a
// component being destroyed empties all of them, so no reference outlives its target.
#pragma once

#include "report/model/qbx_component.h"

namespace zavrik {

class TqbxRefBase {
 public:
  TqbxRefBase() = default;
  TqbxRefBase(const TqbxRefBase& other) { Attach(other.FTarget); }
  TqbxRefBase& operator=(const TqbxRefBase& other) {
    if (this != &other) Attach(other.FTarget);
    return *this;
  }
  ~TqbxRefBase() { Attach(nullptr); }

 protected:
  TqbxComponent* Target() const { return FTarget; }
  // Leaves the old target's list and enters the new one's.
  void Attach(TqbxComponent* target);

 private:
  friend class TqbxComponent;
  TqbxComponent* FTarget = nullptr;
  TqbxRefBase* FPrev = nullptr;
  TqbxRefBase* FNext = nullptr;
};

template <class T>
class TqbxRef : public TqbxRefBase {
 public:
  TqbxRef() = default;
  TqbxRef(T* target) { Attach(target); }  // NOLINT(google-explicit-constructor)
  TqbxRef& operator=(T* target) {
    Attach(target);
    return *this;
  }
  T* Get() const { return static_cast<T*>(Target()); }
  operator T*() const { return Get(); }  // NOLINT(google-explicit-constructor)
  T* operator->() const { return Get(); }
};

}  // namespace zavrik
