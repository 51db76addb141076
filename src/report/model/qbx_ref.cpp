#include "report/model/qbx_ref.h"

namespace zavrik {

void TqbxRefBase::Attach(TqbxComponent* target) {
  if (target == FTarget) return;
  if (FTarget) {
    if (FPrev) FPrev->FNext = FNext;
    else FTarget->FReferrers = FNext;
    if (FNext) FNext->FPrev = FPrev;
    FPrev = FNext = nullptr;
  }
  FTarget = target;
  if (target) {
    FNext = target->FReferrers;
    if (FNext) FNext->FPrev = this;
    target->FReferrers = this;
  }
}

void TqbxComponent::ReleaseReferrers() {
  while (TqbxRefBase* ref = FReferrers) {
    FReferrers = ref->FNext;
    ref->FTarget = nullptr;
    ref->FPrev = ref->FNext = nullptr;
  }
}

}  // namespace zavrik
