#include "core/xml_tag_reader.h"

#include <vector>

#include "core/xml_text.h"

namespace zavrik {
namespace {

bool SameBytesNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

bool EndsList(std::string_view name) { return name.empty() || name.front() == '/'; }

// Strips the '/' of an empty element from the name or the attribute text; true when found.
bool StripEmptyMarker(std::string& name, std::string& attributes) {
  if (!name.empty() && name.back() == '/') {
    name.pop_back();
    return true;
  }
  if (!attributes.empty() && attributes.back() == '/') {
    attributes.pop_back();
    return true;
  }
  return false;
}

}  // namespace

XmlTagReader::XmlTagReader(std::istream& in) : in_(in) {
  const auto start = in_.tellg();
  position_ = start < 0 ? 0 : static_cast<uint64_t>(start);
}

XmlTagReader::~XmlTagReader() {
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(position_));
}

void XmlTagReader::SetPosition(uint64_t position) {
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(position));
  position_ = position;
  fill_ = next_ = 0;
}

int XmlTagReader::NextByte() {
  if (next_ == fill_) {
    in_.read(buffer_, sizeof buffer_);
    fill_ = static_cast<size_t>(in_.gcount());
    next_ = 0;
    if (fill_ == 0) return -1;
  }
  ++position_;
  return static_cast<unsigned char>(buffer_[next_++]);
}

void XmlTagReader::ReadTag(std::string& name, std::string& attributes) {
  enum class State { kOutside, kInside, kComment } state = State::kOutside;
  std::string tag;
  int dashes = 0;
  name.clear();
  attributes.clear();
  for (;;) {
    const int b = NextByte();
    if (b < 0) {
      if (state == State::kInside) throw XmlFormatError();
      return;
    }
    switch (state) {
      case State::kOutside:
        if (b == '<') state = State::kInside;
        break;
      case State::kComment:
        if (b == '>' && dashes >= 2) {
          state = State::kOutside;
        } else {
          dashes = (b == '-' && dashes < 2) ? dashes + 1 : 0;
        }
        break;
      case State::kInside:
        if (b == '<') throw XmlFormatError();
        if (b != '>') {
          tag.push_back(static_cast<char>(b));
          if (tag == "!--") {
            tag.clear();
            dashes = 0;
            state = State::kComment;
          }
          break;
        }
        if (!tag.empty() && tag.back() == ' ') tag.pop_back();
        const size_t space = tag.find(' ');
        if (space == std::string::npos) {
          name = std::move(tag);
        } else {
          name = tag.substr(0, space);
          attributes = tag.substr(space + 1);
        }
        return;
    }
  }
}

bool ReadXmlHeader(XmlTagReader& reader) {
  std::string name, attributes;
  reader.ReadTag(name, attributes);
  if (name.compare(0, 4, "?xml") != 0) throw XmlFormatError();
  const size_t at = attributes.find("version=");
  // The three characters after `version=` and its opening quote.
  const bool has_version = at != std::string::npos && at + 9 <= attributes.size();
  const std::string version = has_version ? attributes.substr(at + 9, 3) : std::string();
  return version == "1.0" && attributes.find("standalone=") == std::string::npos;
}

void ReadXmlElements(XmlTagReader& reader, XmlElementSink& sink) {
  std::string name, attributes;
  std::vector<std::string> open;  // names of the elements whose children are being read
  do {
    const uint64_t offset = reader.Position();
    reader.ReadTag(name, attributes);
    if (!open.empty() && EndsList(name)) {
      if (!name.empty() && !SameBytesNoCase(std::string_view(name).substr(1), open.back())) {
        throw XmlFormatError();
      }
      open.pop_back();
      sink.EndElement();
      continue;
    }
    const bool empty = EndsList(name) || StripEmptyMarker(name, attributes);
    sink.BeginElement(name, attributes, offset);
    if (empty) {
      sink.EndElement();
    } else {
      open.push_back(name);
    }
  } while (!open.empty());
}

}  // namespace zavrik
