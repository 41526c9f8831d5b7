#pragma once
// CTavrelTodayPlugin: the Today-screen plug-in of the package and its Today item. The plug-in is a
// file of the package, in two variants; the setup places the one for this handheld as
// "\Windows\TavrelToday.DLL" and registers it with the Today screen, which lists the items of HKLM
// "\Software\Microsoft\Today\Items".
//
// The Today screen keeps its plug-in loaded, and a loaded file can be renamed but not replaced or
// deleted: so an old plug-in is first moved aside to "\Windows\TavrelToday.$$$", and whatever
// cannot be removed is moved there at removal. Every step is best effort: a file or key that is
// missing or cannot be changed is passed over.

class CTavrelInstallFolder;

class CTavrelTodayPlugin {
public:
    static constexpr const char16_t* ActivePath = u"\\Windows\\TavrelToday.DLL";
    static constexpr const char16_t* AsidePath = u"\\Windows\\TavrelToday.$$$";
    static constexpr const char16_t* PocketPCVariant = u"TavrelToday2002.DLL";
    static constexpr const char16_t* OtherVariant = u"TavrelToday2000.DLL";
    static constexpr const char16_t* ItemsKeyPath = u"\\Software\\Microsoft\\Today\\Items";
    static constexpr const char16_t* ItemKeyPath = u"\\Software\\Microsoft\\Today\\Items\\Tavrel";
    static constexpr const char16_t* ItemName = u"Tavrel";
    // The item an earlier version of the package registered.
    static constexpr const char16_t* OldItemName = u"Tavrel Today";
    // The item's values: a plug-in of type 4 (a Today item of its own), no options, shown.
    static constexpr unsigned ItemType = 4;
    static constexpr unsigned ItemOptions = 0;
    static constexpr unsigned ItemEnabled = 1;

    // Before the package's files are copied: the plug-in in place (perhaps held by the Today
    // screen) goes out of the way.
    static void MoveAside();
    // After they are copied: the variant for this handheld is copied from the install folder into
    // place and registered, and the earlier version's item is removed.
    static void Place(const CTavrelInstallFolder& folder);
    // The variant's file name for a Pocket PC 2002 or any other handheld.
    static const char16_t* VariantFor(bool pocketPC);
    // After the package's files are removed: the plug-in's files and its Today items go.
    static void Remove();

private:
    static void Register();
    static void DeleteItem(const char16_t* name);
};
