#include "AssetWriter.h"

#include "platform/device/AtomicFileWrite.h"

#include <fstream>

namespace assetgen {

bool AssetWriter::writeAll(const std::vector<Asset>& assets, std::string& error)
{
    for (const Asset& asset : assets) {
        const std::vector<std::uint8_t> bytes = asset.encode();
        if (bytes.empty()) {
            error = asset.path + ": the picture cannot be encoded";
            return false;
        }
        const std::filesystem::path target = m_folder / std::filesystem::path(asset.path);
        std::error_code code;
        std::filesystem::create_directories(target.parent_path(), code);
        // Replaced as a whole, so that an interrupted run leaves no half-written picture that a
        // later build would take for finished.
        if (const device::AtomicWriteResult written = device::writeFileAtomically(target, bytes); !written) {
            error = written.message(target);
            return false;
        }
    }
    return true;
}

bool AssetWriter::matchesList(const std::vector<Asset>& assets, const std::filesystem::path& listFile, std::string& error)
{
    std::ifstream in(listFile);
    if (!in) {
        error = listFile.string() + ": cannot be read";
        return false;
    }
    std::set<std::string> expected;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            expected.insert(line);
    std::set<std::string> drawn;
    for (const Asset& asset : assets)
        drawn.insert(asset.path);
    error.clear();
    for (const std::string& path : expected)
        if (!drawn.count(path))
            error += "\n  expected but not drawn: " + path;
    for (const std::string& path : drawn)
        if (!expected.count(path))
            error += "\n  drawn but not expected: " + path;
    if (error.empty())
        return true;
    error = "the asset list of the build and the generator differ:" + error;
    return false;
}

} // namespace assetgen
