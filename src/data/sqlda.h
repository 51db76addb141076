// An XSQLDA with its own data and null-indicator buffers.
#pragma once

#include <ibase.h>

#include <memory>
#include <string>
#include <vector>

namespace zavrik::data {

class Sqlda {
 public:
  explicit Sqlda(int count = 1) { Resize(count); }
  Sqlda(const Sqlda&) = delete;
  Sqlda& operator=(const Sqlda&) = delete;

  // Room for count variables; the described contents are lost.
  void Resize(int count);
  XSQLDA* Get() { return reinterpret_cast<XSQLDA*>(storage_.get()); }
  int Count() const { return reinterpret_cast<const XSQLDA*>(storage_.get())->sqld; }
  XSQLVAR& Var(int i) { return Get()->sqlvar[i]; }
  const XSQLVAR& Var(int i) const { return reinterpret_cast<const XSQLDA*>(storage_.get())->sqlvar[i]; }

  // Points every described variable at a buffer of its described size and a null indicator.
  void AllocateBuffers();
  // Gives variable i a buffer of the given size (for values whose type the caller changes).
  char* SetBuffer(int i, size_t size);

 private:
  std::unique_ptr<char[]> storage_;
  std::vector<std::vector<char>> buffers_;
  std::vector<short> indicators_;
};

// SQL type without the nullable flag.
inline int BaseSqlType(const XSQLVAR& var) { return var.sqltype & ~1; }

}  // namespace zavrik::data
