// Picture_Mirrors: the mirror copies of a picture and the mirror tiling that
// makes tunnel skins and blob pictures repeat without seams.
//
// Plain pixel-buffer operations on Pixel_Picture (24 or 32 bits per pixel,
// rows top down); each makes a new picture and leaves its source alone, and
// each output pixel is written once. No GL, no state: safe on any thread,
// called by the asset loader and the preview skin on the GUI thread.
//
// A source that is not a valid picture (size and buffer disagree, or a pixel
// format other than 24 or 32 bits) gives an empty 0 x 0 picture.
#pragma once

#include "platform/Platform_Picture.h"

// result(x, y) = source(w - 1 - x, y); 24 bits per pixel, the source's size.
Pixel_Picture Texture_DDFlip_Gorizontal_Optimized(const Pixel_Picture& source);
// result(x, y) = source(x, h - 1 - y); 24 bits per pixel, the source's size.
Pixel_Picture Texture_DDFlip_Vertical_Optimized(const Pixel_Picture& source);

// The picture B (w x h) tiled with its mirrors into 2w x 2h:
//   [ B             | mirror-x(B)  ]
//   [ mirror-y(B)   | mirror-xy(B) ]
// in B's own pixel format (alpha, if any, travels with each pixel). Not
// tiled, a plain copy of B instead, when the pixel at (w - 2, 2h - 2) of
// "B above its vertical mirror" is pure white (red, green, blue 255): for
// h >= 2 that is B's pixel (w - 2, 1). A picture narrower than 2 pixels has
// no such pixel and is tiled; an empty picture is copied.
Pixel_Picture Texture_Mirror_Tile(const Pixel_Picture& picture);

// True when the buffer holds exactly Width x Height pixels of 24 or 32 bits.
bool Picture_Is_Valid(const Pixel_Picture& picture);
