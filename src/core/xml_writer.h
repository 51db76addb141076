// The writer of the XML dialect shared by report templates and script grammars / syntax trees.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zavrik {

// Writes element lines through a 4096-byte buffer. With auto-indent every line is indented by
// its level in spaces and ended by CR LF; otherwise lines follow each other directly.
class XmlWriter {
 public:
  XmlWriter(std::ostream& out, bool auto_indent) : out_(out), auto_indent_(auto_indent) {}
  XmlWriter(const XmlWriter&) = delete;
  XmlWriter& operator=(const XmlWriter&) = delete;

  // One line, e.g. the declaration.
  void WriteLine(std::string_view line, int level = 0);
  // `<name attributes` followed by `>` when the element has children, else by
  // `>value</name>` when `value` is not empty, else by `/>`. `attributes` is the UTF-8 attribute
  // text; a separating space is added when it lacks one.
  void WriteElementHead(int level, std::string_view name, std::string_view attributes,
                        bool has_children, std::string_view value = {});
  void WriteElementEnd(int level, std::string_view name);
  // Writes what is buffered to the stream.
  void Flush();

 private:
  std::ostream& out_;
  bool auto_indent_;
  std::string buffer_;
  std::string line_;
};

// Visits an element tree depth-first without recursion (nesting depth is limited by memory only):
// `open(item, level)` before an element's children, `close(item, level)` after them; the level
// starts at 0 and grows by 2 per nesting level. Items provide Count() and Items(index).
template <class Item, class Open, class Close>
void WalkXmlTree(Item& root, Open open, Close close) {
  struct Frame {
    Item* item;
    int level;
    int next_child;
  };
  open(root, 0);
  std::vector<Frame> stack{{&root, 0, 0}};
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next_child >= top.item->Count()) {
      close(*top.item, top.level);
      stack.pop_back();
      continue;
    }
    Item& child = top.item->Items(top.next_child++);
    const int level = top.level + 2;
    open(child, level);
    stack.push_back({&child, level, 0});
  }
}

}  // namespace zavrik
