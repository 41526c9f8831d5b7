#pragma once
// The user-interface thread's queue. Any thread may post window messages, tasks and raw input;
// only the user-interface thread takes them. Messages and tasks keep their posting order; raw input
// is kept apart and handled after posted messages, as the handheld does. A message sent from
// another thread waits here as a request until the user-interface thread has handled it (or the
// queue is closed, which releases every waiting sender with the result 0).

#include "platform/ui/InputEvent.h"
#include "platform/ui/Message.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace ui {

class MessageQueue {
public:
    struct Posted {
        Message message;
        std::function<void()> task; // set for a posted task; `message` is then unused
    };

    class SendRequest {
    public:
        explicit SendRequest(Message message) : m_message(message) {}
        const Message& message() const { return m_message; }
        void complete(LResult result);
        // Waits for completion; nothing when the time ran out first.
        std::optional<LResult> wait(std::optional<std::chrono::milliseconds> timeout);

    private:
        Message m_message;
        std::mutex m_mutex;
        std::condition_variable m_done;
        bool m_completed = false;
        LResult m_result = 0;
    };

    // Called (from the posting thread) after anything was added, to wake a waiting loop.
    void setWake(std::function<void()> wake);

    // False once the queue is closed.
    bool post(const Message& message);
    bool postTask(std::function<void()> task);
    bool postInput(const InputEvent& event);
    std::shared_ptr<SendRequest> enqueueSend(const Message& message);

    std::optional<Posted> takePosted();
    std::optional<InputEvent> takeInput();
    std::shared_ptr<SendRequest> takeSend();

    bool hasPosted() const;
    bool hasInput() const;
    bool hasPending() const;

    // Drops messages for which `drop` answers true (a window's messages when it is destroyed).
    void removeMessages(const std::function<bool(const Message&)>& drop);

    // Refuses further work and completes every waiting send with 0.
    void close();
    bool isClosed() const;

private:
    void wake();

    mutable std::mutex m_mutex;
    std::deque<Posted> m_posted;
    std::deque<InputEvent> m_input;
    std::deque<std::shared_ptr<SendRequest>> m_sends;
    std::function<void()> m_wake;
    bool m_closed = false;
};

} // namespace ui
