// TexturesUnit: decoded pictures into OpenGL textures, and the texture slots
// of the scene.
//
// Owns the picture operations the upload needs (Fit_Bitmap_WxH, Bitmap_To_RGBA),
// the texture creation (Create_Texture, Texture_From_Bitmap, TGA_To_Texture),
// the upload step that runs once per show after the asset loader has decoded
// everything (Upload_Scene_Textures), and the settings dialog's preview skin
// (Load_Preview_Skin). The texture names go to the slots of the shared record
// (Skin_Textures, Tunnel_Texture_A/B, StarBurst_Texture ...); the pictures of
// the slots the record has no field for (star burst, frames, blobs,
// background, help panel, UFOs) wait in Loaded_Scene_Pictures() until their
// upload, which frees each one right after its texture exists.
//
// Textures are built with the full mipmap chain, internal format GL_RGBA and
// unsigned bytes, and no texture parameter or environment value is set:
// every texture keeps the fixed-function defaults (minification
// GL_NEAREST_MIPMAP_LINEAR, magnification GL_LINEAR, GL_REPEAT, GL_MODULATE).
// Textures live until the GL context ends, with one deliberate exception:
// the preview skin that Load_Preview_Skin replaces is deleted. The settings
// dialog replaces its skin every 15 to 30 seconds; never deleting the old
// one, as every other texture is kept, would be a leak that grows the GL's
// memory without bound for as long as the dialog stays open.
//
// Called by the scene set-up before the first frame and by the settings
// dialog; GUI thread only, with the GL context current (without one the GL
// calls are stubs and every texture name is 0). The picture operations
// themselves touch no GL and no shared state and are safe on any thread.
#pragma once

#include "glowsaver/scene/TGA.h"
#include "platform/Platform_Picture.h"

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Resource names and types the upload reads itself.
inline constexpr const char* Font_Resource_Type = "TGA";
inline constexpr const char* Font_Resource_Name = "FONTLINES";
inline constexpr const char* Skin_Resource_Type = "JPEG";
inline constexpr const char* Skin_Resource_Prefix = "Texx_"; // string resource 65231
// The side preview skins are fitted to outside the full-screen run (pixels).
inline constexpr int32_t Preview_Skin_Size = 256;

// Decoded pictures of the scene waiting for their upload (32 bits per pixel,
// filled by the asset loader); null once uploaded or when not loaded in this
// run mode. The skins wait in All.Skin_Bitmaps.
struct Scene_Pictures {
  std::unique_ptr<Pixel_Picture> StarBurst;                      // -> StarBurst_Texture
  std::array<std::unique_ptr<Pixel_Picture>, 9> StarBurst_Frames; // -> StarBurst_Frame_Textures
  std::array<std::unique_ptr<Pixel_Picture>, 20> Blobs;          // -> Blob_Textures
  std::unique_ptr<Pixel_Picture> Background;                     // -> Background_Texture (full screen)
  std::unique_ptr<Pixel_Picture> Help_Panel;                     // -> Help_Panel_Texture (full screen)
  std::array<std::unique_ptr<Pixel_Picture>, 5> UFOs;            // -> UFO_Textures (full screen)
};

// The one set of waiting pictures of the process. Tests reset it with
// `Loaded_Scene_Pictures() = Scene_Pictures{}`.
Scene_Pictures& Loaded_Scene_Pictures();

// One texture name bound to GL_TEXTURE_2D, with the mipmap chain of
// `pixels` (width x height pixels of `pixel_format` bytes, bottom row first,
// rows tightly packed) built by gluBuild2DMipmaps with internal format
// GL_RGBA; sides that are not powers of two are rescaled by the builder. The
// texture stays bound. Nothing is reported: a failed upload leaves an empty
// texture.
uint32_t Create_Texture(uint16_t width, uint16_t height, GLenum pixel_format, const void* pixels);

// The upload order of a picture (24 or 32 bits per pixel): Width x Height
// words whose bytes are red, green, blue, 255; word 0 is the picture's
// bottom-left pixel. Empty for an invalid picture.
std::vector<uint32_t> Bitmap_To_RGBA(const Pixel_Picture& picture);

// Bitmap_To_RGBA, then Create_Texture with the picture's size and GL_RGBA.
// 0 (nothing created) for an invalid picture or one wider or taller than
// 65535 pixels.
uint32_t Texture_From_Bitmap(const Pixel_Picture& picture);

// The picture fitted into w x h: when it is wider than w or taller than h, a
// new 24-bit picture of exactly w x h into which the whole source is
// stretched by nearest sampling (rows and columns dropped or repeated, never
// averaged; the aspect ratio is not kept); otherwise an exact copy (same
// size, same pixel format), since nothing is ever enlarged.
Pixel_Picture Fit_Bitmap_WxH(int32_t w, int32_t h, const Pixel_Picture& picture);

// Create_Texture with the image's size, the given pixel format and its pixel
// bytes. 0 (nothing created) when the image holds fewer bytes than the
// format needs.
uint32_t TGA_To_Texture(const TTGAImage& image, GLenum pixel_format);

// The upload step: every waiting picture of this run mode becomes its
// texture, in the loader's order, and the start skin is chosen (full screen
// and preview). Between skins the pending window messages run. Pictures are
// freed as they are uploaded. In the full-screen run the launch form's bar
// follows: advance_progress is its Advance_Progress (the bar moves by
// Progress_Step and repaints), complete_progress sets it to 110 and repaints
// it at the end; either may be empty.
void Upload_Scene_Textures(const std::function<void()>& advance_progress,
                           const std::function<void()>& complete_progress,
                           Scene_Pictures& pictures = Loaded_Scene_Pictures());

// The settings dialog's preview: Tunnel_Texture_A from skin picture `number`
// (1-based; resource "Texx_" + at least two digits, type "JPEG", of the
// resource library), fitted to 256 x 256 outside the full-screen run and
// mirror-tiled unless it is skin 1. The texture it replaces is deleted when
// no other slot uses it. False (Tunnel_Texture_A unchanged, the reason on
// stderr) when the picture is missing or does not decode.
bool Load_Preview_Skin(int32_t number);
