#include "assets/TgaDecode.h"
#include "TgaBuilder.h"

#include <doctest/doctest.h>

#include <cstdint>

namespace {

std::optional<TgaImage> Decode(const std::vector<unsigned char>& bytes) { return DecodeTGA(bytes.data(), bytes.size()); }

std::vector<unsigned char> Pixel(const TgaImage& image, int index)
{
    const auto at = image.rgba.begin() + index * 4;
    return {at, at + 4};
}

using Rgba = std::vector<unsigned char>;

} // namespace

TEST_CASE("colour-mapped 8-bit images look up each index in the 24-bit map, stored order kept")
{
    const auto bytes = TgaBuilder::Mapped(2, 2, {0, 1, 200, 255}).Bytes();
    const auto image = Decode(bytes);
    REQUIRE(image);
    CHECK(image->width == 2);
    CHECK(image->height == 2);
    REQUIRE(image->rgba.size() == 16);
    // Entry i is stored blue, green, red = (i, 255 - i, i ^ 0x5A).
    CHECK(Pixel(*image, 0) == Rgba{0x5A, 255, 0, 255});
    CHECK(Pixel(*image, 1) == Rgba{1 ^ 0x5A, 254, 1, 255});
    CHECK(Pixel(*image, 2) == Rgba{200 ^ 0x5A, 55, 200, 255});
    CHECK(Pixel(*image, 3) == Rgba{255 ^ 0x5A, 0, 255, 255});
}

TEST_CASE("grey 8-bit images become white with the level as alpha")
{
    const auto image = Decode(TgaBuilder::Grey(4, 1, {0, 1, 128, 255}).Bytes());
    REQUIRE(image);
    CHECK(Pixel(*image, 0) == Rgba{255, 255, 255, 0});
    CHECK(Pixel(*image, 1) == Rgba{255, 255, 255, 1});
    CHECK(Pixel(*image, 2) == Rgba{255, 255, 255, 128});
    CHECK(Pixel(*image, 3) == Rgba{255, 255, 255, 255});
}

TEST_CASE("true-colour images swap blue and red; 24 bits give opaque pixels, 32 bits keep alpha")
{
    SUBCASE("24 bits")
    {
        const auto image = Decode(TgaBuilder::TrueColour(2, 1, 24, {1, 2, 3, 40, 50, 60}).Bytes());
        REQUIRE(image);
        CHECK(Pixel(*image, 0) == Rgba{3, 2, 1, 255});
        CHECK(Pixel(*image, 1) == Rgba{60, 50, 40, 255});
    }
    SUBCASE("32 bits")
    {
        const auto image = Decode(TgaBuilder::TrueColour(1, 2, 32, {1, 2, 3, 4, 10, 20, 30, 0}).Bytes());
        REQUIRE(image);
        CHECK(Pixel(*image, 0) == Rgba{3, 2, 1, 4});
        CHECK(Pixel(*image, 1) == Rgba{30, 20, 10, 0});
    }
}

TEST_CASE("an image ID field is skipped before the colour map or the pixels")
{
    SUBCASE("grey")
    {
        TgaBuilder b = TgaBuilder::Grey(2, 1, {7, 9});
        b.id = {0xEE, 0xEE, 0xEE};
        const auto image = Decode(b.Bytes());
        REQUIRE(image);
        CHECK(Pixel(*image, 0) == Rgba{255, 255, 255, 7});
        CHECK(Pixel(*image, 1) == Rgba{255, 255, 255, 9});
    }
    SUBCASE("colour-mapped, longest ID")
    {
        TgaBuilder b = TgaBuilder::Mapped(1, 1, {3});
        b.id.assign(255, 0x11);
        const auto image = Decode(b.Bytes());
        REQUIRE(image);
        CHECK(Pixel(*image, 0) == Rgba{3 ^ 0x5A, 252, 3, 255});
    }
}

TEST_CASE("depths other than 8, 24 and 32 are refused")
{
    for (int depth : {0, 1, 4, 15, 16, 31, 33, 64, 255}) {
        CAPTURE(depth);
        TgaBuilder b = TgaBuilder::TrueColour(1, 1, static_cast<std::uint8_t>(depth), std::vector<unsigned char>(8, 0));
        CHECK_FALSE(Decode(b.Bytes()));
    }
}

