#include "platform/ui/TreeView.h"

#include "platform/gfx/Painter.h"
#include "platform/gfx/PainterStateSaver.h"
#include "platform/ui/Theme.h"

#include <algorithm>
#include <functional>

namespace ui {

bool TreeView::onCreate()
{
    layout();
    if (m_selection)
        ensureVisible(m_selection);
    return true;
}

TreeView::Node* TreeView::node(TreeItem item)
{
    if (item <= 0 || std::size_t(item) > m_nodes.size() || !m_nodes[std::size_t(item - 1)].alive)
        return nullptr;
    return &m_nodes[std::size_t(item - 1)];
}

const TreeView::Node* TreeView::node(TreeItem item) const { return const_cast<TreeView*>(this)->node(item); }

TreeItem TreeView::insertItem(device::WideView text, TreeItem parent, std::intptr_t data)
{
    if (parent != 0 && !node(parent))
        return 0;
    Node created;
    created.text = device::WideString(text);
    created.data = data;
    created.parent = parent;
    created.alive = true;
    m_nodes.push_back(std::move(created));
    TreeItem item = TreeItem(m_nodes.size());
    (parent ? node(parent)->children : m_topLevel).push_back(item);
    layout();
    return item;
}

bool TreeView::deleteItem(TreeItem item)
{
    Node* doomed = node(item);
    if (!doomed)
        return false;
    std::vector<TreeItem> children = doomed->children;
    for (TreeItem child : children)
        deleteItem(child);
    doomed = node(item);
    auto& siblings = doomed->parent ? node(doomed->parent)->children : m_topLevel;
    std::erase(siblings, item);
    doomed->alive = false;
    doomed->children.clear();
    if (m_selection == item)
        m_selection = 0;
    layout();
    return true;
}

void TreeView::deleteAllItems()
{
    m_nodes.clear();
    m_topLevel.clear();
    m_selection = 0;
    m_scroll.setPosition(0);
    layout();
}

TreeItem TreeView::firstChild(TreeItem item) const
{
    const std::vector<TreeItem>* children = item == 0 ? &m_topLevel : node(item) ? &node(item)->children : nullptr;
    return children && !children->empty() ? children->front() : 0;
}

TreeItem TreeView::nextSibling(TreeItem item) const
{
    const Node* current = node(item);
    if (!current)
        return 0;
    const auto& siblings = current->parent ? node(current->parent)->children : m_topLevel;
    auto it = std::find(siblings.begin(), siblings.end(), item);
    return it != siblings.end() && it + 1 != siblings.end() ? *(it + 1) : 0;
}

TreeItem TreeView::parentOf(TreeItem item) const
{
    const Node* current = node(item);
    return current ? current->parent : 0;
}

int TreeView::count() const
{
    return int(std::count_if(m_nodes.begin(), m_nodes.end(), [](const Node& n) { return n.alive; }));
}

device::WideString TreeView::itemText(TreeItem item) const
{
    const Node* current = node(item);
    return current ? current->text : device::WideString();
}

std::intptr_t TreeView::itemData(TreeItem item) const
{
    const Node* current = node(item);
    return current ? current->data : 0;
}

bool TreeView::setItemData(TreeItem item, std::intptr_t data)
{
    Node* current = node(item);
    if (!current)
        return false;
    current->data = data;
    return true;
}

bool TreeView::check(TreeItem item) const
{
    const Node* current = node(item);
    return current && current->checked;
}

bool TreeView::setCheck(TreeItem item, bool checked)
{
    Node* current = node(item);
    if (!current)
        return false;
    current->checked = checked;
    invalidate();
    return true;
}

bool TreeView::isExpanded(TreeItem item) const
{
    const Node* current = node(item);
    return current && current->expanded;
}

bool TreeView::expand(TreeItem item, bool expanded)
{
    Node* current = node(item);
    if (!current)
        return false;
    current->expanded = expanded;
    layout();
    return true;
}

bool TreeView::select(TreeItem item)
{
    if (item != 0 && !node(item))
        return false;
    m_selection = item;
    if (item)
        ensureVisible(item);
    invalidate();
    return true;
}

std::vector<std::pair<TreeItem, int>> TreeView::visibleRows() const
{
    std::vector<std::pair<TreeItem, int>> rows;
    std::function<void(const std::vector<TreeItem>&, int)> walk = [&](const std::vector<TreeItem>& items, int depth) {
        for (TreeItem item : items) {
            rows.emplace_back(item, depth);
            const Node* current = node(item);
            if (current->expanded)
                walk(current->children, depth + 1);
        }
    };
    walk(m_topLevel, 0);
    return rows;
}

int TreeView::rowOf(TreeItem item, int* depth) const
{
    auto rows = visibleRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].first == item) {
            if (depth)
                *depth = rows[i].second;
            return int(i);
        }
    return -1;
}

