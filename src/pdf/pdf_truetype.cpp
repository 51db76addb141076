#include "pdf/pdf_truetype.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "core/error.h"

namespace zavrik::pdf {
namespace {

constexpr const char* kDroppedTables[] = {"EBLC", "EBDT", "hdmx", "VDMX", "DSIG"};

[[noreturn]] void FormatError() { throw Error(u"TrueType font format error"); }

// Big-endian reads, checked against the bytes.
uint32_t BE(std::span<const uint8_t> bytes, size_t at, size_t size) {
  if (at > bytes.size() || size > bytes.size() - at) FormatError();
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) value = value << 8 | bytes[at + i];
  return value;
}
uint16_t U16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(BE(b, at, 2)); }
uint32_t U32(std::span<const uint8_t> b, size_t at) { return BE(b, at, 4); }

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v >> 16));
  Put16(out, static_cast<uint16_t>(v));
}
void Patch32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
void PadTo4(std::vector<uint8_t>& out) {
  while (out.size() % 4) out.push_back(0);
}

// The checksum of a table as stored: the font header counts with checkSumAdjustment as 0.
uint32_t StoredFormChecksum(const std::string& tag, std::span<const uint8_t> data) {
  if (tag != "head" || data.size() < 12) return TableChecksum(data);
  std::vector<uint8_t> copy(data.begin(), data.end());
  Patch32(copy, 8, 0);
  return TableChecksum(copy);
}

// The component glyphs of a composite glyph's outline.
std::vector<uint16_t> Components(std::span<const uint8_t> glyph) {
  std::vector<uint16_t> components;
  if (glyph.size() < 10 || static_cast<int16_t>(U16(glyph, 0)) >= 0) return components;
  size_t at = 10;
  for (uint16_t flags = 0x20; flags & 0x20;) {
    flags = U16(glyph, at);
    components.push_back(U16(glyph, at + 2));
    at += 4 + ((flags & 1) ? 4 : 2);
    if (flags & 8)
      at += 2;
    else if (flags & 0x40)
      at += 4;
    else if (flags & 0x80)
      at += 8;
  }
  return components;
}

}  // namespace

uint32_t TableChecksum(std::span<const uint8_t> bytes) {
  uint32_t sum = 0;
  const size_t whole = bytes.size() / 4 * 4;
  for (size_t i = 0; i < whole; i += 4) {
    uint32_t word;
    std::memcpy(&word, bytes.data() + i, 4);
    sum += __builtin_bswap32(word);
  }
  // The last word is padded with zero bytes.
  uint32_t last = 0;
  for (size_t k = 0; k < 4; ++k) last = last << 8 | (whole + k < bytes.size() ? bytes[whole + k] : 0);
  return whole < bytes.size() ? sum + last : sum;
}

TrueTypeFont::TrueTypeFont(std::span<const uint8_t> program, uint32_t offset) : program_(program) {
  const uint16_t count = U16(program, offset + 4);
  for (uint16_t i = 0; i < count; ++i) {
    const size_t record = offset + 12 + size_t{i} * 16;
    TrueTypeTable table;
    for (size_t k = 0; k < 4; ++k) table.tag += static_cast<char>(BE(program, record + k, 1));
    table.checksum = U32(program, record + 4);
    table.offset = U32(program, record + 8);
    table.length = U32(program, record + 12);
    Data(table);  // the table must lie inside the program
    if (std::find(std::begin(kDroppedTables), std::end(kDroppedTables), table.tag) ==
        std::end(kDroppedTables))
      tables_.push_back(table);
  }
}

const TrueTypeTable* TrueTypeFont::Find(const char* tag) const {
  for (const TrueTypeTable& t : tables_)
    if (t.tag == tag) return &t;
  return nullptr;
}

std::span<const uint8_t> TrueTypeFont::Data(const TrueTypeTable& table) const {
  if (table.offset > program_.size() || table.length > program_.size() - table.offset)
    FormatError();
  return program_.subspan(table.offset, table.length);
}

std::vector<std::string> TrueTypeFont::ChecksumErrors() const {
  std::vector<std::string> errors;
  for (const TrueTypeTable& t : tables_) {
    const uint32_t computed = StoredFormChecksum(t.tag, Data(t));
    if (computed == t.checksum) continue;
    errors.push_back("Table ID \"" + t.tag + "\" checksum error." +
                     std::to_string(static_cast<int32_t>(computed)) + " " +
                     std::to_string(static_cast<int32_t>(t.checksum)));
  }
  return errors;
}

