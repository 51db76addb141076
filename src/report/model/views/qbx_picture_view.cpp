#include "report/model/views/qbx_picture_view.h"

#include <filesystem>
#include <fstream>

#include "core/float_text.h"
#include "core/numeric.h"
#include "core/rtti_props.h"
#include "platform/text_record_canvas.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_diff.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {
namespace {

// Files beyond this size are refused before they are read.
constexpr uintmax_t kMaxPictureFileBytes = 256u << 20;

int Round(double value) {
  const double r = RoundHalfEven(value);
  if (!(r == r)) return 0;
  return static_cast<int>(std::clamp(r, -1e9, 1e9));
}

uint16_t U16At(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

ImageFormat FormatOfExtension(const String& extension) {
  const String e = AsciiLower(extension);
  if (e == u"bmp") return ImageFormat::kBitmap;
  if (e == u"jpg" || e == u"jpeg") return ImageFormat::kJpeg;
  if (e == u"png") return ImageFormat::kPng;
  if (e == u"emf") return ImageFormat::kEmf;
  if (e == u"wmf") return ImageFormat::kWmf;
  if (e == u"ico") return ImageFormat::kIcon;
  if (e == u"tif" || e == u"tiff") return ImageFormat::kTiff;
  return ImageFormat::kNone;
}

}  // namespace

TqbxPictureView::TqbxPictureView() {
  SetComponentStyle(ComponentStyle() & ~csDefaultDiff);
  FPicture->OnChange = [this] { PictureReplaced(); };
  FPicture->OwnerName = [this] { return Name(); };
}

TqbxPictureView::~TqbxPictureView() { FPicture->OnChange = nullptr; }

const ClassInfo& TqbxPictureView::StaticClass() {
  using C = TqbxPictureView;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxPictureView", &TqbxView::StaticClass(), &New<TqbxPictureView>, JoinProps({
      FillProps(),
      {
          Prop(u"AutoSize", &C::AutoSize, &C::SetAutoSize).Default(0),
          Prop(u"Center", &C::Center, &C::SetCenter).Default(0),
          Prop(u"FileLink", &C::FileLink, &C::SetFileLink),
          Prop(u"ImageIndex", &C::ImageIndex, &C::SetImageIndex).Stored(&C::IsImageIndexStored),
          Prop(u"KeepAspectRatio", &C::KeepAspectRatio, &C::SetKeepAspectRatio).Default(1),
          Prop(u"Picture", &C::Picture).Stored(&C::IsPictureStored),
          Prop(u"Stretched", &C::Stretched, &C::SetStretched).Default(1),
          Prop(u"TransparentColor", &C::TransparentColor, &C::SetTransparentColor).Default(16777215),
          Prop(u"HightQuality", &C::HightQuality, &C::SetHightQuality).Default(0),
          Prop(u"Transparent", &C::Transparent, &C::SetTransparent).Default(0),
      },
  })); });
  return info;
}

void TqbxPictureView::SetAutoSize(bool value) {
  FAutoSize = value;
  if (FAutoSize && !FPicture->Empty()) {
    SetWidth(FPicture->Width());
    SetHeight(FPicture->Height());
  }
}

void TqbxPictureView::PictureReplaced() {
  FPictureChanged = true;
  SetAutoSize(FAutoSize);
}

uint32_t TqbxPictureView::LoadPictureFromStream(std::span<const uint8_t> stream, size_t position) {
  position = std::min(position, stream.size());
  std::span<const uint8_t> bytes = stream.subspan(position);
  // An 8-byte storage header: 1, 256 and the length of what follows.
  if (bytes.size() >= 8 && U16At(bytes, 0) == 1 && U16At(bytes, 2) == 256) {
    const uint32_t length = bytes[4] | (uint32_t{bytes[5]} << 8) | (uint32_t{bytes[6]} << 16) |
                            (uint32_t{bytes[7]} << 24);
    if (uint64_t{length} + 8 == bytes.size()) bytes = bytes.subspan(8);
  }
  return FPicture->LoadFromBytes(bytes) ? 0 : E_INVALIDARG;
}

void TqbxPictureView::LoadFromCache(std::span<const uint8_t> bytes) {
  try {
    LoadPictureFromStream(bytes);
  } catch (const ImageDataError&) {
    FPicture->Clear();
  }
}

void TqbxPictureView::ReportPictureError(const String& cause) {
  FPicture->Clear();
  if (auto* report = dynamic_cast<TqbxReport*>(Report())) report->Errors.Add(Name() + u": " + cause);
}

