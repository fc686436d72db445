// Lookup of the generated glyph tables by size.
#include "gfx/glyph_table.h"

const GlyphTable* FindGlyphTable(int32_t pixelHeight) {
    for (int32_t i = 0; i < glyphTableCount; ++i) {
        if (glyphTables[i].pixelHeight == pixelHeight) {
            return &glyphTables[i];
        }
    }
    return nullptr;
}
