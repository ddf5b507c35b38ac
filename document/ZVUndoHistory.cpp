#include "document/ZVUndoHistory.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "foundation/ZVStream.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QUndoCommand>
#include <QUndoStack>

#include <utility>

namespace zorvel {
namespace {

QByteArray snapshotOf(TZVCustomLab& label)
{
    TZVMemoryStream stream;
    label.SaveSnapshot(stream);
    return stream.Bytes();
}

QList<int> selectionOf(const TZVCustomLab& label)
{
    return label.Editor() ? label.Editor()->SelectedIndexes() : QList<int>{};
}

// The change in progress and the last state recorded, kept on the label as a child object.
class TZVChangeState : public QObject
{
public:
    explicit TZVChangeState(TZVCustomLab& label) : QObject(&label), m_label(label)
    {
        QObject::connect(&label.UndoStack(), &QUndoStack::indexChanged, this, [this] {
            if (!m_stepApplied) return;
            m_stepApplied = false;
            m_label.SetModified(!m_label.UndoStack().isClean());
        });
    }

    static TZVChangeState& of(TZVCustomLab& label)
    {
        auto* state = label.findChild<TZVChangeState*>(QString(), Qt::FindDirectChildrenOnly);
        return state ? *state : *new TZVChangeState(label);
    }
    static const TZVChangeState* find(const TZVCustomLab& label)
    {
        return label.findChild<TZVChangeState*>(QString(), Qt::FindDirectChildrenOnly);
    }

    // Compressed once and shared by the step that ends in a state and the next one starting there.
    QByteArray compressed(const QByteArray& raw)
    {
        if (raw != m_lastRaw) {
            m_lastRaw = raw;
            m_lastPacked = qCompress(raw);
        }
        return m_lastPacked;
    }

    void restore(const QByteArray& packed, const QList<int>& selection)
    {
        const QByteArray raw = qUncompress(packed);
        TZVMemoryStream stream(raw);
        m_label.RestoreSnapshot(stream);
        m_lastRaw = raw;
        m_lastPacked = packed;
        if (m_label.Editor()) m_label.Editor()->SelectIndexes(selection);
    }

    TZVCustomLab& m_label;
    int m_depth = 0;
    QByteArray m_beforeRaw;
    QList<int> m_beforeSelection;
    bool m_beforeModified = false;
    bool m_givenUp = false;
    bool m_stepApplied = false;
    QByteArray m_lastRaw;
    QByteArray m_lastPacked;
};

class TZVSnapshotStep : public QUndoCommand
{
public:
    TZVSnapshotStep(TZVChangeState& state, const QString& text, const QString& mergeKey,
                    QByteArray before, QByteArray after, QList<int> selBefore, QList<int> selAfter)
        : QUndoCommand(text), m_state(&state), m_mergeKey(mergeKey), m_before(std::move(before)),
          m_after(std::move(after)), m_selBefore(std::move(selBefore)), m_selAfter(std::move(selAfter))
    {
    }

    int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const TZVSnapshotStep*>(other);
        if (next->m_mergeKey != m_mergeKey) return false;
        m_after = next->m_after;
        m_selAfter = next->m_selAfter;
        setObsolete(m_before == m_after);
        return true;
    }

    void undo() override { apply(m_before, m_selBefore); }

    const QByteArray& before() const { return m_before; }
    const QByteArray& after() const { return m_after; }

    void redo() override
    {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_fresh) {
            m_fresh = false;
            return;
        }
        apply(m_after, m_selAfter);
    }

private:
    void apply(const QByteArray& packed, const QList<int>& selection)
    {
        if (!m_state) return;
        m_state->m_stepApplied = true;
        m_state->restore(packed, selection);
    }

    QPointer<TZVChangeState> m_state;
    QString m_mergeKey;
    QByteArray m_before;
    QByteArray m_after;
    QList<int> m_selBefore;
    QList<int> m_selAfter;
    bool m_fresh = true;
};

} // namespace

void BeginChange(TZVCustomLab& label)
{
    TZVChangeState& state = TZVChangeState::of(label);
    if (state.m_depth++ > 0) return;
    state.m_givenUp = false;
    state.m_beforeRaw = snapshotOf(label);
    state.m_beforeSelection = selectionOf(label);
    state.m_beforeModified = label.Modified();
}

bool EndChange(TZVCustomLab& label, const QString& text, const QString& mergeKey)
{
    TZVChangeState& state = TZVChangeState::of(label);
    if (state.m_depth == 0 || --state.m_depth > 0) return false;
    const QByteArray afterRaw = snapshotOf(label);
    const QByteArray beforeRaw = std::exchange(state.m_beforeRaw, {});
    if (afterRaw == beforeRaw) return false;
    QByteArray before = state.compressed(beforeRaw);
    QByteArray after = state.compressed(afterRaw);
    label.UndoStack().push(new TZVSnapshotStep(state, text, mergeKey, std::move(before),
                                               std::move(after), state.m_beforeSelection,
                                               selectionOf(label)));
    label.SetModified(true);
    return true;
}

void CancelChange(TZVCustomLab& label, bool restore)
{
    TZVChangeState& state = TZVChangeState::of(label);
    if (state.m_depth == 0) return;
    if (--state.m_depth > 0) {
        state.m_givenUp = true;
        return;
    }
    const QByteArray beforeRaw = std::exchange(state.m_beforeRaw, {});
    if (!restore) return;
    if (snapshotOf(label) != beforeRaw)
        state.restore(state.compressed(beforeRaw), state.m_beforeSelection);
    else if (label.Editor())
        label.Editor()->SelectIndexes(state.m_beforeSelection);
    label.SetModified(state.m_beforeModified);
}

bool ChangeInProgress(const TZVCustomLab& label)
{
    const TZVChangeState* state = TZVChangeState::find(label);
    return state && state->m_depth > 0;
}

qint64 UndoHistoryBytes(const TZVCustomLab& label)
{
    const TZVChangeState* state = TZVChangeState::find(label);
    if (!state) return 0;
    QSet<const char*> counted;
    qint64 bytes = state->m_lastRaw.size();
    const auto count = [&](const QByteArray& packed) {
        if (!counted.contains(packed.constData())) {
            counted.insert(packed.constData());
            bytes += packed.size();
        }
    };
    const QUndoStack& stack = const_cast<TZVCustomLab&>(label).UndoStack();
    for (int i = 0; i < stack.count(); ++i)
        if (const auto* step = dynamic_cast<const TZVSnapshotStep*>(stack.command(i))) {
            count(step->before());
            count(step->after());
        }
    return bytes;
}

bool ChangeGivenUp(const TZVCustomLab& label)
{
    const TZVChangeState* state = TZVChangeState::find(label);
    return state && state->m_depth > 0 && state->m_givenUp;
}

TZVChangeScope::TZVChangeScope(TZVCustomLab& label, const QString& text, const QString& mergeKey)
    : m_label(label), m_text(text), m_mergeKey(mergeKey)
{
    BeginChange(label);
}

TZVChangeScope::~TZVChangeScope()
{
    if (m_open) EndChange(m_label, m_text, m_mergeKey);
}

void TZVChangeScope::Cancel(bool restore)
{
    if (!m_open) return;
    m_open = false;
    CancelChange(m_label, restore);
}

} // namespace zorvel
