// The markup of texts (<b>, <i>, <u>, <strike>, <sub>, <sup>, <nowrap>, <font color=...>) and the
// per-character styles it leaves on the wrapped lines.
#pragma once

#include <cstdint>
#include <vector>

#include "core/ustring.h"
#include "platform/color.h"
#include "platform/font_request.h"

namespace zavrik {

enum TqbxSubStyle : uint8_t { ssNormal, ssSubscript, ssSuperscript };

// The style of one visible character.
struct TqbxHTMLTag {
  int Position = 0;  // 1-based position in PlainText (markup and line breaks counted)
  int Size = 0;      // points
  int AddY = 0;      // 1 for subscript
  FontStyles Style = 0;
  zavrik::Color Color = clBlack;
  bool Default = true;  // same style as the previous character
  bool Small = false;   // Size differs from the default size
  bool DontWRAP = false;
  TqbxSubStyle SubType = ssNormal;
};

using TqbxHTMLTags = std::vector<TqbxHTMLTag>;

// The styles of all wrapped lines plus the markup parser's state.
class TqbxHTMLTagsList {
 public:
  // Starts a text: the state becomes the defaults, Position 1, no open tags, no lines.
  void Reset(zavrik::Color def_color, int def_size, FontStyles def_style);

  // Removes the recognised tags from one source line and returns one record per remaining
  // character (with AllowTags off every character keeps the defaults). A line left empty becomes
  // a single space when keep_empty is false. Position moves past the line and its line break.
  TqbxHTMLTags ExpandHTMLTags(String& line, bool keep_empty = false);

  std::vector<TqbxHTMLTags> Lines;  // the records of every wrapped line

  bool AllowTags = true;
  zavrik::Color Color = clBlack;
  int Size = 10;
  FontStyles Style = 0;
  int AddY = 0;
  bool DontWRAP = false;
  TqbxSubStyle SubStyle = ssNormal;
  int Position = 1;
  zavrik::Color DefColor = clBlack;
  int DefSize = 10;
  FontStyles DefStyle = 0;

 private:
  struct OpenTag {
    String name;
    String text;  // the whole opening tag, for re-opening
  };
  // The length of the recognised tag at line[at] (0 when none), applying its effect.
  size_t ApplyTag(String& line, size_t at);
  void Open(const String& name, StringView text);
  void Close(const String& name, String& line, size_t after);
  TqbxHTMLTag Record() const;

  std::vector<OpenTag> stack_;
};

// The text with its recognised markup removed (lines stay as they are).
String DeleteTags(StringView text);

}  // namespace zavrik
