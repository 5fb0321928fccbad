// Resgen_Assets: the asset generator's registry. Each asset family (movies,
// pictures, outlines, texts, ...) lives in its own source file and adds one
// writer per resource to the registry; the generator's main runs every writer
// (on all cores) and stores the results under "TYPE/NAME", in registry
// order, in the module the asset names: the resource library
// "ServiceFullSet.bioTarvik" unless it names another file of Plugins/ (an
// add-on skin pack).
//
// A writer is a pure function of fixed seeds: the same bytes on every run, no
// clock, no unseeded random numbers. Writers run on worker threads at once, so
// they share no mutable state. A writer that cannot produce its asset throws
// std::runtime_error; the generator then writes nothing and fails the build.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// File name of the resource library in Plugins/.
inline constexpr const char* Resgen_Library_Module = "ServiceFullSet.bioTarvik";

struct Resgen_Asset {
  std::string Type;                // resource type, e.g. "SWF", "JPEG"
  std::string Name;                // resource name, e.g. "Flash_01"
  std::vector<uint8_t> Bytes;      // the resource's whole content
  bool Already_Compressed = false; // stored as-is in the archive (GIF, JPEG), else deflated
  std::string Module = Resgen_Library_Module; // file name in Plugins/ of the module that holds it
};

using Resgen_Writer = std::function<Resgen_Asset()>;
using Resgen_Registry = std::vector<Resgen_Writer>;

// Asset families: each adds its writers to the registry.
void Movies_Register(Resgen_Registry& registry); // "SWF": the preview fallback and About movies
void Skins_Register(Resgen_Registry& registry);  // "JPEG" "Texx_01".."Texx_99" and two add-on skin packs
void Pictures_Register(Resgen_Registry& registry); // "JPEG" star bursts, blob and UFO textures, background, splash, help; "BITMAP" LogoTarvik
void Font_Strip_Register(Resgen_Registry& registry); // "TGA" "FONTLINES": the 66-cell font strip
void Shapes_Register(Resgen_Registry& registry);  // "TXT_DATA" "txt_001", "txt_002": the morph cloud's shapes