void TqbxPictureView::LoadFileLink() {
  const String name = ExpandBracketed(FFileLink);
  const std::filesystem::path path(StringToUtf8(name));
  std::error_code error;
  // A missing file (or anything that is not a file) leaves the picture empty.
  if (!std::filesystem::is_regular_file(path, error)) {
    FPicture->Clear();
    return;
  }
  String extension = Utf8ToString(path.extension().string());
  if (!extension.empty() && extension[0] == u'.') extension.erase(0, 1);
  const ImageFormat format = FormatOfExtension(extension);
  if (format == ImageFormat::kNone) {
    throw ImageDataError(u"Unknown picture file extension (." + extension + u")");
  }
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaxPictureFileBytes) throw ImageDataError(u"image too large");
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    throw ImageDataError(u"Cannot read the file " + name);
  FPicture->Load(format, bytes);
}

void TqbxPictureView::GetData() {
  TqbxView::GetData();
  // Damaged pictures and unknown file extensions leave the picture empty and one message; the
  // report goes on.
  try {
    if (!FFileLink.empty()) {
      LoadFileLink();
    } else if (auto* source = IsDataField() ? dynamic_cast<TqbxFieldSource*>(DataSet()) : nullptr;
               source && source->IsBlobField(DataField())) {
      const std::string bytes = source->BlobBytes(DataField());
      LoadPictureFromStream({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    }
  } catch (const ImageDataError& e) {
    ReportPictureError(e.Message());
  }
}

Rect TqbxPictureView::FitPicture(double scale_x, double scale_y) const {
  Rect r{FX, FY, FX1, FY1};
  const int pw = FPicture->Width(), ph = FPicture->Height();
  if (pw <= 0 || ph <= 0) return r;
  if (FStretched) {
    if (FKeepAspectRatio) {
      const double kx = static_cast<double>(FDX) / pw, ky = static_cast<double>(FDY) / ph;
      if (kx < ky) r.bottom = r.top + Round(ph * kx);
      else r.right = r.left + Round(pw * ky);
      if (FCenter) {
        const int dx = (FDX + r.left - r.right) / 2, dy = (FDY + r.top - r.bottom) / 2;
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
      }
    }
    return r;
  }
  if (FCenter) {
    r.left += (FDX - Round(scale_x * pw)) / 2;
    r.top += (FDY - Round(scale_y * ph)) / 2;
  }
  r.right = r.left + Round(scale_x * pw);
  r.bottom = r.top + Round(scale_y * ph);
  return r;
}

Rect TqbxPictureView::PictureRect() {
  TextRecordCanvas measure;
  CalcDeviceRect(measure, 1, 1, 0, 0);
  FCanvas = nullptr;
  return FitPicture(1, 1);
}

void TqbxPictureView::Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) {
  CalcDeviceRect(canvas, scale_x, scale_y, offset_x, offset_y);
  if (!FDrawAsMask) PaintBackground();
  const std::optional<zavrik::Color> transparent =
      FTransparent && static_cast<uint32_t>(FTransparentColor) != clNone
          ? std::optional<zavrik::Color>(ColorToRgb(static_cast<zavrik::Color>(FTransparentColor)))
          : std::nullopt;
  if (!FPicture->Empty() && FPicture->Width() > 0 && FPicture->Height() > 0) {
    const Rect r = FitPicture(scale_x, scale_y);
    if (FStretched) {
      FPicture->Draw(canvas, r, transparent, FHightQuality);
    } else {
      canvas.Save();
      canvas.IntersectClip({FX, FY, FX1, FY1});
      FPicture->Draw(canvas, r, transparent, FHightQuality);
      canvas.Restore();
    }
  }
  PaintFrame();
}

String TqbxPictureView::Diff(const TqbxComponent* other) const {
  const auto* o = dynamic_cast<const TqbxPictureView*>(other);
  if (!o) return TqbxView::Diff(other);
  if (FPictureChanged) {
    // The prepared pages keep each new picture once; the printed object refers to it.
    auto* report = dynamic_cast<TqbxReport*>(Report());
    if (report && report->PreviewPages()) {
      FImageIndex = report->PreviewPages()->AddPicture(FPicture->Bytes());
      FImageIndexStored = true;
    }
    FPictureChanged = false;
  }
  String out = u" " + TqbxView::Diff(o);
  DiffAttr(out, u"ImageIndex", IntToStr(FImageIndex));
  if (FTransparent) DiffAttr(out, u"Transparent", u"True");
  if (FTransparentColor != 16777215) DiffAttr(out, u"TransparentColor", IntToStr(FTransparentColor));
  return out;
}

}  // namespace zavrik
