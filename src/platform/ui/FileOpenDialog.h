#pragma once
// The file-open dialog over the device's file system: a "Folder" list with the path from the root
// ("My Device") down to the current folder, a "Type" list with the filters, the current folder's
// subfolders and the files that match the chosen filter, and a "Name" field. A tap on a folder
// opens it; a tap on a file puts its name in the field and a second tap on it opens it, as does
// "ok". With the path-must-exist rule (the default) a name that names no file is refused with a
// message; a name that names a folder opens the folder. The result is a device path.

#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/FileFilter.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"

namespace ui {

class FileOpenDialog final : public Dialog {
public:
    static constexpr int folderListId = 1101;
    static constexpr int typeListId = 1102;
    static constexpr int fileListId = 1103;
    static constexpr int nameFieldId = 1104;

    explicit FileOpenDialog(device::WideView filter, device::WideView initialFolder = u"\\My Documents");

    void setPathMustExist(bool mustExist) { m_mustExist = mustExist; }
    void setFilterIndex(int index) { m_filterIndex = index; }
    // After IDOK: the chosen file's device path ("\My Documents\Sunset.jpg").
    const device::WideString& path() const { return m_path; }
    // The folder shown now (or when the dialog ended).
    const device::WideString& folder() const { return m_folder; }
    const std::vector<FileFilter>& filters() const { return m_filters; }

    // Opens a folder (a device path) and lists it.
    void openFolder(device::WideView folder);

protected:
    bool onInitDialog() override;
    bool onOk() override;
    bool onCommand(int id, int code, WindowHandle source) override;
    LResult onNotify(const NotifyHeader& header) override;

private:
    struct Entry {
        device::WideString name;
        bool folder = false;
    };
    void fill();
    void fillFolderList();

    std::vector<FileFilter> m_filters;
    int m_filterIndex = 0;
    bool m_mustExist = true;
    device::WideString m_folder;
    device::WideString m_path;
    std::vector<Entry> m_entries;
    ImageList m_images;
    bool m_selectionJustChanged = false;
    ComboBox* m_folderList = nullptr;
    ComboBox* m_typeList = nullptr;
    ListView* m_fileList = nullptr;
    EditBox* m_nameField = nullptr;
};

} // namespace ui
