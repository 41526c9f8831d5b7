#include "data/TavrelReaderThread.h"

CTavrelReaderThread::~CTavrelReaderThread()
{
    Stop();
}

bool CTavrelReaderThread::Start(std::shared_ptr<CTavrelReader> reader, std::shared_ptr<CTavrelCalendarData> data)
{
    if (m_thread || !reader || !data)
        return false;
    auto thread = std::make_unique<device::Thread>();
    // The body owns the reader, and the reader owns its sources.
    if (!thread->start([reader] { reader->Run(); }, device::Thread::Priority::BelowNormal))
        return false;
    m_thread = std::move(thread);
    m_data = std::move(data);
    return true;
}

bool CTavrelReaderThread::Stop(std::chrono::milliseconds wait)
{
    if (!m_thread)
        return true;
    m_data->RequestReaderStop();
    const bool ended = m_thread->waitFor(wait);
    if (!ended)
        m_thread->abandon();
    m_thread.reset();
    m_data.reset();
    return ended;
}

bool CTavrelReaderThread::IsRunning() const
{
    return m_thread && m_thread->isRunning();
}

std::uint32_t CTavrelReaderThread::GetThreadId() const
{
    return m_thread ? m_thread->id() : 0;
}