std::vector<uint8_t> TrueTypeFont::Pack(std::set<uint16_t> glyphs) const {
  const TrueTypeTable* glyf = Find("glyf");
  if (!glyf) throw Error(u"Glyph table not found");
  const TrueTypeTable *loca = Find("loca"), *head = Find("head"), *maxp = Find("maxp");
  if (!loca || !head || !maxp) FormatError();
  const std::span<const uint8_t> glyf_data = Data(*glyf), loca_data = Data(*loca);
  const int16_t loca_format = static_cast<int16_t>(U16(Data(*head), 50));
  if (loca_format != 0 && loca_format != 1) throw Error(u"Unknown IndexToLoc value");
  const uint16_t glyph_count = U16(Data(*maxp), 4);
  auto location = [&](size_t g) -> uint32_t {
    return loca_format == 0 ? uint32_t{U16(loca_data, g * 2)} * 2 : U32(loca_data, g * 4);
  };
  auto outline = [&](uint16_t g) -> std::span<const uint8_t> {
    const uint32_t start = location(g), end = location(g + size_t{1});
    if (end < start || end > glyf_data.size()) FormatError();
    return glyf_data.subspan(start, end - start);
  };

  // The used glyphs, .notdef, and the components of composite glyphs, recursively.
  glyphs.insert(0);
  std::vector<uint16_t> pending(glyphs.begin(), glyphs.end());
  while (!pending.empty()) {
    const uint16_t g = pending.back();
    pending.pop_back();
    if (g >= glyph_count) continue;
    for (uint16_t c : Components(outline(g)))
      if (glyphs.insert(c).second) pending.push_back(c);
  }

  std::vector<uint8_t> new_glyf;
  std::vector<uint32_t> offsets;
  for (uint16_t g = 0; g < glyph_count; ++g) {
    offsets.push_back(static_cast<uint32_t>(new_glyf.size()));
    if (!glyphs.count(g)) continue;
    const auto data = outline(g);
    new_glyf.insert(new_glyf.end(), data.begin(), data.end());
    PadTo4(new_glyf);
  }
  offsets.push_back(static_cast<uint32_t>(new_glyf.size()));
  // Short offsets hold half the position in 16 bits; larger outlines need the long form.
  const bool long_form = loca_format == 1 || new_glyf.size() / 2 > 0xFFFF;
  std::vector<uint8_t> new_loca;
  for (uint32_t offset : offsets) {
    if (long_form)
      Put32(new_loca, offset);
    else
      Put16(new_loca, static_cast<uint16_t>(offset / 2));
  }
  const auto head_data = Data(*head);
  std::vector<uint8_t> new_head(head_data.begin(), head_data.end());
  Patch32(new_head, 8, 0);
  if (long_form) new_head[51] = 1, new_head[50] = 0;

  std::map<std::string, std::vector<uint8_t>> replaced{
      {"glyf", std::move(new_glyf)}, {"loca", std::move(new_loca)}, {"head", std::move(new_head)}};
  std::vector<TrueTypeTable> order = tables_;
  std::sort(order.begin(), order.end(),
            [](const TrueTypeTable& a, const TrueTypeTable& b) { return a.offset < b.offset; });

  std::vector<uint8_t> out;
  const uint16_t count = static_cast<uint16_t>(order.size());
  uint16_t entry_selector = 0;
  while ((2u << entry_selector) <= count) ++entry_selector;
  const uint16_t search_range = static_cast<uint16_t>(16u << entry_selector);
  Put32(out, 0x00010000);
  Put16(out, count);
  Put16(out, search_range);
  Put16(out, entry_selector);
  Put16(out, static_cast<uint16_t>(count * 16 - search_range));
  out.resize(12 + size_t{count} * 16);

  std::vector<TrueTypeTable> written;
  size_t head_at = 0;
  for (const TrueTypeTable& t : order) {
    const auto it = replaced.find(t.tag);
    const std::span<const uint8_t> data =
        it != replaced.end() ? std::span<const uint8_t>(it->second) : Data(t);
    if (out.size() % 4) throw Error(u"Align error");
    if (t.tag == "head") head_at = out.size();
    written.push_back({t.tag, TableChecksum(data), static_cast<uint32_t>(out.size()),
                       static_cast<uint32_t>(data.size())});
    out.insert(out.end(), data.begin(), data.end());
    PadTo4(out);
  }
  std::sort(written.begin(), written.end(),
            [](const TrueTypeTable& a, const TrueTypeTable& b) { return a.tag < b.tag; });
  for (size_t i = 0; i < written.size(); ++i) {
    const size_t record = 12 + i * 16;
    for (size_t k = 0; k < 4; ++k) out[record + k] = static_cast<uint8_t>(written[i].tag[k]);
    Patch32(out, record + 4, written[i].checksum);
    Patch32(out, record + 8, written[i].offset);
    Patch32(out, record + 12, written[i].length);
  }
  Patch32(out, head_at + 8, 0xB1B0AFBAu - TableChecksum(out));
  return out;
}

bool IsCompactFontProgram(std::span<const uint8_t> program) {
  return program.size() >= 12 && U32(program, 0) == 0x4F54544F;
}

std::unique_ptr<TrueTypeFont> ReadTrueType(std::span<const uint8_t> program, int index) {
  if (program.size() < 12) FormatError();
  const uint32_t version = U32(program, 0);
  if (version == 0x00010000 || version == 0x74727565 /* "true" */)
    return std::make_unique<TrueTypeFont>(program, 0);
  if (version == 0x4F54544F /* "OTTO" */) return nullptr;
  if (version != 0x74746366 /* "ttcf" */) FormatError();
  const uint32_t collection_version = U32(program, 4);
  if (collection_version != 0x00010000 && collection_version != 0x00020000)
    throw Error(u"Unknown font collection version");
  const uint32_t fonts = U32(program, 8);
  if (fonts == 0) return nullptr;
  const uint32_t chosen = index >= 0 && static_cast<uint32_t>(index) < fonts ? index : 0;
  const uint32_t offset = U32(program, 12 + size_t{chosen} * 4);
  if (U32(program, offset) == 0x4F54544F) return nullptr;
  return std::make_unique<TrueTypeFont>(program, offset);
}

}  // namespace zavrik::pdf
