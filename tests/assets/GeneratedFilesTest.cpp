// The storm loop, the information page, the bitmaps, the icon and the cursor.
#include "AssetFiles.h"
#include "assets/WaveFile.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <vector>

TEST_CASE("the storm loop has the exact RIFF layout")
{
    const ByteVector wave = ReadResourceFile("storm.wav");
    CHECK(RawResource(144) == wave);
    REQUIRE(wave.size() == 340066);
    CHECK(TextAt(wave, 0, 4) == "RIFF");
    CHECK(U32At(wave, 4) == 340058);
    CHECK(TextAt(wave, 8, 4) == "WAVE");
    CHECK(TextAt(wave, 12, 4) == "fmt ");
    CHECK(U32At(wave, 16) == 16);
    CHECK(U16At(wave, 20) == 1);
    CHECK(U16At(wave, 22) == 2);
    CHECK(U32At(wave, 24) == 22050);
    CHECK(U32At(wave, 28) == 44100);
    CHECK(U16At(wave, 32) == 2);
    CHECK(U16At(wave, 34) == 8);
    CHECK(TextAt(wave, 36, 4) == "data");
    CHECK(U32At(wave, 40) == 339966);
    CHECK(TextAt(wave, 340010, 4) == "LIST");
    CHECK(U32At(wave, 340014) == 48);
    CHECK(TextAt(wave, 340018, 4) == "INFO");
    // The INFO list: a creation date and the tool's name, each a chunk of its own.
    CHECK(TextAt(wave, 340022, 4) == "ICRD");
    const std::uint32_t dateSize = U32At(wave, 340026);
    const std::size_t next = 340030 + dateSize + (dateSize & 1);
    CHECK(TextAt(wave, next, 4) == "ISFT");
    CHECK(next + 8 + U32At(wave, next + 4) + (U32At(wave, next + 4) & 1) == wave.size());

    const auto info = ParseWave(wave.data(), wave.size());
    REQUIRE(info);
    CHECK(info->FrameCount() == 169983);
    CHECK(info->samples == wave.data() + 44);
}

namespace {

struct Channels {
    std::vector<int> left, right;
};

Channels StormChannels()
{
    const ByteVector wave = ReadResourceFile("storm.wav");
    Channels c;
    for (std::size_t i = 44; i + 1 < 44 + 339966; i += 2) {
        c.left.push_back(wave[i] - 128);
        c.right.push_back(wave[i + 1] - 128);
    }
    return c;
}

double Rms(const std::vector<int>& v, std::size_t begin, std::size_t end)
{
    double sum = 0;
    for (std::size_t i = begin; i < end; ++i)
        sum += static_cast<double>(v[i]) * v[i];
    return std::sqrt(sum / static_cast<double>(end - begin));
}

} // namespace

TEST_CASE("the storm loops without a jump at the seam")
{
    const Channels c = StormChannels();
    for (const std::vector<int>* channel : {&c.left, &c.right}) {
        const std::vector<int>& v = *channel;
        const std::size_t n = v.size();
        // The step from the last frame to the first is an ordinary step of the recording.
        std::vector<int> steps;
        for (std::size_t i = 0; i + 1 < n; ++i)
            steps.push_back(std::abs(v[i + 1] - v[i]));
        std::sort(steps.begin(), steps.end());
        const int typicalLarge = steps[steps.size() * 99 / 100];
        CHECK(std::abs(v.front() - v.back()) <= typicalLarge);
        // No change of level either: the last and first 50 ms are alike.
        const std::size_t window = 1102;
        const double tail = Rms(v, n - window, n);
        const double head = Rms(v, 0, window);
        CAPTURE(tail);
        CAPTURE(head);
        CHECK(tail < head * 1.5);
        CHECK(head < tail * 1.5);
        // Nor a click in the first and last milliseconds: no step there beyond the
        // largest one percent.
        for (std::size_t i = 0; i < 22; ++i) {
            CHECK(std::abs(v[i + 1] - v[i]) <= steps[steps.size() * 999 / 1000]);
            CHECK(std::abs(v[n - 1 - i] - v[n - 2 - i]) <= steps[steps.size() * 999 / 1000]);
        }
    }
}

TEST_CASE("the storm is true stereo, audible, and not clipped")
{
    const Channels c = StormChannels();
    const std::size_t n = c.left.size();
    double lr = 0, ll = 0, rr = 0;
    std::size_t differing = 0, clipped = 0;
    for (std::size_t i = 0; i < n; ++i) {
        lr += static_cast<double>(c.left[i]) * c.right[i];
        ll += static_cast<double>(c.left[i]) * c.left[i];
        rr += static_cast<double>(c.right[i]) * c.right[i];
        differing += c.left[i] != c.right[i];
        clipped += (c.left[i] == -128 || c.left[i] == 127) + (c.right[i] == -128 || c.right[i] == 127);
    }
    const double correlation = lr / std::sqrt(ll * rr);
    CAPTURE(correlation);
    CHECK(correlation < 0.9);
    CHECK(differing > n * 9 / 10);
    CHECK(clipped < n / 1000);
    // Loud enough to hear, and louder where the thunder rolls than in the plain rain.
    double quietest = 1e9, loudest = 0;
    for (std::size_t at = 0; at + 11025 <= n; at += 11025) {
        const double level = Rms(c.left, at, at + 11025) + Rms(c.right, at, at + 11025);
        quietest = std::min(quietest, level);
        loudest = std::max(loudest, level);
    }
    CHECK(quietest > 10.0);
    CHECK(loudest > quietest * 1.3);
}

