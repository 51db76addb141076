// TqbxPostProcessor: the dictionary of deferred object values as the prepared pages see it. This
// base keeps nothing: no view hands its content over and no rebuilt object is consumed.
#pragma once

namespace zavrik {

class TqbxComponent;

class TqbxPostProcessor {
 public:
  virtual ~TqbxPostProcessor() = default;

  // A view whose values are settled later is being recorded; it may replace its text by an index.
  virtual void SaveContent(TqbxComponent& view) {}
  // Offered every rebuilt object; true when the dictionary consumed it (the object is dropped).
  virtual bool LoadValue(TqbxComponent& component) { return false; }
  // Starts the duplicate tracking of a newly rebuilt page.
  virtual void ResetSuppressed() {}
  virtual void Clear() {}
};

}  // namespace zavrik
