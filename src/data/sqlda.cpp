#include "data/sqlda.h"

#include <cstring>

namespace zavrik::data {

void Sqlda::Resize(int count) {
  if (count < 1) count = 1;
  const size_t bytes = XSQLDA_LENGTH(count);
  storage_ = std::make_unique<char[]>(bytes);
  std::memset(storage_.get(), 0, bytes);
  XSQLDA* da = Get();
  da->version = SQLDA_VERSION1;
  da->sqln = static_cast<ISC_SHORT>(count);
  buffers_.clear();
  indicators_.clear();
}

void Sqlda::AllocateBuffers() {
  const int n = Count();
  buffers_.assign(n, {});
  indicators_.assign(n, 0);
  for (int i = 0; i < n; ++i) {
    XSQLVAR& var = Var(i);
    size_t size = static_cast<size_t>(var.sqllen);
    if (BaseSqlType(var) == SQL_VARYING) size += sizeof(short);
    buffers_[i].assign(size + 1, 0);
    var.sqldata = buffers_[i].data();
    var.sqlind = &indicators_[i];
  }
}

char* Sqlda::SetBuffer(int i, size_t size) {
  buffers_[i].assign(size + 1, 0);
  Var(i).sqldata = buffers_[i].data();
  return buffers_[i].data();
}

}  // namespace zavrik::data
