// tavrel-assetgen: draws the pictures and files of the package that are not the user's (the
// program's image resources, the icon files of the default rules, the month titles, the day bar
// and the default skin) into a folder of the build tree. See README.md.

#include "AssetCatalogue.h"
#include "AssetWriter.h"
#include "ContactSheet.h"

#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

namespace {

const char* const usage =
    "usage: tavrel-assetgen --out DIR [--expect LIST] [--sheet DIR]\n"
    "  --out DIR      write the assets below DIR (resources/, package/)\n"
    "  --expect LIST  fail unless the assets are exactly the relative paths listed in LIST\n"
    "  --sheet DIR    also write contact sheets (icons.png, strips.png, months.png, backgrounds.png)\n";

int fail(const std::string& message)
{
    std::cerr << "tavrel-assetgen: " << message << "\n";
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::optional<std::string> out, expect, sheet;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << usage;
            return 0;
        }
        std::optional<std::string>* target = argument == "--out" ? &out
            : argument == "--expect"                              ? &expect
            : argument == "--sheet"                               ? &sheet
                                                                  : nullptr;
        if (!target)
            return fail("unknown argument '" + argument + "' (see --help)");
        if (i + 1 >= argc)
            return fail(argument + " needs a value");
        *target = argv[++i];
    }
    if (!out)
        return fail("--out DIR is required (see --help)");

    try {
        const std::vector<assetgen::Asset> assets = assetgen::AssetCatalogue::build();
        std::string error;
        if (expect && !assetgen::AssetWriter::matchesList(assets, *expect, error))
            return fail(error);
        if (!assetgen::AssetWriter(*out).writeAll(assets, error))
            return fail(error);
        if (sheet && !assetgen::ContactSheet::write(assets, *sheet))
            return fail("the contact sheets cannot be written to " + *sheet);
    } catch (const std::exception& problem) {
        return fail(problem.what());
    }
    return 0;
}
