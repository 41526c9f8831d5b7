#pragma once
// A dialog that holds every control of the window platform — labels, an edit box, a check box, a
// drop-down list, a drop-down with edit field, a slider, an owner-drawn sorted list box, a tree with
// check boxes, a list view with a 16 × 16 image list, a picture and push buttons (one default) —
// and opens a popup menu (with a submenu, a check mark, greyed items and a separator) and a Yes/No
// message box from its buttons. It lets a person, and a test, see the toolkit at work.

#include "platform/ui/Dialog.h"
#include "platform/ui/ImageList.h"

namespace ui {

class ControlGallery final : public Dialog {
public:
    static constexpr int idName = 1001;
    static constexpr int idRemind = 1002;
    static constexpr int idSnooze = 1003;
    static constexpr int idAddress = 1004;
    static constexpr int idFade = 1005;
    static constexpr int idColours = 1006;
    static constexpr int idCategories = 1007;
    static constexpr int idIcons = 1008;
    static constexpr int idPicture = 1009;
    static constexpr int idMenuButton = 1010;
    static constexpr int idMessageButton = 1011;
    static constexpr int idFadeValue = 1012;

    ControlGallery();

protected:
    bool onCommand(int id, int code, WindowHandle source) override;
    bool onScroll(std::uint32_t message, int code, int position, WindowHandle source) override;

private:
    void openMenu();

    ImageList m_images;
};

} // namespace ui
