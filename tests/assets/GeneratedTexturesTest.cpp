// The generated TGA textures: exact layout, and the properties the scene relies on.
#include "AssetFiles.h"
#include "assets/TgaDecode.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

struct ExpectedTexture {
    int id;
    const char* file;
    bool colourMapped;
    int size;
    std::size_t bytes;
};

const ExpectedTexture kTextures[] = {
    {133, "glow.tga", true, 64, 4908},   {137, "nightsky.tga", true, 256, 66348}, {138, "clouds.tga", false, 256, 65580},
    {139, "glyphs.tga", false, 256, 65580}, {140, "sand.tga", true, 256, 66348}, {141, "raindrop.tga", true, 64, 4908},
};

TgaImage Load(int id)
{
    const ByteVector bytes = RawResource(id);
    auto image = DecodeTGA(bytes.data(), bytes.size());
    REQUIRE(image);
    return *image;
}

// Picture coordinates: x from the left, y from the top as the picture is seen (the
// stored rows run bottom-up).
const unsigned char* At(const TgaImage& image, int x, int y)
{
    return &image.rgba[(static_cast<std::size_t>(image.height - 1 - y) * image.width + x) * 4];
}

float Luminance(const unsigned char* p) { return 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2]; }

// Mean absolute difference of colour and alpha between pixels a step apart: across the
// wrap-around seam versus everywhere inside the picture.
void SeamAndInterior(const TgaImage& image, double& seam, double& interior)
{
    auto diff = [&](int x0, int y0, int x1, int y1) {
        const unsigned char* a = At(image, x0, y0);
        const unsigned char* b = At(image, x1, y1);
        double d = 0;
        for (int c = 0; c < 4; ++c)
            d += std::abs(a[c] - b[c]);
        return d;
    };
    const int n = image.width;
    double seamSum = 0, interiorSum = 0;
    for (int i = 0; i < n; ++i) {
        seamSum += diff(n - 1, i, 0, i) + diff(i, n - 1, i, 0);
        for (int j = 0; j + 1 < n; ++j)
            interiorSum += diff(j, i, j + 1, i) + diff(i, j, i, j + 1);
    }
    seam = seamSum / (2.0 * n);
    interior = interiorSum / (2.0 * n * (n - 1));
}

} // namespace

TEST_CASE("every texture file has the exact TGA layout, and the embedded table serves its bytes")
{
    for (const ExpectedTexture& t : kTextures) {
        CAPTURE(t.file);
        const ByteVector file = ReadResourceFile(t.file);
        CHECK(RawResource(t.id) == file);
        REQUIRE(file.size() == t.bytes);
        CHECK(file[0] == 0); // no image ID
        CHECK(file[1] == (t.colourMapped ? 1 : 0));
        CHECK(file[2] == (t.colourMapped ? 1 : 3));
        CHECK(U16At(file, 3) == 0);
        CHECK(U16At(file, 5) == (t.colourMapped ? 256u : 0u));
        CHECK(file[7] == (t.colourMapped ? 24 : 0));
        CHECK(U16At(file, 8) == 0);
        CHECK(U16At(file, 10) == 0);
        CHECK(U16At(file, 12) == static_cast<unsigned>(t.size));
        CHECK(U16At(file, 14) == static_cast<unsigned>(t.size));
        CHECK(file[16] == 8);
        CHECK(file[17] == 0x08);
        // Header, map, pixels, then the 26-byte footer and nothing else.
        const std::size_t pixelsEnd = 18 + (t.colourMapped ? 768 : 0) + static_cast<std::size_t>(t.size) * t.size;
        REQUIRE(pixelsEnd + 26 == file.size());
        CHECK(U32At(file, pixelsEnd) == 0);
        CHECK(U32At(file, pixelsEnd + 4) == 0);
        CHECK(TextAt(file, pixelsEnd + 8, 18) == std::string("TRUEVISION-XFILE.\0", 18));
    }
}

TEST_CASE("the repeating textures meet themselves without a seam")
{
    for (int id : {137, 138, 140}) {
        CAPTURE(id);
        double seam = 0, interior = 0;
        SeamAndInterior(Load(id), seam, interior);
        CAPTURE(seam);
        CAPTURE(interior);
        // A hard edge shows as a jump several times the picture's own texture.
        CHECK(seam < interior * 1.35 + 1.0);
    }
}

TEST_CASE("the glow is a white disc that falls to exact black well inside its square")
{
    const TgaImage glow = Load(133);
    float centre = Luminance(At(glow, 31, 31));
    CHECK(centre >= 250.0f);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const unsigned char* p = At(glow, x, y);
            CHECK((p[0] == p[1] && p[1] == p[2])); // white, only brighter or darker
            const float r = std::hypot(x - 31.5f, y - 31.5f);
            if (r >= 28.0f)
                REQUIRE(p[0] == 0);
        }
    }
    // Falling off from the centre along a radius.
    for (int x = 32; x < 63; ++x)
        CHECK(Luminance(At(glow, x + 1, 31)) <= Luminance(At(glow, x, 31)));
}

TEST_CASE("the rain drop is a narrow streak on exact black, brightest in its lower half")
{
    const TgaImage rain = Load(141);
    int brightestY = -1;
    float brightest = -1;
    int lit = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const unsigned char* p = At(rain, x, y);
            CHECK((p[0] == p[1] && p[1] == p[2]));
            const bool edge = x < 4 || y < 4 || x >= 60 || y >= 60;
            if (edge || x < 16 || x >= 48)
                REQUIRE(p[0] == 0);
            if (p[0] > 0)
                ++lit;
            if (Luminance(p) > brightest) {
                brightest = Luminance(p);
                brightestY = y;
            }
        }
    }
    CHECK(brightest >= 240.0f);
    CHECK(brightestY >= 32);
    CHECK(lit < 64 * 64 / 4);
}

TEST_CASE("the sky is dark with stars, the clouds span the levels, the sand reads at a fifth of its light")
{
    SUBCASE("sky")
    {
        const TgaImage sky = Load(137);
        double sum = 0;
        int stars = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const float l = Luminance(At(sky, x, y));
                sum += l;
                stars += l > 180.0f;
            }
        CHECK(sum / 65536.0 < 40.0);
        CHECK(stars > 50);
    }
    SUBCASE("clouds")
    {
        const TgaImage clouds = Load(138);
        std::vector<int> alpha;
        for (std::size_t i = 0; i < clouds.rgba.size(); i += 4) {
            REQUIRE(clouds.rgba[i] == 255); // white, the level is the opacity
            alpha.push_back(clouds.rgba[i + 3]);
        }
        std::sort(alpha.begin(), alpha.end());
        CHECK(alpha[alpha.size() / 10] <= 10);
        CHECK(alpha[alpha.size() * 9 / 10] >= 170);
        CHECK(alpha.back() >= 250);
        // Soft: neighbours rarely differ by much.
        double seam = 0, interior = 0;
        SeamAndInterior(clouds, seam, interior);
        CHECK(interior < 6.0);
    }
    SUBCASE("sand")
    {
        const TgaImage sand = Load(140);
        std::vector<float> l;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                l.push_back(Luminance(At(sand, x, y)));
        const double mean = std::accumulate(l.begin(), l.end(), 0.0) / l.size();
        double var = 0;
        for (float v : l)
            var += (v - mean) * (v - mean);
        const double deviation = std::sqrt(var / l.size());
        CAPTURE(mean);
        CAPTURE(deviation);
        CHECK(mean >= 150.0);
        CHECK(deviation >= 18.0);
    }
}
