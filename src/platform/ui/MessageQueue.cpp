#include "platform/ui/MessageQueue.h"

namespace ui {

void MessageQueue::SendRequest::complete(LResult result)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_completed)
            return;
        m_completed = true;
        m_result = result;
    }
    m_done.notify_all();
}

std::optional<LResult> MessageQueue::SendRequest::wait(std::optional<std::chrono::milliseconds> timeout)
{
    std::unique_lock lock(m_mutex);
    if (timeout) {
        if (!m_done.wait_for(lock, *timeout, [this] { return m_completed; }))
            return std::nullopt;
    } else {
        m_done.wait(lock, [this] { return m_completed; });
    }
    return m_result;
}

void MessageQueue::setWake(std::function<void()> wake)
{
    std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
}

void MessageQueue::wake()
{
    std::function<void()> wake;
    {
        std::lock_guard lock(m_mutex);
        wake = m_wake;
    }
    if (wake)
        wake();
}

bool MessageQueue::post(const Message& message)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_posted.push_back({message, {}});
    }
    wake();
    return true;
}

bool MessageQueue::postTask(std::function<void()> task)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_posted.push_back({{}, std::move(task)});
    }
    wake();
    return true;
}

bool MessageQueue::postInput(const InputEvent& event)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return false;
        m_input.push_back(event);
    }
    wake();
    return true;
}

std::shared_ptr<MessageQueue::SendRequest> MessageQueue::enqueueSend(const Message& message)
{
    auto request = std::make_shared<SendRequest>(message);
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) {
            request->complete(0);
            return request;
        }
        m_sends.push_back(request);
    }
    wake();
    return request;
}

std::optional<MessageQueue::Posted> MessageQueue::takePosted()
{
    std::lock_guard lock(m_mutex);
    if (m_posted.empty())
        return std::nullopt;
    Posted item = std::move(m_posted.front());
    m_posted.pop_front();
    return item;
}

std::optional<InputEvent> MessageQueue::takeInput()
{
    std::lock_guard lock(m_mutex);
    if (m_input.empty())
        return std::nullopt;
    InputEvent event = m_input.front();
    m_input.pop_front();
    return event;
}

std::shared_ptr<MessageQueue::SendRequest> MessageQueue::takeSend()
{
    std::lock_guard lock(m_mutex);
    if (m_sends.empty())
        return nullptr;
    auto request = m_sends.front();
    m_sends.pop_front();
    return request;
}

bool MessageQueue::hasPosted() const
{
    std::lock_guard lock(m_mutex);
    return !m_posted.empty();
}

bool MessageQueue::hasInput() const
{
    std::lock_guard lock(m_mutex);
    return !m_input.empty();
}

bool MessageQueue::hasPending() const
{
    std::lock_guard lock(m_mutex);
    return !m_posted.empty() || !m_input.empty() || !m_sends.empty();
}

void MessageQueue::removeMessages(const std::function<bool(const Message&)>& drop)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_posted, [&](const Posted& item) { return !item.task && drop(item.message); });
}

void MessageQueue::close()
{
    std::deque<std::shared_ptr<SendRequest>> sends;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        sends.swap(m_sends);
        m_posted.clear();
        m_input.clear();
    }
    for (auto& request : sends)
        request->complete(0);
}

bool MessageQueue::isClosed() const
{
    std::lock_guard lock(m_mutex);
    return m_closed;
}

} // namespace ui
