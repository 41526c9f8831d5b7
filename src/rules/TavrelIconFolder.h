#pragma once
// CTavrelIconFolder: one folder as the icon picker lists it.
//
// Reading it sorts its entries into picture files — names ending in ".BMP", ".GIF", ".JPG" or
// ".PNG" in any letter case — and subfolders, each list ordered by name without regard to case.
// Other files, and the host's hidden entries, are left out. The folder list of the picker shows
// the way from the root down to the folder: "\My Device", then each deeper folder indented by one
// more blank, the folder itself marked with "*" after its indent. For
// "\Program Files\Tavrel\Icons":
//
//   \My Device          3 levels above the folder
//    Program Files      2
//     Tavrel            1
//      *Icons           0
//
// Folders are device paths ("\" is the root), kept in the letter case they were given.

#include "common/QoString.h"

#include <cstdint>
#include <vector>

class CTavrelIconFolder {
public:
    static constexpr const char16_t* RootName = u"\\My Device";

    struct PathEntry {
        CQoString text;
        int levelsUp = 0;
    };
    struct IconFile {
        CQoString name;
        std::uint64_t size = 0;
    };

    // Lists the folder; false, with nothing listed, when it cannot be listed.
    bool Read(const CQoString& folder);

    const CQoString& GetFolder() const { return m_folder; }
    const std::vector<IconFile>& GetIconFiles() const { return m_files; }
    const std::vector<CQoString>& GetSubfolders() const { return m_subfolders; }
    std::vector<PathEntry> GetPathEntries() const;
    // The folder, "\" and the name.
    CQoString GetPath(const CQoString& name) const;

    static bool IsIconFileName(device::WideView name);
    // The folder `levels` levels up (never above the root).
    static CQoString Up(const CQoString& folder, int levels);
    // The folder's subfolder of that name; blanks around the name (as list items show it) do not
    // count.
    static CQoString Down(const CQoString& folder, device::WideView name);
    // The folder in its normal form when it exists, else its nearest parent that does (at last
    // the root): a remembered folder may have been removed since.
    static CQoString NearestExisting(const CQoString& folder);

private:
    CQoString m_folder;
    std::vector<IconFile> m_files;
    std::vector<CQoString> m_subfolders;
};
