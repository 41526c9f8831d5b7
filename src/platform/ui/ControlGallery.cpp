#include "platform/ui/ControlGallery.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Picture.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Theme.h"
#include "platform/ui/TreeView.h"

#include <functional>
#include <string>

namespace ui {

namespace {

// A 16 × 16 picture drawn by a function.
gfx::Surface drawnIcon(gfx::Colour background, const std::function<void(gfx::Painter&)>& draw)
{
    gfx::Surface picture(16, 16, background);
    gfx::Painter painter(picture);
    draw(painter);
    return picture;
}

gfx::Surface landscape()
{
    gfx::Surface picture(64, 48, gfx::colours::white);
    gfx::Painter painter(picture);
    for (int y = 0; y < 30; ++y)
        painter.fillRect({0, y, 64, y + 1}, gfx::rgb(120 + y * 3, 170 + y * 2, 255));
    painter.selectPen(gfx::Pen::null());
    painter.selectBrush(gfx::Brush::solid(gfx::rgb(255, 210, 40)));
    painter.ellipse({42, 5, 56, 19});
    painter.selectBrush(gfx::Brush::solid(gfx::rgb(60, 150, 60)));
    painter.ellipse({-20, 22, 40, 70});
    painter.selectBrush(gfx::Brush::solid(gfx::rgb(40, 120, 40)));
    painter.ellipse({20, 26, 90, 76});
    return picture;
}

} // namespace

ControlGallery::ControlGallery() : Dialog(u"Controls")
{
    // Every control of the platform on one full-screen dialog, laid out in pixels.
    int top = contentTop();
    addAt<Label>(IDSTATIC, {4, top + 2, 46, top + 22}, u"Subject");
    addAt<EditBox>(idName, {48, top + 2, 236, top + 22}, u"Lunch with Anna");
    auto& remind = addAt<CheckBox>(idRemind, {4, top + 25, 112, top + 45}, u"Remind me");
    remind.setChecked(true);
    auto& snooze = addAt<ComboBox>(idSnooze, {116, top + 25, 236, top + 140});
    for (const char16_t* text : {u"5 min", u"10 min", u"20 min", u"30 min", u"1 hr", u"90 min", u"4 hrs",
                                 u"1 day", u"5 days", u"1 week"})
        snooze.addString(text);
    snooze.setCurSel(1);
    addAt<Label>(IDSTATIC, {4, top + 48, 46, top + 68}, u"URL");
    auto& address = addAt<ComboBox>(idAddress, {48, top + 48, 236, top + 150});
    address.setKind(ComboBox::Kind::DropDown);
    address.setSorted(true);
    for (const char16_t* text : {u"www.tavrel.com/concerts.xml", u"www.tavrel.com/sports.xml"})
        address.addString(text);
    address.insertString(0, u"tavrel");
    address.setText(u"tavrel");
    addAt<Label>(IDSTATIC, {4, top + 71, 46, top + 93}, u"Fade");
    auto& fade = addAt<Slider>(idFade, {48, top + 71, 206, top + 93});
    fade.setRange(0, 100);
    fade.setPageSize(5);
    fade.setPosition(50);
    addAt<Label>(idFadeValue, {208, top + 71, 236, top + 93}, u"50").setAlign(Label::Align::Right);

    auto& colours = addAt<ListBox>(idColours, {4, top + 96, 108, top + 160});
    colours.setSorted(true);
    for (auto [name, colour] : {std::pair{u"Red", gfx::rgb(220, 30, 30)}, {u"Green", gfx::rgb(40, 160, 40)},
                                {u"Blue", gfx::rgb(30, 80, 220)}, {u"Orange", gfx::rgb(250, 150, 0)},
                                {u"Violet", gfx::rgb(140, 40, 200)}})
        colours.addString(name, std::intptr_t(colour));
    colours.setCurSel(0);
    colours.setOwnerDraw([](gfx::Painter& painter, const ListBox::DrawItem& item) {
        if (item.selected)
            painter.fillRect(item.rect, theme::highlight);
        painter.fillRect({item.rect.left + 3, item.rect.top + 3, item.rect.left + 15, item.rect.bottom - 3},
                         gfx::Colour(item.data));
        painter.setTextColour(item.selected ? theme::highlightText : theme::text);
        painter.drawText(item.text, {item.rect.left + 19, item.rect.top, item.rect.right, item.rect.bottom},
                         gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    });

    auto& tree = addAt<TreeView>(idCategories, {112, top + 96, 236, top + 160});
    tree.setCheckBoxes(true);
    TreeItem holidays = tree.insertItem(u"Holidays");
    tree.setCheck(holidays, true);
    TreeItem sports = tree.insertItem(u"Sports");
    tree.setCheck(tree.insertItem(u"Football", sports), true);
    tree.insertItem(u"Tennis", sports);
    tree.expand(sports, true);

    m_images.setTransparentColour(gfx::colours::white);
    m_images.add(drawnIcon(gfx::colours::white, [](gfx::Painter& painter) {
        painter.selectBrush(gfx::Brush::solid(gfx::rgb(250, 200, 210)));
        painter.rectangle({2, 7, 14, 15});
        painter.fillRect({7, 2, 9, 7}, gfx::rgb(250, 160, 0));
    }));
    m_images.add(drawnIcon(gfx::colours::white, [](gfx::Painter& painter) {
        painter.selectBrush(gfx::Brush::solid(gfx::colours::white));
        painter.ellipse({1, 1, 15, 15});
        painter.selectBrush(gfx::Brush::solid(gfx::colours::black));
        painter.ellipse({6, 6, 11, 11});
    }));
    m_images.add(drawnIcon(gfx::colours::white, [](gfx::Painter& painter) {
        painter.selectBrush(gfx::Brush::solid(gfx::rgb(255, 230, 120)));
        painter.rectangle({2, 3, 14, 13});
        painter.fillRect({4, 6, 12, 7}, gfx::rgb(0, 51, 153));
        painter.fillRect({4, 9, 10, 10}, gfx::rgb(0, 51, 153));
    }));
    auto& icons = addAt<ListView>(idIcons, {4, top + 164, 164, top + 218});
    icons.setStyle(ListView::Style::Report);
    icons.setImageList(&m_images);
    icons.insertColumn(0, u"Icon", 100);
    icons.insertColumn(1, u"Rule", 56);
    int cake = icons.insertItem(0, u"Cake.gif", 0);
    icons.setItemText(cake, 1, u"Birthday");
    int ball = icons.insertItem(1, u"Football.gif", 1);
    icons.setItemText(ball, 1, u"Sports");
    int note = icons.insertItem(2, u"Notes.gif", 2);
    icons.setItemText(note, 1, u"Memo");
    icons.setSelection(1);

    auto& picture = addAt<Picture>(idPicture, {168, top + 164, 236, top + 218});
    picture.setPicture(landscape());
    picture.setBorder(true);

    addAt<PushButton>(idMenuButton, {4, top + 222, 74, top + 244}, u"Menu...");
    addAt<PushButton>(idMessageButton, {80, top + 222, 160, top + 244}, u"Message...");
    addAt<PushButton>(IDOK, {166, top + 222, 236, top + 244}, u"Done").setDefault(true);
}

bool ControlGallery::onCommand(int id, int code, WindowHandle source)
{
    if (id == idMenuButton && code == BN_CLICKED) {
        openMenu();
        return true;
    }
    if (id == idMessageButton && code == BN_CLICKED) {
        messageBox(this, u"Every control of the handheld is on this dialog. Keep it open?", u"Gallery",
                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        return true;
    }
    return Dialog::onCommand(id, code, source);
}

bool ControlGallery::onScroll(std::uint32_t message, int code, int position, WindowHandle source)
{
    if (auto* fade = controlAs<Slider>(idFade); fade && source == fade->handle())
        control(idFadeValue)->setText(device::fromUtf8(std::to_string(fade->position())));
    return true;
}

void ControlGallery::openMenu()
{
    Menu menu;
    menu.append(u"&Daily", 32805, MF_CHECKED);
    menu.append(u"&Weekly", 32806);
    menu.append(u"&Monthly", 32807);
    menu.appendSeparator();
    Menu& go = menu.appendSubmenu(u"&Go To");
    go.append(u"&Next", 32792);
    go.append(u"&Previous", 32793);
    go.append(u"&Today", 32800, MF_GRAYED);
    menu.append(u"Exit", 32791, MF_GRAYED);
    Window* button = control(idMenuButton);
    gfx::Rect below = button->screenRect();
    PopupMenu::track(menu, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD, {below.left, below.top}, this);
}

} // namespace ui
