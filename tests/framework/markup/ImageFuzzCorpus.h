// The corpus of the image-file harness: a file of every form the loader reads, each made here at run time by our
// own writers (libpng's, the system's JPEG encoder, and by hand for bitmaps, icons, cursors and GIFs):
// - PNGs of every colour type and depth, interlaced, with the image data in many chunks, and with tEXt, zTXt and
//   iTXt text, gamma, time and private chunks before and after the image data;
// - bitmaps of 1, 4, 8, 16, 24 and 32 bits, run-length (4 and 8 bits), with colour masks, the 12-byte core header,
//   the V5 header and rows top-down;
// - icon files of several images (8-bit and 32-bit, and one PNG-compressed 256-pixel image), and a cursor file;
// - GIFs of one frame and of several frames of different sizes and places, with local colour tables, interlacing,
//   comments and a looping extension;
// - JPEGs in colour and in grey.
// Each entry says whether LoadImageFile takes it (cursor files are refused).
#pragma once

#include "FuzzMutator.h"

#include <string>
#include <vector>

namespace image_test {

struct ImageCorpusEntry
{
    std::string name;
    fuzz::Bytes bytes;
    bool loads = true;
};

// COM must be started on the thread (the JPEG encoder is a COM object).
std::vector<ImageCorpusEntry> MakeImageCorpus();

// A GIF frame's image data: the code size, then the codes of the pixels (colour indexes below 128) in sub-blocks,
// written with a clear code often enough that the code width never grows.
fuzz::Bytes GifImageData(const std::vector<unsigned char>& pixels);

}  // namespace image_test
