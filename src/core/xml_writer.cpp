#include "core/xml_writer.h"

namespace zavrik {

void XmlWriter::WriteLine(std::string_view line, int level) {
  if (auto_indent_) buffer_.append(static_cast<size_t>(level), ' ');
  buffer_ += line;
  if (auto_indent_) buffer_ += "\r\n";
  if (buffer_.size() > 4096) Flush();
}

void XmlWriter::WriteElementHead(int level, std::string_view name, std::string_view attributes,
                                 bool has_children, std::string_view value) {
  line_.clear();
  line_ += '<';
  line_ += name;
  if (!attributes.empty()) {
    if (attributes.front() != ' ') line_ += ' ';
    line_ += attributes;
  }
  if (has_children) {
    line_ += '>';
  } else if (!value.empty()) {
    line_ += '>';
    line_ += value;
    line_ += "</";
    line_ += name;
    line_ += '>';
  } else {
    line_ += "/>";
  }
  WriteLine(line_, level);
}

void XmlWriter::WriteElementEnd(int level, std::string_view name) {
  line_.clear();
  line_ += "</";
  line_ += name;
  line_ += '>';
  WriteLine(line_, level);
}

void XmlWriter::Flush() {
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.clear();
}

}  // namespace zavrik
