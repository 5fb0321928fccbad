// Asset_Decoding: the work of Load_Assets — which pictures a run decodes,
// from where, in which order and into which slot — and the decoding itself.
//
// The plan is made on the GUI thread in the order the loader's rules give,
// with every random draw in its place; the pictures are then decoded, fitted,
// mirror-tiled and set to 32 bits per pixel on all cores, each job writing
// only its own slot, so slots, order and draws are those of a plain loader.
// Called by the launch form; GUI thread (the jobs run on worker threads and
// touch nothing shared).
#pragma once

#include "platform/Platform_Picture.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A JPEG (or, with bmp, a BMP file) decoded into a 24-bit picture; nothing
// when the bytes are not a picture.
std::optional<Pixel_Picture> Decode_Picture(const std::vector<uint8_t>& bytes, bool bmp = false);

// One picture to decode and what becomes of it.
struct Decode_Job {
  std::string Name;             // for messages: resource name or file path
  std::vector<uint8_t> Bytes;   // the encoded picture
  bool Bmp = false;             // BMP file rather than JPEG
  int Fit_Width = 0;            // fit to this size first (0: keep)
  int Fit_Height = 0;
  bool Mirror_Tile = false;     // then mirror-tile
  int Skin_Index = -1;          // a skin: record its size in the skin tables
  std::unique_ptr<Pixel_Picture>* Slot = nullptr; // where the 32-bit result goes
};

// Runs the jobs on all cores. False when a picture does not decode; *failed
// names it.
bool Run_Decode_Jobs(std::vector<Decode_Job>& jobs, std::string* failed);

// The two-digit resource number: 7 gives "07", 46 gives "46", 123 gives "123".
std::string Resource_Number(int n);
