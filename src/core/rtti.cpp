#include "core/rtti.h"

#include <iterator>
#include <map>
#include <mutex>

namespace zavrik {

const ClassInfo& Object::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TObject", nullptr, nullptr, {}); });
  return info;
}

EnumType::EnumType(std::initializer_list<const char16_t*> names) {
  for (const char16_t* name : names) names_.emplace_back(name);
}

String EnumType::Name(int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= Count()) return String();
  return names_[static_cast<size_t>(ordinal)];
}

int EnumType::Ordinal(StringView name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameTextAscii(names_[i], name)) return i;
  }
  return -1;
}

const EnumType& BooleanType() {
  static const EnumType type{u"False", u"True"};
  return type;
}

ClassInfo::ClassInfo(String name, const ClassInfo* parent, Factory factory, PropList props)
    : name_(std::move(name)), parent_(parent), factory_(factory), own_(std::move(props)) {
  if (parent_) lineage_ = parent_->lineage_;
  lineage_.push_back(this);
  if (parent_) all_ = parent_->all_;
  for (const PropInfo& prop : own_) {
    // A base property published again moves to the subclass's place.
    if (const PropInfo* base = parent_ ? parent_->FindProp(prop.name) : nullptr) std::erase(all_, base);
    all_.push_back(&prop);
  }
  for (const PropInfo* prop : all_) by_upper_name_[AsciiUpper(prop->name)] = prop;
}

const PropInfo* ClassInfo::FindProp(StringView name) const {
  // Names are short; upper-casing into a small buffer is cheaper than a case-insensitive hash.
  char16_t buffer[64];
  if (name.size() > std::size(buffer)) return nullptr;  // longer than any property name
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    buffer[i] = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
  }
  const auto it = by_upper_name_.find(StringView(buffer, name.size()));
  return it == by_upper_name_.end() ? nullptr : it->second;
}

PropList JoinProps(std::initializer_list<PropList> lists) {
  PropList all;
  for (const PropList& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

namespace {

struct Registry {
  std::mutex lock;
  std::map<String, const ClassInfo*> by_upper_name;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterClass(const ClassInfo& info) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.by_upper_name[AsciiUpper(info.Name())] = &info;
}

const ClassInfo* FindClass(StringView name) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  const auto it = r.by_upper_name.find(AsciiUpper(name));
  return it == r.by_upper_name.end() ? nullptr : it->second;
}

std::vector<const ClassInfo*> RegisteredClasses() {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  std::vector<const ClassInfo*> classes;
  for (const auto& [name, info] : r.by_upper_name) classes.push_back(info);
  return classes;
}

}  // namespace zavrik
