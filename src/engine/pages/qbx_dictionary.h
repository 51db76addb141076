// TqbxDictionary: aliases of the prepared pages (m1, b3, …) mapped to their source objects. The
// alias list is sorted case-insensitively; each alias points into the list of source names
// ("Page0.Memo3") with their objects. Probe names inserted by CreateUniqueName stay in the list
// without a source.
#pragma once

#include <map>
#include <vector>

#include "core/ustring.h"

namespace zavrik {

class TqbxComponent;

class TqbxDictionary {
 public:
  // Adds `name` for the source; an alias already present is ignored.
  void Add(const String& name, const String& source_name, TqbxComponent* object);
  // Creates a free alias for `base`, adds it and returns it.
  String AddUnique(const String& base, const String& source_name, TqbxComponent* object);
  // `base` + the first free number, guessed from the count of names between the probes
  // `base` + "0" and `base` + "A" once the list holds at least 4 names.
  String CreateUniqueName(const String& base);
  TqbxComponent* GetObject(StringView name) const;
  String GetSourceName(StringView name) const;
  bool Contains(StringView name) const;
  // Every alias in list order, probes included.
  std::vector<String> Names() const;
  void Clear();

 private:
  struct Source {
    String Name;
    TqbxComponent* Object;
  };
  struct Entry {
    String Alias;
    int SourceIndex;  // -1 for probes
  };
  // The names strictly between two probes, kept current as names are added: counting them in
  // the list on each call would make numbering n objects take n² steps.
  struct ProbeRange {
    String Low, High;  // upper-cased probes
    size_t Count;
  };
  const Source* Find(StringView name) const;
  // Adds the key unless present, counting it in the probe ranges it falls into.
  void Insert(String key, Entry entry);
  size_t NamesBetweenProbes(const String& low, const String& high);

  std::map<String, Entry> FNames;  // keyed by the upper-cased alias
  std::vector<Source> FSources;
  std::vector<ProbeRange> FProbeRanges;  // one per base asked for, few
};

}  // namespace zavrik
