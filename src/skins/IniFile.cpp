#include "skins/IniFile.h"

#include "platform/device/DebugOutput.h"
#include "platform/device/File.h"
#include "platform/device/FileSystem.h"

#include <string>
#include <utility>

CIniFile::CIniFile() = default;

CIniFile::CIniFile(const char16_t* path)
{
    Read(path);
}

CIniFile::~CIniFile() = default;
CIniFile::CIniFile(const CIniFile& other) = default;
CIniFile::CIniFile(CIniFile&& other) noexcept = default;
CIniFile& CIniFile::operator=(const CIniFile& other) = default;
CIniFile& CIniFile::operator=(CIniFile&& other) noexcept = default;

bool CIniFile::Read(const char16_t* path)
{
    m_sections.clear();
    if (!path || !device::FileSystem::isFile(path))
        return false;
    device::File file;
    if (!file.open(path, device::File::Read, device::File::Disposition::OpenExisting))
        return false;

    // One byte more than the limit tells a file at the limit from a larger one, whatever the
    // size the file system reports at this moment.
    std::vector<std::uint8_t> bytes(MaxFileBytes + 1);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        std::optional<std::size_t> got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (!got)
            return false;
        if (*got == 0)
            break;
        filled += *got;
    }
    if (filled > MaxFileBytes) {
        device::debugOutput(u"Section file too large, not read\n");
        return false;
    }
    bytes.resize(filled);
    Parse(bytes);
    return true;
}

void CIniFile::Parse(std::span<const std::uint8_t> bytes)
{
    m_sections.clear();
    if (bytes.size() > MaxFileBytes)
        return;

    std::u16string line;
    bool tooLong = false;
    for (std::size_t position = 0; position < bytes.size(); ++position) {
        const std::uint8_t byte = bytes[position];
        if (byte == 0)
            continue;
        if (byte == '\r') {
            // A line counts only when the file goes on after its carriage return.
            if (position + 1 >= bytes.size())
                break;
            if (!tooLong)
                AddLine(CQoString(line.c_str()));
            line.clear();
            tooLong = false;
            continue;
        }
        if (byte < 32)
            continue;
        if (line.size() < MaxLineCharacters)
            line.push_back(char16_t(byte));
        else
            tooLong = true;
    }
    // Whatever is left has no line end and is not read.
}

void CIniFile::AddLine(CQoString line)
{
    line.Trim();
    const int length = int(line.GetLength());
    if (length == 0)
        return;
    if (length >= 2 && line.GetAt(0) == u'[' && line.GetAt(length - 1) == u']') {
        m_sections.emplace_back(line.Mid(1, length - 2));
        return;
    }
    if (m_sections.empty())
        return;
    const int equals = line.Find(u'=');
    if (equals < 0)
        return;
    m_sections.back().AddEntry(line.Left(equals), line.Mid(equals + 1));
}

const CIniSection* CIniFile::FindSection(const char16_t* name) const
{
    const device::WideView wanted(name ? name : u"");
    for (const CIniSection& section : m_sections) {
        if (device::equalsNoCase(section.GetName().View(), wanted))
            return &section;
    }
    return nullptr;
}
