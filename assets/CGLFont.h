#pragma once
// Strings drawn as textured squares cut from a 16 x 16 glyph atlas, in the unit square
// that covers the viewport (x from the left, y downward from the top).
#include "platform/GLHeaders.h"

class CGLFont {
public:
    // The atlas texture; 0 when loading failed (squares are then drawn untextured).
    GLuint m_texture = 0;

    void Load(int resourceId, bool smooth);
    void DrawString(float x, float y, float charWidth, float charHeight, const char* text);
    // Push both matrices and set up the unit-square projection; End2D pops them and
    // leaves the modelview matrix selected.
    void Begin2D();
    void End2D();
};
