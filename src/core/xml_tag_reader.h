// The byte-level reader of the XML dialect shared by report templates and script grammars /
// syntax trees. It is not general XML: text content is skipped, quotes inside a tag mean nothing,
// and a tag ends at the first '>'.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace zavrik {

class XmlTagReader {
 public:
  // Reads from `in`, which the caller owns, starting at its current position.
  explicit XmlTagReader(std::istream& in);
  // Gives back the bytes buffered but not consumed: the stream is left at Position().
  ~XmlTagReader();
  XmlTagReader(const XmlTagReader&) = delete;
  XmlTagReader& operator=(const XmlTagReader&) = delete;

  // Reads the next tag. `name` is empty at the end of the stream (outside a tag or in a comment).
  // Raises XmlFormatError for '<' inside a tag and for the end of the stream inside a tag.
  void ReadTag(std::string& name, std::string& attributes);

  // The stream position after the last byte consumed.
  uint64_t Position() const { return position_; }
  // Moves the stream and empties the buffer.
  void SetPosition(uint64_t position);

 private:
  // Next byte, or -1 at the end of the stream.
  int NextByte();

  std::istream& in_;
  char buffer_[4096];
  size_t fill_ = 0;
  size_t next_ = 0;
  uint64_t position_ = 0;
};

// Reads the XML declaration, which must be the first tag (its name begins with "?xml").
// Returns true when it marks the templates' old 8-bit format: version "1.0" without "standalone=".
bool ReadXmlHeader(XmlTagReader& reader);

// Receives the elements of a document in reading order.
class XmlElementSink {
 public:
  virtual ~XmlElementSink() = default;
  // A new element, a child of the innermost open one (the first call gives the outermost).
  // `offset` is the stream position before the element's tag. An empty element's '/' is already
  // removed from the name or the attribute text.
  virtual void BeginElement(std::string_view name, std::string_view attributes, uint64_t offset) = 0;
  // Closes the innermost open element.
  virtual void EndElement() = 0;
};

// Reads the outermost element with all its descendants (iteratively: nesting depth is limited by
// memory only). An end tag must match its element case-insensitively; missing end tags at the end
// of the stream are accepted. When the first tag is an end tag or the stream is empty, the sink
// gets that one tag as an element without children.
void ReadXmlElements(XmlTagReader& reader, XmlElementSink& sink);

}  // namespace zavrik
