// Bmp_File: device-independent bitmap files, read and written by our own
// code: the wallpaper the saver leaves, the custom skins a user converts, the
// small bitmaps of the resource library.
//
// Reads uncompressed 24- and 32-bit files (bottom-up or top-down rows) and
// 8-bit palette files; anything else, or a file whose sizes do not add up, is
// refused with a reason and never read past its end. Writes 24-bit
// bottom-up files. Pure functions, any thread.
#pragma once

#include "platform/Platform_Picture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::optional<Pixel_Picture> Bmp_Decode(std::string_view bytes, std::string* error = nullptr);
// The bytes of a 24-bit file holding the picture (a 32-bit picture loses alpha).
std::vector<uint8_t> Bmp_Encode(const Pixel_Picture& picture);
