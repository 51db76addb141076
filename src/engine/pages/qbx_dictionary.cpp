#include "engine/pages/qbx_dictionary.h"

#include <iterator>

#include "core/float_text.h"

namespace zavrik {

void TqbxDictionary::Add(const String& name, const String& source_name, TqbxComponent* object) {
  const String key = AsciiUpper(name);
  if (FNames.count(key)) return;
  FSources.push_back({source_name, object});
  Insert(key, Entry{name, static_cast<int>(FSources.size()) - 1});
}

void TqbxDictionary::Insert(String key, Entry entry) {
  const auto [at, inserted] = FNames.emplace(std::move(key), std::move(entry));
  if (!inserted) return;
  for (ProbeRange& range : FProbeRanges) {
    if (range.Low < at->first && at->first < range.High) ++range.Count;
  }
}

size_t TqbxDictionary::NamesBetweenProbes(const String& low, const String& high) {
  for (const ProbeRange& range : FProbeRanges) {
    if (range.Low == low && range.High == high) return range.Count;
  }
  const auto count = static_cast<size_t>(std::distance(FNames.upper_bound(low), FNames.lower_bound(high)));
  FProbeRanges.push_back({low, high, count});
  return count;
}

String TqbxDictionary::AddUnique(const String& base, const String& source_name,
                                 TqbxComponent* object) {
  String name = CreateUniqueName(base);
  Add(name, source_name, object);
  return name;
}

String TqbxDictionary::CreateUniqueName(const String& base) {
  int64_t n = 1;
  if (FNames.size() >= 4) {
    const String low = base + u"0", high = base + u"A";
    Insert(AsciiUpper(low), Entry{low, -1});
    Insert(AsciiUpper(high), Entry{high, -1});
    n = static_cast<int64_t>(NamesBetweenProbes(AsciiUpper(low), AsciiUpper(high)));
    // base + "0" is present, so this stops at 0 at the latest.
    while (n > 0 && !Contains(base + IntToStr(n))) --n;
  }
  while (Contains(base + IntToStr(n))) ++n;
  return base + IntToStr(n);
}

bool TqbxDictionary::Contains(StringView name) const { return FNames.count(AsciiUpper(name)) > 0; }

const TqbxDictionary::Source* TqbxDictionary::Find(StringView name) const {
  const auto it = FNames.find(AsciiUpper(name));
  if (it == FNames.end() || it->second.SourceIndex < 0) return nullptr;
  return &FSources[static_cast<size_t>(it->second.SourceIndex)];
}

TqbxComponent* TqbxDictionary::GetObject(StringView name) const {
  const Source* source = Find(name);
  return source ? source->Object : nullptr;
}

String TqbxDictionary::GetSourceName(StringView name) const {
  const Source* source = Find(name);
  return source ? source->Name : String();
}

std::vector<String> TqbxDictionary::Names() const {
  std::vector<String> names;
  for (const auto& [key, entry] : FNames) names.push_back(entry.Alias);
  return names;
}

void TqbxDictionary::Clear() {
  FNames.clear();
  FSources.clear();
  FProbeRanges.clear();
}

}  // namespace zavrik
