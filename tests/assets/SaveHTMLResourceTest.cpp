// The page writer on its own: the bytes of a raw-data resource into a file, every
// failure a plain false.
#include <doctest/doctest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/CallChain.h"
#include "assets/SaveHTMLResource.h"
#include "platform/Resources.h"

namespace {
const unsigned char kPage[] = "<html>\r\n<body>\0binary\xff</body>\r\n</html>\r\n";

struct ResourceTable {
    ResourceTable()
    {
        SetResourceLookup([](int id) -> std::optional<ResourceBytes> {
            if (id == 143)
                return ResourceBytes{kPage, sizeof kPage};
            if (id == 150)
                return ResourceBytes{kPage, 0};
            return std::nullopt;
        });
    }
    ~ResourceTable() { SetResourceLookup(nullptr); }
};

std::vector<unsigned char> Contents(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path)
{
    return std::ifstream(path).good();
}
} // namespace

TEST_CASE("SaveHTMLResource writes the resource byte for byte, over any older file")
{
    const ResourceTable table;
    const std::string path = "arcveil-page-test.htm";
    std::remove(path.c_str());
    const std::vector<unsigned char> expected(kPage, kPage + sizeof kPage);

    CHECK(SaveHTMLResource(143, path.c_str()));
    CHECK(Contents(path) == expected);
    {
        std::ofstream longer(path, std::ios::binary);
        longer << std::string(3 * sizeof kPage, '#');
    }
    CHECK(SaveHTMLResource(143, path.c_str()));
    CHECK(Contents(path) == expected);
    std::remove(path.c_str());
}

TEST_CASE("SaveHTMLResource answers false, quietly, when it cannot do its work")
{
    const ResourceTable table;
    g_callChain.clear();
    SUBCASE("no such resource: no file either")
    {
        std::remove("arcveil-missing.htm");
        CHECK_FALSE(SaveHTMLResource(142, "arcveil-missing.htm"));
        CHECK_FALSE(Exists("arcveil-missing.htm"));
    }
    SUBCASE("an empty resource")
    {
        std::remove("arcveil-empty.htm");
        CHECK_FALSE(SaveHTMLResource(150, "arcveil-empty.htm"));
        CHECK_FALSE(Exists("arcveil-empty.htm"));
    }
    SUBCASE("a folder that does not exist")
    {
        CHECK_FALSE(SaveHTMLResource(143, "arcveil-no-such-folder\\page.htm"));
    }
    SUBCASE("a path that names a folder")
    {
        CHECK_FALSE(SaveHTMLResource(143, "."));
    }
    // Nothing was raised, so nothing was written into the chain.
    CHECK(g_callChain.empty());
}

TEST_CASE("the page's path: the folder, one backslash, Arcveil3D.htm")
{
    CHECK(InfoPageFilePath("C:\\WINDOWS") == "C:\\WINDOWS\\Arcveil3D.htm");
    CHECK(InfoPageFilePath("C:\\Users\\me\\Temp\\") == "C:\\Users\\me\\Temp\\Arcveil3D.htm");
    CHECK(InfoPageFilePath("C:\\") == "C:\\Arcveil3D.htm");
}
