// TqbxPictureView: prints an image stored in the template, loaded from a file named at print time
// (FileLink) or read from a blob field. Printed pictures reach the prepared pages through their
// picture cache (ImageIndex).
#pragma once

#include <memory>
#include <span>

#include "report/model/views/qbx_picture.h"
#include "report/model/views/qbx_view.h"

namespace zavrik {

// LoadPictureFromStream's answer for bytes in no known format.
inline constexpr uint32_t E_INVALIDARG = 0x80070057u;

class TqbxPictureView : public TqbxView {
 public:
  TqbxPictureView();
  ~TqbxPictureView() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxPicture* Picture() const { return FPicture.get(); }
  bool IsPictureStored() const { return FIsPictureStored && !FPicture->Empty(); }
  // Source copies of the prepared pages leave the picture out: printed pictures come from the cache.
  void SetPictureStored(bool value) { FIsPictureStored = value; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Stretched() const { return FStretched; }
  void SetStretched(bool v) { FStretched = v; }
  bool KeepAspectRatio() const { return FKeepAspectRatio; }
  void SetKeepAspectRatio(bool v) { FKeepAspectRatio = v; }
  bool Center() const { return FCenter; }
  void SetCenter(bool v) { FCenter = v; }
  const String& FileLink() const { return FFileLink; }
  void SetFileLink(const String& v) { FFileLink = v; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v) { FTransparent = v; }
  int32_t TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(int32_t v) { FTransparentColor = v; }
  bool HightQuality() const { return FHightQuality; }
  void SetHightQuality(bool v) { FHightQuality = v; }
  int32_t ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int32_t v) {
    FImageIndex = v;
    FImageIndexStored = true;
  }
  bool IsImageIndexStored() const { return FImageIndexStored; }
  // Set whenever the image changes; the prepared pages' picture cache takes the image then.
  bool PictureChanged() const { return FPictureChanged; }

  // Loads an image of any known format from `stream` at `position`, after an 8-byte storage
  // header when there is one; 0, or E_INVALIDARG when nothing is recognised (the picture is then
  // empty). Damaged data of a known format raises ImageDataError.
  uint32_t LoadPictureFromStream(std::span<const uint8_t> stream, size_t position = 0);
  // The picture of the prepared pages' cache: empty bytes clear it.
  void LoadFromCache(std::span<const uint8_t> bytes);

  void GetData() override;
  void Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) override;
  bool IsEMFExportable() const override { return AllowVectorExport() && FPicture->IsMetafile(); }
  // The rectangle the picture fills when the view is drawn at scale 1 (report pixels), for
  // exports that place the picture's own drawing.
  Rect PictureRect();
  String Diff(const TqbxComponent* other) const override;

 private:
  // The picture's rectangle inside the device rectangle of the last CalcDeviceRect.
  Rect FitPicture(double scale_x, double scale_y) const;
  void PictureReplaced();
  void LoadFileLink();
  void ReportPictureError(const String& cause);

  std::unique_ptr<TqbxPicture> FPicture = std::make_unique<TqbxPicture>();
  bool FIsPictureStored = true;
  bool FAutoSize = false, FStretched = true, FKeepAspectRatio = true, FCenter = false;
  String FFileLink;
  bool FTransparent = false;
  int32_t FTransparentColor = 16777215;
  bool FHightQuality = false;
  mutable int32_t FImageIndex = 0;
  mutable bool FImageIndexStored = false;
  mutable bool FPictureChanged = false;
};

}  // namespace zavrik
