// The guard that cuts feedback loops: controls being filled from the model write nothing back.
#pragma once

#include <QObject>
#include <QScopedValueRollback>

#include <concepts>
#include <functional>
#include <utility>

namespace zorvel {

/// Held while a form fills its controls (or lays itself out); the handlers it guards then do
/// nothing, so no handler checks a flag of its own.
class FeedbackGuard
{
    template <typename F>
    struct Guarded
    {
        const FeedbackGuard* guard;
        F handler;

        template <typename... Args>
            requires std::invocable<const F&, Args...>
        void operator()(Args&&... args) const
        {
            if (!guard->m_held) std::invoke(handler, std::forward<Args>(args)...);
        }
    };

public:
    FeedbackGuard() = default;
    Q_DISABLE_COPY_MOVE(FeedbackGuard)

    /// True while a hold() is alive, and for good after holdForGood().
    bool held() const { return m_held; }

    /// Holds the guard until the returned object goes, on every exit; a nested hold leaves it
    /// held.
    [[nodiscard]] QScopedValueRollback<bool> hold() { return QScopedValueRollback<bool>(m_held, true); }

    /// Holds the guard from now on, for a form whose controls outlive its destructor's body.
    void holdForGood() { m_held = true; }

    /// `handler` made to do nothing while the guard is held, for callbacks that are not signals.
    /// The guard must outlive the result.
    template <typename F>
    Guarded<F> guarded(F handler) const
    {
        return Guarded<F>{this, std::move(handler)};
    }

private:
    bool m_held = false;
};

/// Connects `signal` of `sender` to `handler`, which does nothing while `guard` is held.
/// `context` owns the guard, so the connection ends before the guard does.
template <typename Sender, typename Signal, typename F>
QMetaObject::Connection connectGuarded(const FeedbackGuard& guard, const Sender* sender, Signal signal,
                                       const QObject* context, F handler)
{
    return QObject::connect(sender, signal, context, guard.guarded(std::move(handler)));
}

} // namespace zorvel
