// Skins_Painters: paints the tunnel skins from fixed seeds — the 99 skins of
// the resource library in six packs of their own character (1 plasma,
// 2 fractals and flames, 3 nebulae and clouds, 4 cells, 5 circuits and tech
// grids, 6 liquids, marble and aurora) and the pictures of the two add-on
// skin packs (glowing ember coral, frost spirals).
//
// The program shows a skin mirror-tiled ([B | mirror-x B] over [mirror-y B |
// mirror-xy B]), so a skin needs no seams of its own; skin 1 of pack 1 is
// also shown as it is and therefore repeats seamlessly by itself.
//
// Pure functions of their arguments: the same picture on every run, on any
// worker thread. Called by the skin family's writers (Skins.cpp).
#pragma once

#include <cstdint>

#include "resources/Jpeg_Writer.h"

constexpr int32_t Skins_Builtin_Size = 256; // pixels, width and height of a built-in skin
constexpr int32_t Skins_Addon_Size = 384;   // pixels: the size the program fits add-on skins to

// Built-in skin `number` (1..99), which is picture `index` (0-based) of
// built-in pack `pack` (1..6), Skins_Builtin_Size square.
Jpeg_Picture Skins_Paint_Builtin(int pack, int index, int number);

enum class Skins_Addon_Style {
  Ember_Reef,        // glowing coral labyrinths in ember colours over a dark sea
  Frostwheel_Spiral, // spiral wheels and six-fold frost crystals in ice colours
};

// Picture `index` (0-based) of an add-on pack of `style`, `size` square.
Jpeg_Picture Skins_Paint_Addon(Skins_Addon_Style style, int index, int32_t size);
