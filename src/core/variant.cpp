#include "core/variant.h"

namespace zavrik {

Variant::Variant(String v)
    : kind_(VarKind::String), string_(std::make_shared<const String>(std::move(v))) {}

Variant::Variant(std::shared_ptr<VariantArray> array)
    : kind_(VarKind::Array), array_(std::move(array)) {}

const String& Variant::StringValue() const {
  static const String kEmpty;
  return string_ ? *string_ : kEmpty;
}

}  // namespace zavrik
