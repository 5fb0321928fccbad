#include "glowsaver/scene/TexturesUnit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/scene/Picture_Mirrors.h"
#include "platform/Jpeg_Decoder.h"
#include "platform/Platform_GL.h"
#include "platform/Platform_Messages.h"
#include "platform/Resource_Module.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

// Bytes of one pixel of a client pixel format (unsigned bytes).
size_t Format_Bytes(GLenum pixel_format) {
  switch (pixel_format) {
    case GL_RGBA:
    case GL_BGRA: return 4;
    case GL_RGB:
    case GL_BGR: return 3;
    case GL_LUMINANCE_ALPHA: return 2;
    default: return 1; // GL_LUMINANCE, GL_ALPHA, GL_RED ...
  }
}

// Takes and dispatches every pending window message. A quit message is put
// back and ends the pumping, so the render loop still sees it.
void Let_Messages_Run() {
  Window_Message m;
  while (Peek_Message(m)) {
    if (m.Message == WM_QUIT) {
      Post_Message(m.Window, m.Message, m.WParam, m.LParam);
      return;
    }
    Dispatch_Message(m);
  }
}

// Uploads a waiting picture into `texture` and frees it. width/height are the
// size recorded by the loader (-1: the picture's own); a recorded size that
// disagrees with the picture would read past its pixels, so the picture's
// own size wins. No picture: the slot is left as it is.
void Upload_Into(uint32_t& texture, std::unique_ptr<Pixel_Picture>& picture, const char* what, int32_t width = -1,
                 int32_t height = -1) {
  if (!picture) return;
  if (width >= 0 && (width != picture->Width || height != picture->Height))
    std::cerr << "textures: " << what << ": recorded size " << width << " x " << height
              << " differs from the picture's " << picture->Width << " x " << picture->Height
              << "; the picture's size is used\n";
  texture = Texture_From_Bitmap(*picture);
  picture.reset();
}

void Upload_Font() {
  auto& s = All;
  if (!Host.Resource_Library) {
    std::cerr << "textures: " << Font_Resource_Name << ": no resource library is loaded\n";
    return;
  }
  auto bytes = Host.Resource_Library->Read(Font_Resource_Type, Font_Resource_Name);
  if (!bytes) {
    std::cerr << "textures: " << Font_Resource_Name << " is not in the resource library\n";
    return;
  }
  TTGAImage image;
  std::string error;
  if (!image.LoadFromStream(*bytes, &error)) {
    std::cerr << "textures: " << Font_Resource_Name << ": " << error << '\n';
    return;
  }
  if (image.Short_Stream())
    std::cerr << "textures: " << Font_Resource_Name << " ends early; its missing pixels are transparent black\n";
  s.Font_Texture = TGA_To_Texture(image, GL_BGRA);
}

// True when a texture slot of the record other than Tunnel_Texture_A holds `name`.
bool Texture_In_Use(uint32_t name) {
  const auto& s = All;
  auto in = [name](const auto& slots) { return std::find(slots.begin(), slots.end(), name) != slots.end(); };
  return name == s.Tunnel_Texture_B || name == s.UFO_Texture || name == s.StarBurst_Texture ||
         name == s.Background_Texture || name == s.Help_Panel_Texture || name == s.Font_Texture ||
         in(s.Skin_Textures) || in(s.StarBurst_Frame_Textures) || in(s.Blob_Textures) || in(s.UFO_Textures);
}

} // namespace

Scene_Pictures& Loaded_Scene_Pictures() {
  static Scene_Pictures pictures;
  return pictures;
}

uint32_t Create_Texture(uint16_t width, uint16_t height, GLenum pixel_format, const void* pixels) {
  GLuint name = 0;
  Gl.GenTextures(1, &name);
  Gl.BindTexture(GL_TEXTURE_2D, name);
  // Rows are tightly packed; the GL assumes rows padded to 4 bytes. Only a
  // 1-, 2- or 3-byte format can have rows that are not, and only then is the
  // unpack alignment set to 1 for the upload and put back after it.
  const bool packed_rows = (size_t{width} * Format_Bytes(pixel_format)) % 4 != 0;
  GLint alignment = 4;
  if (packed_rows) {
    Gl.GetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    Gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  Glu.Build2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, pixel_format, GL_UNSIGNED_BYTE, pixels);
  if (packed_rows) Gl.PixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  return name;
}

