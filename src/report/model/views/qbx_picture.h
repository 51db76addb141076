// TqbxPicture: the image of a picture view, kept in its own file format (the bytes that templates
// and the prepared pages' picture cache store) together with its decoded raster. Metafiles stay
// bytes: enhanced metafiles are played onto canvases, placeable Windows metafiles are converted
// to enhanced ones when they load.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "core/rtti.h"
#include "platform/canvas.h"
#include "platform/image_decode.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik {

class TqbxPicture : public Object, public TqbxDefinedProperties {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool Empty() const { return FFormat == ImageFormat::kNone; }
  ImageFormat Format() const { return FFormat; }
  bool IsMetafile() const { return FFormat == ImageFormat::kEmf || FFormat == ImageFormat::kWmf; }
  // Pixel size (metafiles: their frame at 96 pixels per inch).
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // The picture's file: a BMP, JPEG, PNG, icon or TIFF file, or the metafile as it was given.
  const std::vector<uint8_t>& Bytes() const { return FBytes; }
  // The enhanced metafile that draws a metafile picture (the converted one for Windows
  // metafiles).
  const std::vector<uint8_t>& Emf() const { return FEmf; }

  void Clear();
  void Assign(const TqbxPicture& source);
  // Takes the picture of a known format from the start of `bytes`; raises ImageDataError for
  // damaged data (the picture is then empty).
  void Load(ImageFormat format, std::span<const uint8_t> bytes);
  // Probes the format, then loads; false when the bytes are in no known format (the picture is
  // then empty). Damaged data of a known format raises ImageDataError.
  bool LoadFromBytes(std::span<const uint8_t> bytes);

  // Draws the picture stretched into `dest`.
  void Draw(Canvas& canvas, const Rect& dest, std::optional<Color> transparent, bool smooth) const;

  // Called after every change of the image.
  std::function<void()> OnChange;
  // The owner's name, which leads the messages of damaged template data.
  std::function<String()> OwnerName;

  // Template form: "Data" = length byte, class name, the class's own form of the image.
  bool ReadDefinedProperty(StringView name, TqbxPropReader& reader, TqbxXMLSerializer& serializer) override;
  void WriteDefinedProperties(TqbxPropWriter& writer) const override;
  // The picture data of the template form; empty for an empty picture.
  std::string DataBytes() const;
  // Reads the picture data of the template form; an unknown class name leaves the picture empty.
  void ReadDataBytes(std::span<const uint8_t> data);

 private:
  void Changed();

  ImageFormat FFormat = ImageFormat::kNone;
  int FWidth = 0, FHeight = 0;
  std::vector<uint8_t> FBytes;
  std::vector<uint8_t> FEmf;
  Image FImage;
};

}  // namespace zavrik