int TreeView::visibleCount() const { return std::max(1, (rect().height() - 2) / rowHeight); }

gfx::Rect TreeView::listArea() const
{
    gfx::Rect inside = clientRect().inflated(-1, -1);
    if (m_scroll.isNeeded())
        inside.right -= ScrollBar::width;
    return inside;
}

void TreeView::layout()
{
    gfx::Rect inside = clientRect().inflated(-1, -1);
    m_scroll.setRect({inside.right - ScrollBar::width, inside.top, inside.right, inside.bottom});
    m_scroll.setRange(int(visibleRows().size()), visibleCount());
    invalidate();
}

gfx::Rect TreeView::rowRect(TreeItem item) const
{
    int row = rowOf(item);
    if (row < m_scroll.position() || row >= m_scroll.position() + visibleCount())
        return {};
    gfx::Rect area = listArea();
    int top = area.top + (row - m_scroll.position()) * rowHeight;
    return {area.left, top, area.right, top + rowHeight};
}

gfx::Rect TreeView::expandBoxRect(TreeItem item) const
{
    int depth = 0;
    rowOf(item, &depth);
    gfx::Rect row = rowRect(item);
    const Node* current = node(item);
    if (row.isEmpty() || !current || current->children.empty())
        return {};
    int x = row.left + 3 + depth * indent, y = row.top + (rowHeight - 9) / 2;
    return {x, y, x + 9, y + 9};
}

gfx::Rect TreeView::checkBoxRect(TreeItem item) const
{
    if (!m_checkBoxes)
        return {};
    int depth = 0;
    rowOf(item, &depth);
    gfx::Rect row = rowRect(item);
    if (row.isEmpty())
        return {};
    int x = row.left + 3 + depth * indent + indent, y = row.top + (rowHeight - 13) / 2;
    return {x, y, x + 13, y + 13};
}

void TreeView::ensureVisible(TreeItem item)
{
    for (TreeItem up = parentOf(item); up; up = parentOf(up))
        if (Node* ancestor = node(up); ancestor && !ancestor->expanded) {
            ancestor->expanded = true;
            layout();
        }
    int row = rowOf(item);
    if (row < 0 || !exists())
        return;
    if (row < m_scroll.position())
        m_scroll.setPosition(row);
    else if (row >= m_scroll.position() + visibleCount())
        m_scroll.setPosition(row - visibleCount() + 1);
    invalidate();
}

