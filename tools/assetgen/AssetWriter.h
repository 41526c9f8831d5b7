#pragma once
// Writes the assets below an output folder and checks them against the list the build expects,
// so that the generator and assets/TavrelAssets.cmake cannot drift apart unnoticed.

#include "Asset.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace assetgen {

class AssetWriter {
public:
    explicit AssetWriter(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    // Encodes and writes every asset. On failure `error` names the file and the reason.
    bool writeAll(const std::vector<Asset>& assets, std::string& error);

    // The relative paths of the assets, each line of `listFile` one of them (blank lines are
    // ignored). `error` lists what is missing on either side.
    static bool matchesList(const std::vector<Asset>& assets, const std::filesystem::path& listFile, std::string& error);

private:
    std::filesystem::path m_folder;
};

} // namespace assetgen
