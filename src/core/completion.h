#pragma once

#include <coroutine>
#include <optional>
#include <utility>

namespace voltwise {

// A value that one coroutine awaits and other code sets later. Setting it
// resumes the waiter at once, inside set() (QCoro's signal awaiting queues
// the resumption and loses it when the sender dies first), so an owner that
// sets it from its destructor still wakes the waiter. The first value counts.
template <typename T>
class Completion
{
public:
    Completion() = default;
    Completion(const Completion &) = delete;
    Completion &operator=(const Completion &) = delete;

    bool isSet() const { return m_value.has_value(); }

    void set(T value)
    {
        if (m_value)
            return;
        m_value = std::move(value);
        if (const std::coroutine_handle<> waiter = std::exchange(m_waiter, {}))
            waiter.resume();
    }

    auto operator co_await() noexcept
    {
        struct Awaiter
        {
            Completion *completion;
            bool await_ready() const noexcept { return completion->m_value.has_value(); }
            void await_suspend(std::coroutine_handle<> waiter) noexcept
            {
                completion->m_waiter = waiter;
            }
            T await_resume() { return *completion->m_value; }
        };
        return Awaiter{this};
    }

private:
    std::optional<T> m_value;
    std::coroutine_handle<> m_waiter;
};

} // namespace voltwise
