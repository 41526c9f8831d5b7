#include "shell/TavrelReaderPassWatch.h"

#include "data/TavrelCalendarData.h"
#include "platform/ui/Desktop.h"
#include "views/TavrelView.h"

CTavrelReaderPassWatch::CTavrelReaderPassWatch(CTavrelView& view, const CTavrelCalendarData& data)
    : m_view(view)
    , m_data(data)
    , m_viewHandle(view.handle())
    , m_state(std::make_shared<State>())
{
}

device::OleDateTime CTavrelReaderPassWatch::GetCurrentDate() { return m_view.GetCurrentDate(); }

int CTavrelReaderPassWatch::GetViewMode() { return m_view.GetViewMode(); }

void CTavrelReaderPassWatch::PostRefreshEvents()
{
    m_view.PostRefreshEvents();
    ui::Desktop* desktop = ui::Desktop::instance();
    if (!desktop)
        return;
    // The view may be gone by the time the task runs: it is found again by its handle.
    desktop->postTask([state = m_state, handle = m_viewHandle, generation = m_data.GetPassGeneration()] {
        ui::Desktop* current = ui::Desktop::instance();
        auto* view = current ? dynamic_cast<CTavrelView*>(current->find(handle)) : nullptr;
        if (!view)
            return;
        state->drawn = true;
        state->mode = view->GetViewMode();
        state->date = view->GetCurrentDate();
        state->generation = generation;
        ++state->passes;
    });
}

bool CTavrelReaderPassWatch::IsCurrentPassDrawn() const
{
    return m_state->drawn && m_state->mode == m_view.GetViewMode() && m_state->date == m_view.GetCurrentDate()
        && m_state->generation == m_data.GetRefreshGeneration();
}
