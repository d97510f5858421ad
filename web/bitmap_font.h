// A bitmap font as glBitmap takes it: one glyph per character code.
#pragma once

struct BitmapGlyph {
    int width;            // pixels
    int height;           // pixels
    float xorig;          // pixels from the glyph's left edge to the raster position
    float yorig;          // pixels from the glyph's bottom row to the raster position
    float xmove;          // raster position advance after the glyph
    float ymove;
    unsigned offset;      // first byte in BitmapFont::bits
};

struct BitmapFont {
    const BitmapGlyph* glyphs;  // 128 entries, indexed by character code
    const unsigned char* bits;  // rows bottom-up, ceil(width / 8) bytes each, leftmost pixel in the top bit
};

// The desktop's GLUT_BITMAP_HELVETICA_18, glyph for glyph.
extern const BitmapFont fontHelvetica18;
