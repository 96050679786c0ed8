// Finding RT_VERSION in a PE file and walking the VS_VERSIONINFO node tree.
#include "archive/TPEVersionBlock.h"

#include "archive/PEResources.h"
#include "rtl/ByteOrder.h"

namespace qnl {

namespace {

constexpr uint32_t kRtVersion = 16;
// A version block larger than this is not a version block (real ones are a few KiB).
constexpr uint32_t kMaxBlockSize = 1 << 20;

std::string ReadVersionResource(TStream& Stream) {
  std::string block = ReadPEResource(Stream, kRtVersion, 0, kMaxBlockSize);
  return block.size() < 6 ? std::string() : block;
}

size_t Align4(size_t V) { return (V + 3) & ~size_t(3); }

// One node of the tree: [start, end) bounds, key, value bytes and where children begin.
struct TNode {
  size_t End = 0;
  std::string Key; // ASCII-folded key; other characters as '?'
  size_t ValueAt = 0, ValueLen = 0;
  bool Text = false;
  size_t ChildrenAt = 0;
};

bool ParseNode(const std::string& B, size_t At, size_t Limit, TNode& N) {
  if (At + 6 > Limit) return false;
  size_t length = ReadLE16(B, At), valueLength = ReadLE16(B, At + 2);
  N.Text = ReadLE16(B, At + 4) == 1;
  if (length < 6 || At + length > Limit) return false;
  N.End = At + length;
  size_t p = At + 6;
  N.Key.clear();
  for (;;) {
    if (p + 2 > N.End) return false;
    uint32_t c = ReadLE16(B, p);
    p += 2;
    if (c == 0) break;
    N.Key += c < 128 ? char(c) : '?';
  }
  p = Align4(p);
  N.ValueAt = p > N.End ? N.End : p;
  size_t bytes = N.Text ? valueLength * 2 : valueLength;
  N.ValueLen = N.ValueAt + bytes > N.End ? N.End - N.ValueAt : bytes;
  N.ChildrenAt = Align4(N.ValueAt + N.ValueLen);
  return true;
}

bool SameKey(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i) {
    char x = A[i], y = B[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

} // namespace

TPEVersionBlock::TPEVersionBlock(std::string Block) : FBlock(std::move(Block)) {
  TNode root;
  if (!ParseNode(FBlock, 0, FBlock.size(), root) || !SameKey(root.Key, "VS_VERSION_INFO")) FBlock.clear();
}

TPEVersionBlock TPEVersionBlock::FromImage(TStream& Stream) { return TPEVersionBlock(ReadVersionResource(Stream)); }

TPEVersionBlock TPEVersionBlock::FromImage(std::string_view Image) {
  TMemoryStream m{std::string(Image)};
  return FromImage(m);
}

std::optional<std::string> TPEVersionBlock::QueryValue(std::string_view SubBlock) const {
  TNode node;
  if (FBlock.empty() || !ParseNode(FBlock, 0, FBlock.size(), node)) return std::nullopt;
  size_t pos = 0;
  while (pos < SubBlock.size()) {
    while (pos < SubBlock.size() && SubBlock[pos] == '\\') ++pos;
    if (pos >= SubBlock.size()) break;
    size_t end = SubBlock.find('\\', pos);
    if (end == std::string_view::npos) end = SubBlock.size();
    std::string_view key = SubBlock.substr(pos, end - pos);
    pos = end;
    bool found = false;
    // Children strictly advance, so the walk ends within the block.
    for (size_t at = node.ChildrenAt; at + 6 <= node.End;) {
      TNode child;
      if (!ParseNode(FBlock, at, node.End, child)) break;
      if (SameKey(child.Key, key)) {
        node = child;
        found = true;
        break;
      }
      at = Align4(child.End);
    }
    if (!found) return std::nullopt;
  }
  std::string value = FBlock.substr(node.ValueAt, node.ValueLen);
  if (node.Text) {
    size_t n = 0;
    while (n + 1 < value.size() && (value[n] || value[n + 1])) n += 2;
    value.resize(n);
  }
  return value;
}

std::optional<std::string> TPEVersionBlock::QueryString(std::string_view SubBlock) const {
  auto raw = QueryValue(SubBlock);
  if (!raw) return std::nullopt;
  std::string out;
  for (size_t i = 0; i + 1 < raw->size(); i += 2) {
    uint32_t c = ReadLE16(*raw, i);
    out += c < 256 ? char(c) : '?';
  }
  return out;
}

} // namespace qnl
