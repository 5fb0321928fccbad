// Skins: the tunnel skin family of the generator. Registers one writer per
// picture: the 99 built-in skins "JPEG/Texx_01".."Texx_99" of the resource
// library (256 x 256, in the six packs the launch form loads by
// First_Skin_Of_Pack .. Last_Skin_Of_Pack) and the pictures of two add-on
// skin packs, each its own module "Plugins/<pack file>" holding
// "JPEG/Texx_01" up to the pack's texture count (384 x 384). Pack file names
// and counts are the program's own table of known packs, so the generator
// and the pack scan cannot disagree.
//
// The program does not mirror-tile a skin whose pixel at column w - 2, row 1
// is pure white; every writer checks that pixel after the lossy coding and
// darkens it slightly if the coder brought it to white.
// Writers run on the generator's worker threads; all are pure.
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "glowsaver/host/ALL_Variables.h"
#include "resources/Jpeg_Writer.h"
#include "resources/Resgen_Assets.h"
#include "resources/Skins_Painters.h"

namespace {

constexpr int Skins_Quality = 88;         // JPEG quality of every skin
constexpr int Skins_Builtin_Last = 99;    // built-in skins Texx_01 .. Texx_99
constexpr int Skins_Pack_Count = 6;       // built-in packs

// The add-on packs this generator makes: rows (0-based) of Known_Pack_Files.
struct Skins_Addon_Pack {
  size_t Known_Row;
  Skins_Addon_Style Style;
};
constexpr Skins_Addon_Pack Skins_Addon_Packs[] = {
    {1, Skins_Addon_Style::Ember_Reef},        // "Ember Reef 3D.dtexx", 9 textures
    {2, Skins_Addon_Style::Frostwheel_Spiral}, // "Frostwheel Spiral 3D.dtexx", 8 textures
};

// "Texx_" + a number of at least two digits.
std::string Skins_Name(int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", number);
  return std::string("Texx_") + digits;
}

bool Skins_Marker_White(const Jpeg_Picture& picture) {
  const uint8_t* p = picture.Pixel(picture.Width - 2, 1);
  return p[0] == 255 && p[1] == 255 && p[2] == 255;
}

// JPEG bytes of a skin whose decoded pixel (w - 2, 1) is not pure white.
std::vector<uint8_t> Skins_Encode(Jpeg_Picture picture, const std::string& name) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::vector<uint8_t> bytes = Jpeg_Encode(picture, Skins_Quality);
    Jpeg_Picture decoded;
    std::string error;
    if (!Jpeg_Decode(bytes, &decoded, &error)) throw std::runtime_error(name + ": " + error);
    if (!Skins_Marker_White(decoded)) return bytes;
    // Dim a small patch around the marker pixel; the coder works on 8 x 8
    // blocks, so dimming only the one pixel may not be enough.
    for (int y = 0; y < 4; ++y) {
      for (int x = picture.Width - 5; x < picture.Width; ++x) {
        uint8_t* p = picture.Pixel(x, y);
        for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(p[c] * 15 / 16);
      }
    }
  }
  throw std::runtime_error(name + ": pixel (w-2, 1) stays pure white");
}

} // namespace

void Skins_Register(Resgen_Registry& registry) {
  // Default values of the program's record: the built-in pack bounds and the
  // known add-on packs.
  const auto defaults = std::make_unique<All_Variables>();

  for (int pack = 1; pack <= Skins_Pack_Count; ++pack) {
    const int first = defaults->First_Skin_Of_Pack[static_cast<size_t>(pack - 1)];
    const int last = defaults->Last_Skin_Of_Pack[static_cast<size_t>(pack - 1)];
    for (int number = first; number <= last && number <= Skins_Builtin_Last; ++number) {
      registry.push_back([pack, first, number] {
        const std::string name = Skins_Name(number);
        return Resgen_Asset{"JPEG", name, Skins_Encode(Skins_Paint_Builtin(pack, number - first, number), name), true};
      });
    }
  }

  for (const Skins_Addon_Pack& pack : Skins_Addon_Packs) {
    const std::string module = defaults->Known_Pack_Files[pack.Known_Row];
    const int count = defaults->Known_Pack_Sizes[pack.Known_Row];
    for (int number = 1; number <= count; ++number) {
      const Skins_Addon_Style style = pack.Style;
      registry.push_back([module, style, number] {
        const std::string name = Skins_Name(number);
        Resgen_Asset asset{"JPEG", name, Skins_Encode(Skins_Paint_Addon(style, number - 1, Skins_Addon_Size), module + " " + name),
                           true};
        asset.Module = module;
        return asset;
      });
    }
  }
}