TEST_CASE("images that end before their last pixel are refused, at every length")
{
    const std::vector<std::vector<unsigned char>> images = {
        TgaBuilder::Mapped(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}).Bytes(),
        TgaBuilder::Grey(2, 2, {1, 2, 3, 4}).Bytes(),
        TgaBuilder::TrueColour(2, 1, 24, {1, 2, 3, 4, 5, 6}).Bytes(),
        TgaBuilder::TrueColour(2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8}).Bytes(),
    };
    for (const auto& full : images) {
        REQUIRE(Decode(full));
        for (std::size_t length = 0; length < full.size(); ++length) {
            CAPTURE(length);
            // A copy of exactly `length` bytes, so a sanitizer sees any read beyond it.
            const std::vector<unsigned char> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
            CHECK_FALSE(DecodeTGA(cut.data(), cut.size()));
        }
    }
    CHECK_FALSE(DecodeTGA(nullptr, 100));
}

TEST_CASE("bytes after the pixels (a footer) are allowed")
{
    auto bytes = TgaBuilder::Grey(1, 1, {42}).Bytes();
    bytes.resize(bytes.size() + 26, 0);
    const auto image = Decode(bytes);
    REQUIRE(image);
    CHECK(Pixel(*image, 0) == Rgba{255, 255, 255, 42});
}

TEST_CASE("colour maps other than 256 entries of 24 bits from entry 0 are refused")
{
    SUBCASE("fewer entries")
    {
        TgaBuilder b = TgaBuilder::Mapped(1, 1, {0});
        b.mapLength = 16;
        CHECK_FALSE(Decode(b.Bytes()));
    }
    SUBCASE("first entry not 0")
    {
        TgaBuilder b = TgaBuilder::Mapped(1, 1, {0});
        b.mapFirst = 1;
        CHECK_FALSE(Decode(b.Bytes()));
    }
    SUBCASE("32-bit entries")
    {
        TgaBuilder b = TgaBuilder::Mapped(1, 1, {0});
        b.mapEntryBits = 32;
        CHECK_FALSE(Decode(b.Bytes()));
    }
    SUBCASE("a map in front of true-colour pixels")
    {
        TgaBuilder b = TgaBuilder::Mapped(1, 1, {1, 2, 3});
        b.depth = 24;
        CHECK_FALSE(Decode(b.Bytes()));
    }
}

TEST_CASE("empty and oversized dimensions are refused without reading")
{
    CHECK_FALSE(Decode(TgaBuilder::Grey(0, 4, {}).Bytes()));
    CHECK_FALSE(Decode(TgaBuilder::Grey(4, 0, {}).Bytes()));
    // 65535 x 65535 pixels claimed by a few bytes.
    CHECK_FALSE(Decode(TgaBuilder::TrueColour(65535, 65535, 32, {1, 2, 3, 4}).Bytes()));
    CHECK_FALSE(Decode(TgaBuilder::Mapped(65535, 65535, {1}).Bytes()));
}

TEST_CASE("arbitrary bytes either decode to a full picture or are refused")
{
    // Mutations of valid images and random headers: whatever comes in, the decoder
    // stays inside the bytes (a sanitizer build checks that) and never returns a
    // picture smaller than its size.
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 214013u + 2531011u;
        return (state >> 16) & 0x7FFF;
    };
    const std::vector<std::vector<unsigned char>> seeds = {
        TgaBuilder::Mapped(2, 2, {0, 1, 2, 3}).Bytes(),
        TgaBuilder::Grey(2, 2, {1, 2, 3, 4}).Bytes(),
        TgaBuilder::TrueColour(2, 2, 32, std::vector<unsigned char>(16, 9)).Bytes(),
    };
    int decoded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes = seeds[static_cast<std::size_t>(round) % seeds.size()];
        const int flips = 1 + static_cast<int>(next() % 4);
        for (int f = 0; f < flips; ++f) {
            // Mostly the header, where the sizes live.
            const std::size_t at = next() % 4 ? next() % 18 : next() % bytes.size();
            bytes[at] = static_cast<unsigned char>(next());
        }
        bytes.resize(next() % 2 ? bytes.size() : next() % (bytes.size() + 1));
        const auto image = DecodeTGA(bytes.data(), bytes.size());
        if (image) {
            ++decoded;
            REQUIRE(image->width > 0);
            REQUIRE(image->height > 0);
            REQUIRE(image->rgba.size() == static_cast<std::size_t>(image->width) * image->height * 4);
        }
    }
    CHECK(decoded > 0);
}
