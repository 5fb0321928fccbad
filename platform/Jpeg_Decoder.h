// Jpeg_Decoder: the platform's JPEG reader, and the pixel-format switch of a
// decoded picture (the bitmap's "set to 32 bits per pixel").
//
// Decode_Jpeg turns the bytes of a JPEG file into a Pixel_Picture (rows top
// down, bytes blue, green, red), decoding straight into the picture's own
// buffer with libjpeg-turbo. Damaged data never takes the program down: a
// corrupt or truncated file, one that only warns (a premature end of data),
// or one that claims a picture larger than Jpeg_Max_Picture_Bytes gives no
// picture and a readable reason.
//
// Called by the asset loader, the settings dialog's preview skin and the
// custom-folder conversion, on the GUI thread. Keeps no state of its own, so
// it is safe from any thread.
#pragma once

#include "platform/Platform_Picture.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Largest decoded picture accepted (bytes of pixels): 256 MiB, a 9000 x 9000
// photograph at 24 bits per pixel. Headers claiming more are refused before
// anything is allocated.
inline constexpr uint64_t Jpeg_Max_Picture_Bytes = 256ull << 20;

// Decodes a JPEG file. bits_per_pixel 24 gives blue, green, red; 32 gives
// blue, green, red, 255 at once (the same as decoding to 24 and then
// Picture_Set_Bits_Per_Pixel(32), without the second pass). std::nullopt on
// any failure, with the reason in *error when given.
std::optional<Pixel_Picture> Decode_Jpeg(std::span<const uint8_t> bytes, std::string* error = nullptr,
                                         int32_t bits_per_pixel = 24);

// Sets a picture to 24 (blue, green, red) or 32 bits per pixel (blue, green,
// red, alpha); going to 32 makes every alpha 255, going to 24 drops alpha.
// A picture already in that format is left alone. False (picture unchanged)
// for any other value or a picture whose buffer does not match its size.
bool Picture_Set_Bits_Per_Pixel(Pixel_Picture& picture, int32_t bits_per_pixel);