TEST_CASE("the information page is one HTML document of 8945 bytes with CR LF line ends")
{
    const ByteVector page = ReadResourceFile("info.htm");
    CHECK(RawResource(143) == page);
    CHECK(page.size() == 8945);
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i] == '\n')
            REQUIRE((i > 0 && page[i - 1] == '\r'));
        if (page[i] == '\r')
            REQUIRE((i + 1 < page.size() && page[i + 1] == '\n'));
    }
    const std::string text(page.begin(), page.end());
    CHECK(text.rfind("<!DOCTYPE html>\r\n", 0) == 0);
    CHECK(text.size() >= 9);
    CHECK(text.substr(text.size() - 9) == "</html>\r\n");
    for (const char* mention : {"Arcveil 3D", "DejaVu Sans Mono", "Noto Sans Egyptian Hieroglyphs", "SIL Open Font License",
                                "Bitstream", "Install", "High quality rendering"})
        CHECK(text.find(mention) != std::string::npos);
}

namespace {

// A .bmp file: its 14-byte file header, then the bitmap as a resource holds it.
void CheckBitmap(const ByteVector& file, int width, int height, int bits)
{
    REQUIRE(file.size() > 54);
    CHECK(TextAt(file, 0, 2) == "BM");
    CHECK(U32At(file, 2) == file.size());
    CHECK(U32At(file, 14) == 40);
    CHECK(U32At(file, 18) == static_cast<std::uint32_t>(width));
    CHECK(U32At(file, 22) == static_cast<std::uint32_t>(height)); // positive: bottom-up
    CHECK(U16At(file, 26) == 1);
    CHECK(U16At(file, 28) == static_cast<unsigned>(bits));
    CHECK(U32At(file, 30) == 0); // uncompressed
    const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) & ~std::size_t(3);
    const std::size_t palette = bits == 8 ? 1024 : 0;
    CHECK(U32At(file, 10) == 54 + palette);
    CHECK(file.size() >= 54 + palette + stride * height);
}

} // namespace

TEST_CASE("the dialog background is 256 x 255 with a 256-colour palette of light greys")
{
    const ByteVector file = ReadResourceFile("dialog.bmp");
    CheckBitmap(file, 256, 255, 8);
    CHECK(file.size() == 54 + 1024 + 256 * 255);
    // Light: the pixels' average brightness through the palette.
    double sum = 0;
    for (std::size_t i = 54 + 1024; i < file.size(); ++i) {
        const std::size_t entry = 54 + 4 * static_cast<std::size_t>(file[i]);
        sum += (file[entry] + file[entry + 1] + file[entry + 2]) / 3.0;
    }
    CHECK(sum / (256.0 * 255.0) > 170.0);
}

TEST_CASE("the title picture is 200 x 150 at 24 bits, 90042 bytes as a resource")
{
    const ByteVector file = ReadResourceFile("title.bmp");
    CheckBitmap(file, 200, 150, 24);
    CHECK(file.size() - 14 == 90042);
    CHECK(U32At(file, 34) == 90042 - 40);
}

TEST_CASE("the icon is one 32 x 32 image of 16 colours with a mask")
{
    const ByteVector icon = ReadResourceFile("Arcveil3D.ico");
    CHECK(U16At(icon, 0) == 0);
    CHECK(U16At(icon, 2) == 1);
    CHECK(U16At(icon, 4) == 1);
    CHECK(icon[6] == 32);
    CHECK(icon[7] == 32);
    CHECK(icon[8] == 16);
    CHECK(U16At(icon, 12) == 4);
    const std::uint32_t size = U32At(icon, 14);
    const std::uint32_t offset = U32At(icon, 18);
    REQUIRE(offset + size == icon.size());
    CHECK(U32At(icon, offset) == 40);
    CHECK(U32At(icon, offset + 4) == 32);
    CHECK(U32At(icon, offset + 8) == 64); // colour image and mask
    CHECK(U16At(icon, offset + 14) == 4);
    CHECK(size == 40 + 64 + 512 + 128);
    // The mask leaves the corners see-through and the middle solid.
    const std::size_t mask = offset + 40 + 64 + 512;
    CHECK((icon[mask] & 0x80) != 0);                    // bottom-left pixel transparent
    CHECK((icon[mask + 16 * 4 + 2] & 0x80) == 0);       // a pixel in the middle opaque
}

TEST_CASE("the cursor is 32 x 32 monochrome, hotspot at the top left, and every pixel transparent")
{
    const ByteVector cursor = ReadResourceFile("invisible.cur");
    CHECK(U16At(cursor, 0) == 0);
    CHECK(U16At(cursor, 2) == 2);
    CHECK(U16At(cursor, 4) == 1);
    CHECK(cursor[6] == 32);
    CHECK(cursor[7] == 32);
    CHECK(U16At(cursor, 10) == 0); // hotspot x
    CHECK(U16At(cursor, 12) == 0); // hotspot y
    const std::uint32_t size = U32At(cursor, 14);
    const std::uint32_t offset = U32At(cursor, 18);
    REQUIRE(offset + size == cursor.size());
    CHECK(U32At(cursor, offset + 4) == 32);
    CHECK(U32At(cursor, offset + 8) == 64);
    CHECK(U16At(cursor, offset + 14) == 1);
    const std::size_t image = offset + 40 + 8;
    REQUIRE(image + 256 == cursor.size());
    // XOR image 0 and AND mask 1 everywhere: the screen shows through unchanged.
    CHECK(std::all_of(cursor.begin() + static_cast<std::ptrdiff_t>(image), cursor.begin() + static_cast<std::ptrdiff_t>(image + 128),
                      [](unsigned char b) { return b == 0x00; }));
    CHECK(std::all_of(cursor.begin() + static_cast<std::ptrdiff_t>(image + 128), cursor.end(),
                      [](unsigned char b) { return b == 0xFF; }));
}
