// Resgen_Assets: the asset generator's registry. Each asset family (movies,
// pictures, outlines, texts, ...) lives in its own source file and adds one
// writer per resource to the registry; the generator's main runs every writer
// (on all cores) and stores the results in the resource library under
// "TYPE/NAME", in registry order.
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

struct Resgen_Asset {
  std::string Type;                // resource type, e.g. "SWF", "JPEG"
  std::string Name;                // resource name, e.g. "Flash_01"
  std::vector<uint8_t> Bytes;      // the resource's whole content
  bool Already_Compressed = false; // stored as-is in the archive (GIF, JPEG), else deflated
};

using Resgen_Writer = std::function<Resgen_Asset()>;
using Resgen_Registry = std::vector<Resgen_Writer>;

// Asset families: each adds its writers to the registry.
void Movies_Register(Resgen_Registry& registry); // "SWF": the preview fallback and About movies