std::vector<uint32_t> Bitmap_To_RGBA(const Pixel_Picture& picture) {
  if (!Picture_Is_Valid(picture)) return {};
  const size_t w = static_cast<size_t>(picture.Width), h = static_cast<size_t>(picture.Height);
  const size_t sbpp = static_cast<size_t>(picture.Bytes_Per_Pixel()), row = w * sbpp;
  std::vector<uint32_t> out(w * h);
  uint8_t* d = reinterpret_cast<uint8_t*>(out.data());
  for (size_t r = 0; r < h; ++r) {
    const uint8_t* s = picture.Pixels.data() + (h - 1 - r) * row; // bottom row first
    // Separate loops so each has a constant stride the compiler can vectorise.
    if (sbpp == 4) {
      for (size_t x = 0; x < w; ++x, s += 4, d += 4) {
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
        d[3] = 255;
      }
    } else {
      for (size_t x = 0; x < w; ++x, s += 3, d += 4) {
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
        d[3] = 255;
      }
    }
  }
  return out;
}

uint32_t Texture_From_Bitmap(const Pixel_Picture& picture) {
  if (!Picture_Is_Valid(picture) || picture.Width == 0 || picture.Height == 0 || picture.Width > 65535 ||
      picture.Height > 65535) {
    std::cerr << "textures: no texture for a picture of " << picture.Width << " x " << picture.Height << " ("
              << picture.Bits_Per_Pixel << " bits, " << picture.Pixels.size() << " bytes)\n";
    return 0;
  }
  std::vector<uint32_t> pixels = Bitmap_To_RGBA(picture);
  return Create_Texture(static_cast<uint16_t>(picture.Width), static_cast<uint16_t>(picture.Height), GL_RGBA,
                        pixels.data());
}

Pixel_Picture Fit_Bitmap_WxH(int32_t w, int32_t h, const Pixel_Picture& picture) {
  if (!(w < picture.Width || h < picture.Height)) return picture;
  if (!Picture_Is_Valid(picture)) return {};
  Pixel_Picture out;
  out.Width = std::max(w, 0);
  out.Height = std::max(h, 0);
  out.Bits_Per_Pixel = 24;
  const size_t dw = static_cast<size_t>(out.Width), dh = static_cast<size_t>(out.Height);
  out.Pixels.resize(dw * dh * 3);
  const size_t sw = static_cast<size_t>(picture.Width), sh = static_cast<size_t>(picture.Height);
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return out;
  const size_t sbpp = static_cast<size_t>(picture.Bytes_Per_Pixel()), src_row = sw * sbpp, dst_row = dw * 3;
  // Destination column x samples source column x * sw / dw: byte offsets
  // stepped once per column with a remainder, no division per pixel.
  std::vector<size_t> column(dw);
  for (size_t x = 0, sx = 0, rem = 0; x < dw; ++x) {
    column[x] = sx * sbpp;
    for (rem += sw; rem >= dw; rem -= dw) ++sx;
  }
  uint8_t* d = out.Pixels.data();
  for (size_t y = 0, sy = 0, rem = 0, prev = SIZE_MAX; y < dh; ++y, d += dst_row) {
    if (sy == prev) {
      std::memcpy(d, d - dst_row, dst_row); // a repeated row
    } else {
      const uint8_t* s = picture.Pixels.data() + sy * src_row;
      uint8_t* p = d;
      for (size_t x = 0; x < dw; ++x, p += 3) {
        const uint8_t* q = s + column[x];
        p[0] = q[0];
        p[1] = q[1];
        p[2] = q[2];
      }
      prev = sy;
    }
    for (rem += sh; rem >= dh; rem -= dh) ++sy;
  }
  return out;
}

uint32_t TGA_To_Texture(const TTGAImage& image, GLenum pixel_format) {
  const size_t needed = size_t{image.Header.Width} * image.Header.Height * Format_Bytes(pixel_format);
  if (needed == 0 || image.Pixels().size() < needed) {
    std::cerr << "textures: a TGA picture of " << image.Header.Width << " x " << image.Header.Height << " holds "
              << image.Pixels().size() << " bytes, fewer than its pixel format needs\n";
    return 0;
  }
  return Create_Texture(image.Header.Width, image.Header.Height, pixel_format, image.Pixels().data());
}

