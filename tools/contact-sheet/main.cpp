// Renders every texture the program carries, and the glyph atlas, into one PNG so that a
// person can judge the art as the scene will use it:
//   arcveil-contact-sheet <out.png> [resources folder]
// Textures come through the resources seam (the table embedded in this build); with a
// resources folder the dialog background, the title picture and the icon are added.
// Each texture is shown on its own, tiled 2 x 2 where the scene repeats it (a seam would
// show as a line through the middle), and at the scene's unlit brightness where the
// scene multiplies it by the light.
#include "assets/TgaDecode.h"
#include "assets/WaveFile.h"
#include "platform/Resources.h"
#include "resources/ResourceIds.h"
#include "SheetCanvas.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

TgaImage LoadTexture(int id)
{
    const std::optional<ResourceBytes> bytes = FindRawResource(id);
    if (!bytes)
        throw std::runtime_error("resource " + std::to_string(id) + " is missing");
    std::optional<TgaImage> image = DecodeTGA(bytes->data, bytes->size);
    if (!image)
        throw std::runtime_error("resource " + std::to_string(id) + " does not decode");
    return *image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <out.png> [resources folder]\n", argv[0]);
        return 2;
    }
    try {
        const TgaImage glow = LoadTexture(IDR_GLOW_TEXTURE);
        const TgaImage sky = LoadTexture(IDR_SKY_TEXTURE);
        const TgaImage clouds = LoadTexture(IDR_CLOUD_TEXTURE);
        const TgaImage atlas = LoadTexture(IDR_GLYPH_ATLAS);
        const TgaImage sand = LoadTexture(IDR_GROUND_TEXTURE);
        const TgaImage rain = LoadTexture(IDR_RAIN_TEXTURE);

        SheetCanvas sheet(1590, 1470, {28, 28, 32});
        sheet.SetFont(atlas);
        const Pixel nightBlue{8, 12, 30};
        constexpr int kGap = 30;

        // Row 1: the sky, the clouds over it (unlit and lit), the sand (lit and unlit).
        int x = 10, y = 30;
        sheet.Label(x, y - 20, "137 sky 2x2");
        sheet.Draw(sky, x, y, Look().Repeat(2));
        x += 512 + kGap;
        sheet.Label(x, y - 20, "138 clouds 2x2 over sky, light 0.2");
        sheet.Draw(sky, x, y, Look().Repeat(2));
        sheet.Draw(clouds, x, y, Look().Repeat(2).Light(0.2f).With(Blend::Alpha));
        x += 512 + kGap;
        sheet.Label(x, y - 20, "138 clouds, light 1.0");
        sheet.Draw(sky, x, y, Look());
        sheet.Draw(clouds, x, y, Look().With(Blend::Alpha));
        sheet.Label(x, y + 256 + 10, "138 levels");
        sheet.Fill(x, y + 286, 256, 256, {0, 0, 0});
        sheet.Draw(clouds, x, y + 286, Look().With(Blend::Alpha));

        // Row 2: sand tiled at full and at the scene's unlit brightness, glow and rain.
        x = 10;
        y = 30 + 512 + 50;
        sheet.Label(x, y - 20, "140 sand 2x2");
        sheet.Draw(sand, x, y, Look().Repeat(2));
        x += 512 + kGap;
        sheet.Label(x, y - 20, "140 sand 2x2, light 0.2");
        sheet.Draw(sand, x, y, Look().Repeat(2).Light(0.2f));
        x += 512 + kGap;
        y += 286 + 40;
        sheet.Label(x, y - 20, "133 glow x2");
        sheet.Fill(x, y, 128, 128, {0, 0, 0});
        sheet.Draw(glow, x, y, Look().Zoom(2).With(Blend::Add));
        sheet.Label(x + 140, y - 20, "141 rain x2");
        sheet.Fill(x + 140, y, 128, 128, {0, 0, 0});
        sheet.Draw(rain, x + 140, y, Look().Zoom(2).With(Blend::Add));
        sheet.Label(x + 280, y - 20, "rain, light");
        sheet.Label(x + 280, y, "0.2 / 1");
        sheet.Fill(x + 280, y + 20, 190, 108, nightBlue);
        for (int i = 0; i < 8; ++i)
            sheet.DrawStretched(rain, x + 290 + i * 22, y + 30 + (i % 3) * 6, 6, 64, i < 4 ? 0.2f : 1.0f);

        // The storm loop: each channel's envelope over the whole loop, and the samples
        // around the seam (end of the loop, then its start again) one to a column.
        const std::optional<ResourceBytes> storm = FindRawResource(IDR_STORM_SOUND);
        const std::optional<WaveInfo> wave = storm ? ParseWave(storm->data, storm->size) : std::nullopt;
        if (!wave || wave->channels != 2 || wave->bitsPerSample != 8)
            throw std::runtime_error("resource 144 is not an 8-bit stereo WAVE");
        std::vector<int> channel[2];
        for (std::size_t i = 0; i + 1 < wave->sampleBytes; i += 2) {
            channel[0].push_back(wave->samples[i]);
            channel[1].push_back(wave->samples[i + 1]);
        }
        x = 10 + 2 * (512 + kGap);
        y = 30 + 512 + 50;
        sheet.Label(x, y - 20, "144 storm, left / right");
        sheet.Waveform(x, y, 480, 60, channel[0], -1);
        sheet.Waveform(x, y + 64, 480, 60, channel[1], -1);
        sheet.Label(x, y + 150, "seam, 240 samples each side");
        for (int c = 0; c < 2; ++c) {
            std::vector<int> seam(channel[c].end() - 240, channel[c].end());
            seam.insert(seam.end(), channel[c].begin(), channel[c].begin() + 240);
            sheet.Waveform(x, y + 170 + c * 44, 480, 40, seam, 240);
        }

        // Row 3: the atlas at twice its size, the scene's symbol strings, the pictures.
        x = 10;
        y = 30 + 2 * (512 + 50);
        sheet.Label(x, y - 20, "139 atlas");
        sheet.Fill(x, y, 256, 256, nightBlue);
        sheet.Draw(atlas, x, y, Look().With(Blend::Alpha));
        sheet.Label(x + 276, y - 20, "139 on black, grid");
        sheet.Fill(x + 276, y, 256, 256, {0, 0, 0});
        sheet.Draw(atlas, x + 276, y, Look().With(Blend::Alpha));
        sheet.Grid(x + 276, y, 16, 16, {60, 20, 20});
        sheet.Label(x + 552, y - 20, "symbols EC..FB, 30%");
        sheet.Fill(x + 552, y, 300, 100, nightBlue);
        std::string symbols;
        for (int c = 0xEC; c <= 0xFB; ++c)
            symbols += static_cast<char>(c);
        sheet.Text(x + 562, y + 10, symbols.substr(0, 8), 2, 0.3f);
        sheet.Text(x + 562, y + 50, symbols.substr(8), 2, 0.3f);
        sheet.Text(x + 552, y + 120, "The quick brown fox jumps", 1, 1.0f);
        sheet.Text(x + 552, y + 140, "over the lazy dog 0123456789", 1, 1.0f);
        sheet.Text(x + 552, y + 160, "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", 1, 1.0f);
        if (argc > 2) {
            const std::string folder = argv[2];
            sheet.Label(x + 880, y - 20, "146 title");
            sheet.DrawBmp(folder + "/title.bmp", x + 880, y, 1);
            sheet.Label(x + 880, y + 170, "146 at 152x112");
            sheet.DrawBmpScaled(folder + "/title.bmp", x + 880, y + 190, 152, 112);
            sheet.Label(x + 1100, y - 20, "131 dialog");
            sheet.DrawBmp(folder + "/dialog.bmp", x + 1100, y, 1);
            sheet.Label(x + 1380, y - 20, "128 icon x1 x4");
            sheet.DrawIcon(folder + "/Arcveil3D.ico", x + 1380, y, 1);
            sheet.DrawIcon(folder + "/Arcveil3D.ico", x + 1380, y + 40, 4);
        }
        sheet.WritePng(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
