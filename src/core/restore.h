// Restores a value when the scope ends, also when an error passes through.
#pragma once

namespace zavrik {

template <class T>
class Restore {
 public:
  Restore(T& target, T value) : FTarget(target), FSaved(target) { target = value; }
  ~Restore() { FTarget = FSaved; }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

 private:
  T& FTarget;
  T FSaved;
};

}  // namespace zavrik
