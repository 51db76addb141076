#include "report/model/views/qbx_picture.h"

#include <algorithm>

#include "core/rtti_props.h"
#include "platform/byte_reader.h"
#include "platform/emf_format.h"
#include "platform/emf_player.h"
#include "platform/wmf_player.h"
#include "report/document/qbx_prop_stream.h"

namespace zavrik {
namespace {

std::span<const uint8_t> AsBytes(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// The template's image class of a format, and whether its data starts with a 4-byte length.
const char* ClassNameOf(ImageFormat format) {
  switch (format) {
    case ImageFormat::kBitmap: return "TBitmap";
    case ImageFormat::kJpeg: return "TJPEGImage";
    case ImageFormat::kPng: return "TPngImage";
    case ImageFormat::kWmf:
    case ImageFormat::kEmf: return "TMetafile";
    case ImageFormat::kIcon: return "TIcon";
    case ImageFormat::kTiff: return "TWICImage";
    case ImageFormat::kNone: break;
  }
  return "";
}

void PutU32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

[[noreturn]] void Damaged() { throw ImageDataError(u"damaged image data"); }

}  // namespace

const ClassInfo& TqbxPicture::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TPicture", nullptr, &New<TqbxPicture>, {}); });
  return info;
}

void TqbxPicture::Clear() {
  const bool was_empty = Empty();
  FFormat = ImageFormat::kNone;
  FWidth = FHeight = 0;
  FBytes.clear();
  FEmf.clear();
  FImage = {};
  if (!was_empty) Changed();
}

void TqbxPicture::Assign(const TqbxPicture& source) {
  FFormat = source.FFormat;
  FWidth = source.FWidth;
  FHeight = source.FHeight;
  FBytes = source.FBytes;
  FEmf = source.FEmf;
  FImage = source.FImage;
  Changed();
}

void TqbxPicture::Changed() {
  if (OnChange) OnChange();
}

void TqbxPicture::Load(ImageFormat format, std::span<const uint8_t> bytes) {
  FFormat = ImageFormat::kNone;
  FWidth = FHeight = 0;
  FBytes.clear();
  FEmf.clear();
  FImage = {};
  try {
    switch (format) {
      case ImageFormat::kBitmap: FImage = DecodeBmp(bytes); break;
      case ImageFormat::kJpeg: FImage = DecodeJpeg(bytes); break;
      case ImageFormat::kPng:
        bytes = bytes.first(PngLength(bytes));
        FImage = DecodePng(bytes);
        break;
      case ImageFormat::kIcon: FImage = DecodeIcon(bytes); break;
      case ImageFormat::kTiff: FImage = DecodeTiff(bytes); break;
      case ImageFormat::kEmf: {
        std::vector<EmfRecord> records;
        try {
          records = ReadEmfRecords(bytes);
        } catch (const Error&) {
          Damaged();
        }
        if (records.empty()) Damaged();
        const EmfRecord& last = records.back();
        bytes = bytes.first(static_cast<size_t>(last.bytes.data() + last.bytes.size() - bytes.data()));
        const Rect frame = EmfFrameInPixels(bytes);
        FEmf.assign(bytes.begin(), bytes.end());
        FImage.width = frame.Width() + 1;
        FImage.height = frame.Height() + 1;
        break;
      }
      case ImageFormat::kWmf: {
        WmfPicture wmf = ConvertWmfToEmf(bytes);
        bytes = bytes.first(wmf.length);
        FEmf = std::move(wmf.emf);
        FImage.width = wmf.width;
        FImage.height = wmf.height;
        break;
      }
      case ImageFormat::kNone: Damaged();
    }
    CheckImageSize(FImage.width, FImage.height);
  } catch (const ImageDataError&) {
    FImage = {};
    FEmf.clear();
    Changed();
    throw;
  } catch (const Error&) {
    // A reader's own complaint (a metafile header, say) is damaged image data too.
    FImage = {};
    FEmf.clear();
    Changed();
    Damaged();
  }
  FFormat = format;
  FWidth = FImage.width;
  FHeight = FImage.height;
  if (IsMetafile()) FImage = {};
  FBytes.assign(bytes.begin(), bytes.end());
  Changed();
}

bool TqbxPicture::LoadFromBytes(std::span<const uint8_t> bytes) {
  const ImageFormat format = ProbeImageFormat(bytes);
  if (format == ImageFormat::kNone) {
    Clear();
    return false;
  }
  Load(format, bytes);
  return true;
}

void TqbxPicture::Draw(Canvas& canvas, const Rect& dest, std::optional<Color> transparent, bool smooth) const {
  if (Empty()) return;
  if (IsMetafile()) {
    canvas.Save();
    canvas.IntersectClip(dest);
    try {
      PlayEmf(FEmf, canvas, dest);
    } catch (const Error&) {
      // Checked when loaded; a failure now leaves what was drawn.
    }
    canvas.Restore();
    return;
  }
  canvas.StretchDraw(dest, FImage, transparent, smooth);
}

// --- template form

std::string TqbxPicture::DataBytes() const {
  if (Empty()) return {};
  const std::string name = ClassNameOf(FFormat);
  std::string out(1, static_cast<char>(name.size()));
  out += name;
  const std::string_view bytes(reinterpret_cast<const char*>(FBytes.data()), FBytes.size());
  switch (FFormat) {
    case ImageFormat::kBitmap:
    case ImageFormat::kJpeg: PutU32(out, static_cast<uint32_t>(bytes.size())); break;
    case ImageFormat::kWmf:
    case ImageFormat::kEmf: PutU32(out, static_cast<uint32_t>(bytes.size() + 4)); break;
    default: break;
  }
  out += bytes;
  return out;
}

void TqbxPicture::ReadDataBytes(std::span<const uint8_t> data) {
  ByteReader r(data);
  std::string name;
  std::span<const uint8_t> image;
  ImageFormat format = ImageFormat::kNone;
  try {
    const uint8_t length = r.U8();
    const std::span<const uint8_t> text = r.Bytes(length);
    name.assign(text.begin(), text.end());
    const std::span<const uint8_t> rest = data.subspan(r.Position());
    if (name == "TBitmap" || name == "TJPEGImage") {
      const uint32_t size = r.U32();
      if (size == 0) return Clear();
      image = r.Bytes(size);
      format = name == "TBitmap" ? ImageFormat::kBitmap : ImageFormat::kJpeg;
    } else if (name == "TPngImage" || name == "TPNGObject") {
      image = rest;
      format = ImageFormat::kPng;
    } else if (name == "TMetafile") {
      const uint32_t size = r.U32();
      if (size <= 4) return Clear();
      image = r.Bytes(size - 4);
      format = ProbeImageFormat(image);
      if (format != ImageFormat::kEmf && format != ImageFormat::kWmf) Damaged();
    } else if (name == "TIcon") {
      image = rest;
      format = ImageFormat::kIcon;
    } else if (name == "TWICImage") {
      image = rest;
      format = ImageFormat::kTiff;
    } else {
      return Clear();
    }
  } catch (const ImageDataError&) {
    Clear();
    throw;
  } catch (const Error&) {
    Clear();
    Damaged();
  }
  Load(format, image);
}

bool TqbxPicture::ReadDefinedProperty(StringView name, TqbxPropReader& reader, TqbxXMLSerializer& serializer) {
  if (name != u"Data") return false;
  if (reader.ReadValueType() != vaBinary) throw Error(u"Invalid property value");
  const std::string bytes = reader.ReadBinary();
  try {
    ReadDataBytes(AsBytes(bytes));
  } catch (const ImageDataError& e) {
    serializer.AddError((OwnerName ? OwnerName() + u": " : String()) + e.Message());
  }
  return true;
}

void TqbxPicture::WriteDefinedProperties(TqbxPropWriter& writer) const {
  if (Empty()) return;
  writer.WritePropName(u"Data");
  writer.WriteBinary(DataBytes());
}

}  // namespace zavrik
