// Writes every asset file of the program into a resources folder:
//   arcveil-assetgen <resources folder> [font folder]
// The output depends only on this source and the fonts, never on time or machine.
#include "Artwork.h"
#include "FileFormats.h"
#include "Glyphs.h"
#include "InfoPage.h"
#include "Palette.h"
#include "Storm.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

namespace {

Colour GreyRamp(float level) { return {level, level, level}; }

// Light grey with a cool tint, for the dialog background.
Colour CloudRamp(float level) { return {0.06f + 0.94f * level, 0.07f + 0.93f * level, 0.10f + 0.90f * level}; }

std::vector<Rgb> ToRgb(const ColourRaster& picture)
{
    std::vector<Rgb> out;
    out.reserve(picture.pixels.size());
    for (const Colour& c : picture.pixels)
        out.push_back({ToByte(c.r), ToByte(c.g), ToByte(c.b)});
    return out;
}

void Report(const std::string& path, const Bytes& bytes)
{
    WriteBytes(path, bytes);
    std::printf("%-40s %7zu bytes\n", path.c_str(), bytes.size());
}

Bytes CopyOf(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        throw std::runtime_error("cannot read " + path);
    Bytes bytes;
    unsigned char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(file);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <resources folder> [font folder, default /usr/share/fonts/truetype]\n", argv[0]);
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/";
    const std::string fonts = argc > 2 ? std::string(argv[2]) + "/" : std::string("/usr/share/fonts/truetype/");
    try {
        FontFace mono(fonts + "dejavu/DejaVuSansMono.ttf");
        FontFace bold(fonts + "dejavu/DejaVuSans-Bold.ttf");
        FontFace sans(fonts + "dejavu/DejaVuSans.ttf");
        FontFace symbols(fonts + "noto/NotoSansEgyptianHieroglyphs-Regular.ttf");

        Report(out + "glow.tga", EncodeColourMappedTga(IndexLevels(PaintGlow(), GreyRamp)));
        Report(out + "nightsky.tga", EncodeColourMappedTga(QuantiseColours(PaintNightSky())));
        const GreyRaster clouds = PaintClouds();
        Report(out + "clouds.tga", EncodeGreyTga(clouds.width, clouds.height, GreyBytes(clouds)));
        const GreyRaster atlas = PaintGlyphAtlas(mono, symbols);
        Report(out + "glyphs.tga", EncodeGreyTga(atlas.width, atlas.height, GreyBytes(atlas)));
        Report(out + "sand.tga", EncodeColourMappedTga(QuantiseColours(PaintSand())));
        Report(out + "raindrop.tga", EncodeColourMappedTga(IndexLevels(PaintRainDrop(), GreyRamp)));

        const std::string page = ComposeInfoPage();
        Report(out + "info.htm", Bytes(page.begin(), page.end()));
        Report(out + "storm.wav", EncodeWave8(2, kStormRate, SynthesiseStorm(), {"2026-12-06", "Arcveil3D tools"}));

        Report(out + "dialog.bmp", EncodeBmp8(IndexLevels(PaintDialogBackground(bold), CloudRamp)));
        const ColourRaster title = PaintTitlePicture(bold, sans);
        // Two pad bytes after the pixels, counted in the image size, as paint programs write.
        Report(out + "title.bmp", EncodeBmp24(title.width, title.height, ToRgb(title), 2));
        std::vector<unsigned char> iconIndices, iconMask;
        std::vector<Rgb> iconPalette;
        PaintIcon(iconIndices, iconPalette, iconMask);
        Report(out + "Arcveil3D.ico", EncodeIcon16(iconIndices, iconPalette, iconMask));
        Report(out + "invisible.cur", EncodeInvisibleCursor());

        Report(out + "LICENSE-DejaVu.txt", CopyOf("/usr/share/doc/fonts-dejavu-core/copyright"));
        Report(out + "LICENSE-Noto.txt", CopyOf("/usr/share/doc/fonts-noto-core/copyright"));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