void TreeView::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    painter.fillRect(box, theme::window);
    painter.selectPen(gfx::Pen::solid(theme::frameLine));
    painter.selectBrush(gfx::Brush::null());
    painter.rectangle(box);
    if (m_scroll.isNeeded())
        m_scroll.paint(painter);
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    auto rows = visibleRows();
    for (int index = m_scroll.position(); index < int(rows.size()) && index < m_scroll.position() + visibleCount(); ++index) {
        auto [item, depth] = rows[std::size_t(index)];
        const Node& current = *node(item);
        gfx::Rect row = rowRect(item);
        const gfx::PainterStateSaver saved(painter);
        painter.intersectClipRect(row);
        if (gfx::Rect expander = expandBoxRect(item); !expander.isEmpty()) {
            painter.selectPen(gfx::Pen::solid(theme::shadow));
            painter.selectBrush(gfx::Brush::solid(theme::window));
            painter.rectangle(expander);
            int cy = expander.top + 4;
            painter.fillRect({expander.left + 2, cy, expander.right - 2, cy + 1}, theme::text);
            if (!current.expanded)
                painter.fillRect({expander.left + 4, expander.top + 2, expander.left + 5, expander.bottom - 2}, theme::text);
        }
        int textLeft = row.left + 3 + depth * indent + indent;
        if (gfx::Rect checkBox = checkBoxRect(item); !checkBox.isEmpty()) {
            painter.selectPen(gfx::Pen::solid(theme::frameLine));
            painter.selectBrush(gfx::Brush::solid(theme::window));
            painter.rectangle(checkBox);
            if (current.checked) {
                painter.selectPen(gfx::Pen::solid(theme::text));
                for (int thickness = 0; thickness < 2; ++thickness) {
                    painter.moveTo(checkBox.left + 3, checkBox.top + 5 + thickness);
                    painter.lineTo(checkBox.left + 5, checkBox.top + 7 + thickness);
                    painter.lineTo(checkBox.left + 10, checkBox.top + 2 + thickness);
                }
            }
            textLeft = checkBox.right + 4;
        }
        gfx::Size extent = theme::font().textExtent(current.text);
        gfx::Rect label{textLeft, row.top + 1, std::min(row.right, textLeft + extent.width + 4), row.bottom - 1};
        bool lit = item == m_selection;
        if (lit)
            painter.fillRect(label, theme::highlight);
        painter.setTextColour(lit ? theme::highlightText : theme::text);
        painter.drawText(current.text, label.translated(2, 0),
                         gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    }
}

void TreeView::notify(int code, TreeItem item, gfx::Point point)
{
    NotifyHeader header;
    header.code = code;
    header.item = item;
    header.point = point;
    notifyParent(header);
}

void TreeView::onPenDown(gfx::Point point)
{
    if (m_scroll.penDown(point))
        invalidate();
}

void TreeView::onPenMove(gfx::Point point)
{
    if (m_scroll.penMove(point))
        invalidate();
}

void TreeView::onPenUp(gfx::Point point)
{
    if (m_scroll.penUp())
        return;
    auto rows = visibleRows();
    gfx::Rect area = listArea();
    if (!area.contains(point))
        return;
    int index = m_scroll.position() + (point.y - area.top) / rowHeight;
    if (index < 0 || index >= int(rows.size()))
        return;
    TreeItem item = rows[std::size_t(index)].first;
    if (expandBoxRect(item).inflated(2, 2).contains(point)) {
        expand(item, !isExpanded(item));
        notify(TVN_ITEMEXPANDED, item, point);
    } else if (checkBoxRect(item).inflated(1, 1).contains(point)) {
        setCheck(item, !check(item));
        notify(TVN_CHECKCHANGED, item, point);
    } else if (item != m_selection) {
        select(item);
        notify(TVN_SELCHANGED, item, point);
    }
    notify(NM_CLICK, item, point);
}

bool TreeView::onKeyDown(int virtualKey)
{
    auto rows = visibleRows();
    if (rows.empty())
        return false;
    int row = m_selection ? rowOf(m_selection) : -1;
    switch (virtualKey) {
    case VK_UP:
    case VK_DOWN: {
        int next = std::clamp(row + (virtualKey == VK_DOWN ? 1 : -1), 0, int(rows.size()) - 1);
        if (rows[std::size_t(next)].first != m_selection) {
            select(rows[std::size_t(next)].first);
            notify(TVN_SELCHANGED, m_selection);
        }
        return true;
    }
    case VK_RIGHT:
    case VK_LEFT:
        if (m_selection && node(m_selection) && !node(m_selection)->children.empty()) {
            expand(m_selection, virtualKey == VK_RIGHT);
            notify(TVN_ITEMEXPANDED, m_selection);
        }
        return true;
    case VK_SPACE:
        if (m_checkBoxes && m_selection) {
            setCheck(m_selection, !check(m_selection));
            notify(TVN_CHECKCHANGED, m_selection);
        }
        return true;
    default:
        return false;
    }
}

} // namespace ui
