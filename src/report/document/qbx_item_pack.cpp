#include "report/document/qbx_item_pack.h"

#include <vector>

#include "core/error.h"

namespace zavrik {
namespace {

constexpr uint8_t kUnloadable = 1;
constexpr uint8_t kModified = 2;

void PutCount(std::string& out, size_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

// UTF-8 of the code units; a surrogate without its partner is encoded on its own.
void PutString(std::string& out, StringView text) {
  const auto paired = [&text](size_t i) {
    return text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
           text[i + 1] <= 0xDFFF;
  };
  size_t bytes = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      bytes += 1;
    } else if (c < 0x800) {
      bytes += 2;
    } else if (paired(i)) {
      bytes += 4;
      ++i;
    } else {
      bytes += 3;
    }
  }
  PutCount(out, bytes);
  const size_t start = out.size();
  out.resize(start + bytes);
  char* p = out.data() + start;
  if (bytes == text.size()) {  // ASCII
    for (const char16_t c : text) *p++ = static_cast<char>(c);
    return;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (paired(i)) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
      *p++ = static_cast<char>(0xF0 | (c >> 18));
      *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *p++ = static_cast<char>(0xE0 | (c >> 12));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}

class Unpacker {
 public:
  explicit Unpacker(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return at_ == bytes_.size(); }

  size_t Count() {
    size_t value = 0;
    for (int shift = 0;; shift += 7) {
      const uint8_t b = Byte();
      value |= static_cast<size_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return value;
    }
  }

  uint8_t Byte() {
    if (at_ >= bytes_.size()) Corrupt();
    return static_cast<uint8_t>(bytes_[at_++]);
  }

  String Text() {
    String text;
    AppendText(text);
    return text;
  }

  void SkipText() {
    const size_t size = Count();
    if (size > bytes_.size() - at_) Corrupt();
    at_ += size;
  }

  // Decodes the next string onto the end of `out`.
  void AppendText(String& out) {
    const size_t size = Count();
    if (size > bytes_.size() - at_) Corrupt();
    const std::string_view bytes = bytes_.substr(at_, size);
    at_ += size;
    // Units: every byte that does not continue a sequence, and two for a four-byte sequence.
    size_t units = 0;
    uint8_t high = 0;  // the bits of all bytes above ASCII
    for (const char b : bytes) {
      const auto u = static_cast<uint8_t>(b);
      units += (u & 0xC0) != 0x80;
      units += u >= 0xF0;
      high |= u & 0x80;
    }
    const size_t start = out.size();
    out.resize(start + units);
    char16_t* p = out.data() + start;
    char16_t* const end = p + units;
    if (high == 0) {
      for (const char b : bytes) *p++ = static_cast<char16_t>(b);
      return;
    }
    for (size_t i = 0; i < bytes.size();) {
      const auto lead = static_cast<uint8_t>(bytes[i]);
      const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
      if (i + length > bytes.size()) Corrupt();
      char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
      for (size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<uint8_t>(bytes[i + k]) & 0x3F);
      i += length;
      if (end - p < (c >= 0x10000 ? 2 : 1)) Corrupt();
      if (c >= 0x10000) {
        c -= 0x10000;
        *p++ = static_cast<char16_t>(0xD800 + (c >> 10));
        *p++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
      } else {
        *p++ = static_cast<char16_t>(c);
      }
    }
    out.resize(static_cast<size_t>(p - out.data()));
  }

 private:
  [[noreturn]] static void Corrupt() { throw Error(u"The packed prepared page is damaged"); }

  std::string_view bytes_;
  size_t at_ = 0;
};

}  // namespace

std::string PackItems(const TqbxXMLItem& parent) {
  std::string out;
  PutCount(out, static_cast<size_t>(parent.Count()));
  // Preorder without recursion: objects may nest thousands of levels deep.
  std::vector<std::pair<const TqbxXMLItem*, int>> pending{{&parent, 0}};
  while (!pending.empty()) {
    auto& [item, next] = pending.back();
    if (next >= item->Count()) {
      pending.pop_back();
      continue;
    }
    const TqbxXMLItem& child = item->Items(next++);
    PutString(out, child.Name());
    PutString(out, child.Text());
    PutString(out, child.Value());
    out.push_back(static_cast<char>((child.Unloadable ? kUnloadable : 0) | (child.Modified ? kModified : 0)));
    PutCount(out, static_cast<size_t>(child.Count()));
    if (child.Count() > 0) pending.emplace_back(&child, 0);
  }
  out.shrink_to_fit();
  return out;
}

void UnpackItems(std::string_view packed, TqbxXMLItem& parent) {
  Unpacker in(packed);
  // Items still waiting for children, with the number they wait for.
  std::vector<std::pair<TqbxXMLItem*, size_t>> pending{{&parent, in.Count()}};
  while (!pending.empty()) {
    auto& [item, left] = pending.back();
    if (left == 0) {
      pending.pop_back();
      continue;
    }
    --left;
    TqbxXMLItem& child = item->Add(in.Text());
    child.SetText(in.Text());
    child.SetValue(in.Text());
    const uint8_t flags = in.Byte();
    child.Unloadable = (flags & kUnloadable) != 0;
    child.Modified = (flags & kModified) != 0;
    if (const size_t count = in.Count(); count > 0) pending.emplace_back(&child, count);
  }
  if (!in.AtEnd()) throw Error(u"The packed prepared page is damaged");
}

PackedElements::PackedElements(std::string_view packed) {
  Unpacker in(packed);
  roots_ = in.Count();
  // Name and text of each element as offsets into the buffer until it stops growing.
  std::vector<size_t> bounds;
  std::vector<size_t> pending{roots_};  // children still to read, per open level
  while (!pending.empty()) {
    if (pending.back() == 0) {
      pending.pop_back();
      continue;
    }
    --pending.back();
    for (int part = 0; part < 2; ++part) {
      bounds.push_back(buffer_.size());
      in.AppendText(buffer_);
    }
    bounds.push_back(buffer_.size());
    in.SkipText();  // the value
    in.Byte();
    const size_t count = in.Count();
    elements_.push_back({{}, {}, count});
    if (count > 0) pending.push_back(count);
  }
  if (!in.AtEnd()) throw Error(u"The packed prepared page is damaged");
  const StringView all(buffer_);
  for (size_t i = 0; i < elements_.size(); ++i) {
    const size_t* at = &bounds[3 * i];
    elements_[i].name = all.substr(at[0], at[1] - at[0]);
    elements_[i].text = all.substr(at[1], at[2] - at[1]);
  }
}

}  // namespace zavrik
