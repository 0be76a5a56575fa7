#include "common/format/records.h"

#include <algorithm>

#include "common/text/cp1252.h"

namespace pivolane::format {

namespace {

// Writes and reads little-endian fields one after the other.
class Writer {
 public:
  explicit Writer(std::span<std::uint8_t> out) : out_(out) {}
  template <typename Int>
  void Integer(Int value) {
    auto u = static_cast<std::make_unsigned_t<Int>>(value);
    for (std::size_t i = 0; i < sizeof(Int); ++i) {
      out_[at_++] = static_cast<std::uint8_t>(u & 0xFF);
      u = static_cast<decltype(u)>(u >> 8);
    }
  }
  template <typename Byte, std::size_t N>
  void Bytes(const std::array<Byte, N>& field) {
    for (const Byte b : field) out_[at_++] = static_cast<std::uint8_t>(b);
  }
  std::size_t written() const { return at_; }

 private:
  std::span<std::uint8_t> out_;
  std::size_t at_ = 0;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
  template <typename Int>
  Int Integer() {
    std::make_unsigned_t<Int> u = 0;
    for (std::size_t i = 0; i < sizeof(Int); ++i) {
      u = static_cast<decltype(u)>(u | (static_cast<decltype(u)>(in_[at_++]) << (8 * i)));
    }
    return static_cast<Int>(u);
  }
  template <typename Byte, std::size_t N>
  void Bytes(std::array<Byte, N>& field) {
    for (Byte& b : field) b = static_cast<Byte>(in_[at_++]);
  }

 private:
  std::span<const std::uint8_t> in_;
  std::size_t at_ = 0;
};

}  // namespace

ShowHeader::Bytes ShowHeader::Serialize() const {
  Bytes bytes{};
  Writer w(bytes);
  w.Bytes(VersionTag);
  w.Integer(DelaySeconds);
  w.Integer(SlideCount);
  w.Integer(keyStart);
  w.Integer(LoopFlag);
  w.Integer(RandomFlag);
  w.Integer(TitlesFlag);
  w.Integer(reserved);
  w.Bytes(PasswordCheck);
  w.Integer(PlayerSize);
  w.Integer(Language);
  w.Integer(CipherVersion);
  return bytes;
}

ShowHeader ShowHeader::Parse(std::span<const std::uint8_t, kHeaderSize> bytes) {
  ShowHeader h;
  Reader r(bytes);
  r.Bytes(h.VersionTag);
  h.DelaySeconds = r.Integer<std::int32_t>();
  h.SlideCount = r.Integer<std::int16_t>();
  h.keyStart = r.Integer<std::uint8_t>();
  h.LoopFlag = r.Integer<std::int16_t>();
  h.RandomFlag = r.Integer<std::int16_t>();
  h.TitlesFlag = r.Integer<std::int16_t>();
  h.reserved = r.Integer<std::uint8_t>();
  r.Bytes(h.PasswordCheck);
  h.PlayerSize = r.Integer<std::int32_t>();
  h.Language = r.Integer<std::uint8_t>();
  h.CipherVersion = r.Integer<std::int16_t>();
  return h;
}

bool ShowHeader::HasShowTag() const {
  return VersionTag[0] == 'p' && VersionTag[1] == 'v' && VersionTag[2] == 'l';
}

bool ShowHeader::HasPassword() const {
  return std::any_of(PasswordCheck.begin(), PasswordCheck.end(),
                     [](std::uint8_t b) { return b != 0; });
}

SlideEntry::Bytes SlideEntry::Serialize() const {
  Bytes bytes{};
  Writer w(bytes);
  w.Bytes(Title);
  w.Integer(PictureSize);
  w.Integer(PictureOffset);
  return bytes;
}

SlideEntry SlideEntry::Parse(std::span<const std::uint8_t, kEntrySize> bytes) {
  SlideEntry e;
  Reader r(bytes);
  r.Bytes(e.Title);
  e.PictureSize = r.Integer<std::int32_t>();
  e.PictureOffset = r.Integer<std::int32_t>();
  return e;
}

std::string_view SlideEntry::TrimmedTitle() const {
  return text::TrimTrailingBlanks(std::string_view(Title.data(), Title.size()));
}

std::array<char, 6> VersionTagFor(std::string_view digits) {
  std::array<char, 6> tag;
  tag.fill(' ');
  const std::string full = "pvl" + std::string(digits);
  std::copy_n(full.begin(), std::min(full.size(), tag.size()), tag.begin());
  return tag;
}

std::array<char, kTitleLength> TitleField(std::string_view cp1252) {
  std::array<char, kTitleLength> field;
  field.fill(' ');
  std::copy_n(cp1252.begin(), std::min(cp1252.size(), field.size()), field.begin());
  return field;
}

}  // namespace pivolane::format
