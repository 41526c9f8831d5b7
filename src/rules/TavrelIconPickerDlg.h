#pragma once
// CTavrelIconPickerDlg: "Tavrel Icons" (dialog 160), which browses the device's folders for a
// picture file and returns the folder and the file's name.
//
// The "Folder" list (1012) shows the way from "\My Device" down to the folder shown
// (CTavrelIconFolder); choosing an entry above it climbs that many levels. The list view (1013)
// shows the folder's picture files, each with its picture at 16 × 16 (CTavrelIconThumbnail; a file
// that does not decode keeps an empty slot), then its subfolders with the folder picture (image
// resource 255), each name behind a blank. Tapping a subfolder opens it; tapping a file ends the
// dialog with OK and that file, as does "ok" while a file is selected. "Cancel" (1011) ends it
// without a result.
//
// The dialog opens at the remembered "Icon Path" (or the nearest folder of it that still exists)
// and remembers every folder it fills, so that it opens there next time. Filling shows the wait
// cursor; the work per picture is bounded, so a folder of thousands of files still fills.

#include "common/QoString.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ImageList.h"
#include "rules/TavrelIconFolder.h"

#include <vector>

class CTavrelIconFolderSettings;

namespace ui {
class ComboBox;
class ListView;
} // namespace ui

class CTavrelIconPickerDlg : public ui::Dialog {
public:
    static constexpr int IDD = 160;
    static constexpr const char16_t* Caption = u"Tavrel Icons";
    static constexpr int IDC_FOLDER = 1012;
    static constexpr int IDC_ICONS = 1013;
    static constexpr int IDC_CANCEL = 1011;
    // The program's folder picture (type "IMAGE").
    static constexpr int IDB_FOLDER = 255;

    explicit CTavrelIconPickerDlg(CTavrelIconFolderSettings& settings);

    // After OK: the folder of the chosen file and its name.
    const CQoString& GetFolder() const { return m_chosenFolder; }
    const CQoString& GetFileName() const { return m_chosenFile; }

    // The folder shown now, and the pictures of its items.
    const CQoString& GetShownFolder() const { return m_folder.GetFolder(); }
    const ui::ImageList& GetImages() const { return m_images; }
    // Shows a folder (the nearest existing one).
    void OpenFolder(const CQoString& folder);

protected:
    bool onInitDialog() override;
    bool onOk() override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;
    ui::LResult onNotify(const ui::NotifyHeader& header) override;

private:
    struct Item {
        CQoString name;
        bool folder = false;
    };
    void Fill();
    void FillFolderList();
    void FillImages();
    // Descends into a folder item, or chooses a file item and ends the dialog.
    void Open(int item);

    CTavrelIconFolderSettings& m_settings;
    CTavrelIconFolder m_folder;
    std::vector<Item> m_items;
    ui::ImageList m_images;
    ui::ComboBox* m_folderList = nullptr;
    ui::ListView* m_icons = nullptr;
    CQoString m_chosenFolder;
    CQoString m_chosenFile;
};
