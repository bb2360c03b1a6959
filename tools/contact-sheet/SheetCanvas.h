#pragma once
// A small RGB canvas for the contact sheet: draws decoded textures the way the scene
// blends them, text from the glyph atlas itself, and the Windows pictures from files.
#include "assets/TgaDecode.h"

#include <string>
#include <vector>

struct Pixel {
    unsigned char r, g, b;
};

enum class Blend { Opaque, Alpha, Add };

// How a texture is drawn: tiled `repeat` x `repeat`, each texel `zoom` pixels, colours
// multiplied by `light`, combined with what is there by `blend`.
struct Look {
    int repeat = 1;
    int zoom = 1;
    float light = 1.0f;
    Blend blend = Blend::Opaque;
    Look& Repeat(int n) { repeat = n; return *this; }
    Look& Zoom(int n) { zoom = n; return *this; }
    Look& Light(float l) { light = l; return *this; }
    Look& With(Blend b) { blend = b; return *this; }
};

class SheetCanvas {
public:
    SheetCanvas(int width, int height, Pixel background);

    void SetFont(const TgaImage& atlas) { m_atlas = atlas; }
    void Fill(int x, int y, int w, int h, Pixel colour);
    void Grid(int x, int y, int cells, int cellSize, Pixel colour);
    // Texture rows are stored bottom-up; they are shown the right way up.
    void Draw(const TgaImage& image, int x, int y, const Look& look);
    // Stretched to w x h, added to the canvas (the rain strip of the scene).
    void DrawStretched(const TgaImage& image, int x, int y, int w, int h, float light);
    void Text(int x, int y, const std::string& text, int scale, float opacity);
    void Label(int x, int y, const std::string& text) { Text(x, y, text, 1, 1.0f); }

    // Unsigned 8-bit samples of one channel: the range of the samples under each column
    // (a waveform envelope), `columns` wide and `height` high, with a line at `marker`
    // (a column, or -1 for none).
    void Waveform(int x, int y, int columns, int height, const std::vector<int>& samples, int marker);

    void DrawBmp(const std::string& path, int x, int y, int zoom);
    void DrawBmpScaled(const std::string& path, int x, int y, int w, int h);
    void DrawIcon(const std::string& path, int x, int y, int zoom);

    void WritePng(const std::string& path) const;

private:
    void Put(int x, int y, float r, float g, float b, float alpha, Blend blend);

    int m_width;
    int m_height;
    std::vector<float> m_rgb;
    TgaImage m_atlas;
};