void Upload_Scene_Textures(const std::function<void()>& advance_progress,
                           const std::function<void()>& complete_progress, Scene_Pictures& pictures) {
  auto& s = All;
  auto advance = [&] {
    if (advance_progress) advance_progress();
  };
  const bool full = s.Run_Mode_Fullscreen != 0;
  const int32_t skins = std::clamp<int32_t>(s.Skins_Quantity, 0, static_cast<int32_t>(s.Skin_Textures.size()));
  // 1.
  Gl.Enable(GL_TEXTURE_2D);
  if (full) {
    // 2. The skins, with the window messages let through before each.
    for (int32_t i = 0; i < skins; ++i) {
      Let_Messages_Run();
      Upload_Into(s.Skin_Textures[i], s.Skin_Bitmaps[i], "skin", s.Skin_Widths[i], s.Skin_Heights[i]);
      const int32_t k = i + 1;
      if (k < s.Skins_Quantity - 1) advance();
    }
    // 3. UFOs, help panel, font.
    for (size_t i = 0; i < pictures.UFOs.size(); ++i) Upload_Into(s.UFO_Textures[i], pictures.UFOs[i], "UFO");
    Upload_Into(s.Help_Panel_Texture, pictures.Help_Panel, "Help_Panel", s.Help_Panel_Width, s.Help_Panel_Height);
    Upload_Font();
    advance();
    // 4. The start skin.
    s.Current_Skin = s.Use_Random_Skins ? RandInt(s.Skins_Quantity - 1) + 1 : 1;
    s.Current_Skin = std::clamp<int32_t>(s.Current_Skin, 1, static_cast<int32_t>(s.Skin_Textures.size()));
    s.Tunnel_Texture_A = s.Skin_Textures[static_cast<size_t>(s.Current_Skin - 1)];
    s.Tunnel_Texture_B = s.Current_Skin < skins ? s.Skin_Textures[static_cast<size_t>(s.Current_Skin)] : s.Skin_Textures[0];
  } else if (s.Run_Mode_Preview) {
    // 5. The preview's one skin.
    Upload_Into(s.Skin_Textures[0], s.Skin_Bitmaps[0], "skin", s.Skin_Widths[0], s.Skin_Heights[0]);
    s.Tunnel_Texture_A = s.Skin_Textures[0];
  }
  // 6. Star burst (every mode), background (full screen).
  Upload_Into(s.StarBurst_Texture, pictures.StarBurst, "StarBurst");
  if (full) Upload_Into(s.Background_Texture, pictures.Background, "BCKGRND");
  // 7. Star-burst frames.
  const size_t frames = full ? std::min<size_t>(s.StarBurst_Frames_Count, s.StarBurst_Frame_Textures.size()) : 1;
  for (size_t i = 0; i < frames; ++i)
    Upload_Into(s.StarBurst_Frame_Textures[i], pictures.StarBurst_Frames[i], "StarBurst frame");
  // 8.
  if (full) advance();
  // 9. Blobs.
  const size_t blobs = full ? std::min<size_t>(s.Blob_Textures_Count, s.Blob_Textures.size()) : 1;
  for (size_t i = 0; i < blobs; ++i) Upload_Into(s.Blob_Textures[i], pictures.Blobs[i], "blob");
  // 10.
  if (full) {
    advance();
    if (complete_progress) complete_progress();
  }
}

bool Load_Preview_Skin(int32_t number) {
  auto& s = All;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", number);
  const std::string name = std::string(Skin_Resource_Prefix) + digits;
  if (!Host.Resource_Library) {
    std::cerr << "textures: preview skin " << name << ": no resource library is loaded\n";
    return false;
  }
  auto bytes = Host.Resource_Library->Read(Skin_Resource_Type, name);
  if (!bytes) {
    std::cerr << "textures: preview skin " << name << " is not in the resource library\n";
    return false;
  }
  std::string error;
  auto picture = Decode_Jpeg(*bytes, &error);
  bytes.reset();
  if (!picture) {
    std::cerr << "textures: preview skin " << name << ": " << error << '\n';
    return false;
  }
  if (!s.Run_Mode_Fullscreen) *picture = Fit_Bitmap_WxH(Preview_Skin_Size, Preview_Skin_Size, *picture);
  if (number > 1) *picture = Texture_Mirror_Tile(*picture);
  Picture_Set_Bits_Per_Pixel(*picture, 32);
  const uint32_t texture = Texture_From_Bitmap(*picture);
  picture.reset();
  // The replaced preview texture goes, unless another slot still shows it.
  const uint32_t replaced = s.Tunnel_Texture_A;
  s.Tunnel_Texture_A = texture;
  if (replaced != 0 && replaced != texture && !Texture_In_Use(replaced)) Gl.DeleteTextures(1, &replaced);
  return true;
}
