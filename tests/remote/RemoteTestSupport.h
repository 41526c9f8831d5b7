#pragma once
// What the remote tests share: a host that records what the user would be told and how many
// downloads ran, and small file helpers.

#include "remote/TavrelRemoteHost.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace remote_test {

class RecordingHost : public CTavrelRemoteHost {
public:
    RecordingHost() : m_scope(*this) {}

    void ShowMessage(const CQoString& text) override { messages.push_back(device::toUtf8(text.View())); }
    net::DownloadResult Download(const net::DownloadRequest& request) override
    {
        urls.push_back(request.url);
        return CTavrelRemoteHost::Download(request);
    }

    std::vector<std::string> messages;
    std::vector<std::string> urls;

private:
    Scope m_scope;
};

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::filesystem::path& path, const std::string& data)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

inline std::string utf8(const CQoString& text)
{
    return device::toUtf8(text.View());
}

} // namespace remote_test
