#include "core/variant_compare.h"

#include "core/numeric.h"
#include "core/variant_access.h"
#include "core/variant_class.h"
#include "core/variant_convert.h"

namespace zavrik {
namespace {

template <typename T>
std::partial_ordering Order(T x, T y) {
  return x <=> y;
}

}  // namespace

std::partial_ordering VarCompare(const Variant& a, const Variant& b, const FormatSettings& fs) {
  const VarKind ka = a.Kind(), kb = b.Kind();
  if (ka == VarKind::Integer && kb == VarKind::Integer) return Order(a.SignedValue(), b.SignedValue());
  if (ka == VarKind::Double && kb == VarKind::Double) return Order(a.DoubleValue(), b.DoubleValue());
  switch (BinaryClass(ClassOf(ka), ClassOf(kb))) {
    case OpClass::Invalid:
      ThrowError(kInvalidVariantOperation);
    case OpClass::Null:
      return Order(ka != VarKind::Null, kb != VarKind::Null);
    case OpClass::Empty:
      return std::partial_ordering::equivalent;
    case OpClass::Int:
    case OpClass::Int64:
    case OpClass::UInt64:
      return Order(IntegerValue(a), IntegerValue(b));
    case OpClass::Float:
      return Order(VarToDouble(a, fs), VarToDouble(b, fs));
    case OpClass::Currency:
      return Order(VarToCurrency(a, fs).scaled, VarToCurrency(b, fs).scaled);
    case OpClass::Date:
      return Order(VarToDate(a, fs), VarToDate(b, fs));
    case OpClass::String:
      return Order(StringView(a.StringValue()), StringView(b.StringValue()));
    case OpClass::Boolean:
      return Order(VarToBoolean(a, fs), VarToBoolean(b, fs));
  }
  ThrowError(kInvalidVariantOperation);
}

bool VarEqual(const Variant& a, const Variant& b) { return VarCompare(a, b) == 0; }
bool VarNotEqual(const Variant& a, const Variant& b) { return !(VarCompare(a, b) == 0); }
bool VarLess(const Variant& a, const Variant& b) { return VarCompare(a, b) < 0; }
bool VarLessEqual(const Variant& a, const Variant& b) { return VarCompare(a, b) <= 0; }
bool VarGreater(const Variant& a, const Variant& b) { return VarCompare(a, b) > 0; }
bool VarGreaterEqual(const Variant& a, const Variant& b) { return VarCompare(a, b) >= 0; }

}  // namespace zavrik
