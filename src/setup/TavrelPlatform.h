#pragma once
// CTavrelPlatform: which kind of handheld the package is installed on, as far as the choice of the
// Today-screen plug-in goes. A Pocket PC 2002 runs version 3 of the operating system and names its
// platform type "PocketPC"; everything else (older Pocket PCs, later versions, other platform
// types) takes the plug-in built for the earlier Today screen.

class CTavrelPlatform {
public:
    static constexpr unsigned PocketPCMajorVersion = 3;
    static constexpr const char16_t* PocketPCType = u"PocketPC";
    // The platform type text is read into this many characters.
    static constexpr unsigned TypeBufferLength = 260;

    // Major version 3, and a platform type text that can be read and is exactly "PocketPC".
    static bool IsPocketPC();
};
