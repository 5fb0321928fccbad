// Gif_Encoder: GIF89a container and the variable-width LZW coder it uses.
#include "resources/Gif_Encoder.h"

#include <stdexcept>

namespace {

constexpr int Gif_Min_Code_Size = 8;    // 8-bit palette indices
constexpr uint32_t Gif_Clear_Code = 256;
constexpr uint32_t Gif_End_Code = 257;
constexpr uint32_t Gif_First_Code = 258;
constexpr uint32_t Gif_Code_Limit = 4095; // the table is reset before a code needs 13 bits

// Packs codes least significant bit first and cuts them into the format's
// sub-blocks of at most 255 bytes.
class Gif_Bit_Writer {
 public:
  explicit Gif_Bit_Writer(std::vector<uint8_t>& out) : Out_(out) {}

  void Put(uint32_t code, int bits) {
    Accumulator_ |= code << Used_;
    Used_ += bits;
    while (Used_ >= 8) {
      Put_Byte(static_cast<uint8_t>(Accumulator_ & 0xFF));
      Accumulator_ >>= 8;
      Used_ -= 8;
    }
  }

  void Finish() {
    if (Used_ > 0) Put_Byte(static_cast<uint8_t>(Accumulator_ & 0xFF));
    Accumulator_ = 0;
    Used_ = 0;
    Flush_Block();
    Out_.push_back(0); // block terminator
  }

 private:
  void Put_Byte(uint8_t byte) {
    Block_[Block_Used_++] = byte;
    if (Block_Used_ == 255) Flush_Block();
  }

  void Flush_Block() {
    if (Block_Used_ == 0) return;
    Out_.push_back(static_cast<uint8_t>(Block_Used_));
    Out_.insert(Out_.end(), Block_, Block_ + Block_Used_);
    Block_Used_ = 0;
  }

  std::vector<uint8_t>& Out_;
  uint32_t Accumulator_ = 0;
  int Used_ = 0;
  uint8_t Block_[255] = {};
  int Block_Used_ = 0;
};

// String table of the coder: (prefix code, next index) -> code, in an
// open-addressing hash that is cheap to clear at every reset.
class Gif_Code_Table {
 public:
  void Clear() {
    for (uint32_t& slot : Slots_) slot = Empty;
  }

  // The code for prefix + index, or -1.
  int32_t Find(uint32_t prefix, uint8_t index) const {
    const uint32_t key = Key(prefix, index);
    for (uint32_t at = Hash(key);; at = (at + 1) & Mask) {
      if (Slots_[at] == Empty) return -1;
      if ((Slots_[at] >> 12) == key) return static_cast<int32_t>(Slots_[at] & 0xFFF);
    }
  }

  void Add(uint32_t prefix, uint8_t index, uint32_t code) {
    const uint32_t key = Key(prefix, index);
    uint32_t at = Hash(key);
    while (Slots_[at] != Empty) at = (at + 1) & Mask;
    Slots_[at] = (key << 12) | code;
  }

 private:
  static constexpr uint32_t Size = 8192; // twice the codes a table holds
  static constexpr uint32_t Mask = Size - 1;
  static constexpr uint32_t Empty = 0xFFFFFFFFu;

  static uint32_t Key(uint32_t prefix, uint8_t index) { return (prefix << 8) | index; } // 20 bits
  static uint32_t Hash(uint32_t key) { return (key * 2654435761u) >> 19; }             // 13 bits

  uint32_t Slots_[Size];
};

void Gif_Put_16(std::vector<uint8_t>& out, int32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

} // namespace

std::vector<uint8_t> Gif_Encode_Image_Data(const std::vector<uint8_t>& indices) {
  std::vector<uint8_t> out;
  out.push_back(Gif_Min_Code_Size);
  Gif_Bit_Writer bits(out);
  Gif_Code_Table table;
  table.Clear();

  int code_bits = Gif_Min_Code_Size + 1;
  uint32_t next_code = Gif_First_Code;
  // Writes one code and widens the codes once the next free code no longer
  // fits, at the same point where the decoder widens its own.
  auto put = [&](uint32_t code) {
    bits.Put(code, code_bits);
    if (next_code >= (1u << code_bits)) ++code_bits;
  };

  bits.Put(Gif_Clear_Code, code_bits);
  if (!indices.empty()) {
    uint32_t current = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
      const uint8_t index = indices[i];
      const int32_t longer = table.Find(current, index);
      if (longer >= 0) {
        current = static_cast<uint32_t>(longer);
        continue;
      }
      put(current);
      if (next_code >= Gif_Code_Limit) {
        bits.Put(Gif_Clear_Code, code_bits);
        table.Clear();
        code_bits = Gif_Min_Code_Size + 1;
        next_code = Gif_First_Code;
      } else {
        table.Add(current, index, next_code++);
      }
      current = index;
    }
    put(current);
  }
  bits.Put(Gif_End_Code, code_bits);
  bits.Finish();
  return out;
}

std::vector<uint8_t> Gif_Encode(const Gif_Movie& movie) {
  if (movie.Width < 1 || movie.Width > 65535 || movie.Height < 1 || movie.Height > 65535) {
    throw std::invalid_argument("GIF size out of range");
  }
  if (movie.Delay_Centiseconds < 0 || movie.Delay_Centiseconds > 65535) {
    throw std::invalid_argument("GIF frame delay out of range");
  }
  if (movie.Transparent_Index < -1 || movie.Transparent_Index > 255) {
    throw std::invalid_argument("GIF transparent index out of range");
  }
  if (movie.Frames.empty()) throw std::invalid_argument("GIF movie without frames");
  const size_t pixels = static_cast<size_t>(movie.Width) * static_cast<size_t>(movie.Height);
  for (const auto& frame : movie.Frames) {
    if (frame.size() != pixels) throw std::invalid_argument("GIF frame of the wrong size");
  }

  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  // Logical screen: global table of 256 colours, 8 bits per primary.
  Gif_Put_16(out, movie.Width);
  Gif_Put_16(out, movie.Height);
  out.push_back(0xF7);
  out.push_back(0); // background colour index
  out.push_back(0); // no aspect ratio
  out.insert(out.end(), movie.Palette.begin(), movie.Palette.end());

  // Looping: NETSCAPE2.0 application extension, loop count 0 = forever.
  const uint8_t loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E',
                          '2',  '.',  '0',  0x03, 0x01, 0x00, 0x00, 0x00};
  out.insert(out.end(), loop, loop + sizeof loop);

  for (size_t f = 0; f < movie.Frames.size(); ++f) {
    const auto& frame = movie.Frames[f];
    // Graphic control: keep the frame for the next one (disposal 1), the
    // transparent index from the second frame on, the delay.
    const bool transparent = f > 0 && movie.Transparent_Index >= 0;
    out.insert(out.end(), {0x21, 0xF9, 0x04, static_cast<uint8_t>(transparent ? 0x05 : 0x04)});
    Gif_Put_16(out, movie.Delay_Centiseconds);
    out.push_back(transparent ? static_cast<uint8_t>(movie.Transparent_Index) : 0);
    out.push_back(0x00);
    // Image descriptor: the full screen, no local palette, not interlaced.
    out.push_back(0x2C);
    Gif_Put_16(out, 0);
    Gif_Put_16(out, 0);
    Gif_Put_16(out, movie.Width);
    Gif_Put_16(out, movie.Height);
    out.push_back(0x00);
    const std::vector<uint8_t> data = Gif_Encode_Image_Data(frame);
    out.insert(out.end(), data.begin(), data.end());
  }
  out.push_back(0x3B); // trailer
  return out;
}
