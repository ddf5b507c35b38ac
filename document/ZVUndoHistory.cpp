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

#include <array>
#include <cstdint>
#include <utility>

namespace zorvel {
namespace {

QByteArray snapshotOf(TZVCustomLab& label)
{
    TZVMemoryStream stream;
    label.SaveSnapshot(stream);
    return stream.Bytes();
}

// A design state cut into pieces where its content says so (a rolling hash), so an edit changes only
// the pieces around it and every other piece is shared with the states before and after: a step
// costs about what it changed, however large the design and its pictures are.
using TZVSnapshot = QList<QByteArray>;

constexpr qsizetype kMinPiece = 1024;
constexpr qsizetype kMaxPiece = 32 * 1024;
constexpr std::uint64_t kCutMask = 0xFFF; // about 5 KiB between cuts

constexpr std::array<std::uint64_t, 256> gearTable()
{
    std::array<std::uint64_t, 256> table{};
    std::uint64_t x = 0x9E3779B97F4A7C15ull;
    for (std::uint64_t& entry : table) { // splitmix64
        x += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = x;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        entry = z ^ (z >> 31);
    }
    return table;
}
constexpr std::array<std::uint64_t, 256> kGear = gearTable();

// Keeps one copy of each distinct piece; a piece nobody else holds any more is let go.
class TZVPiecePool
{
public:
    TZVSnapshot cut(const QByteArray& raw)
    {
        TZVSnapshot pieces;
        qsizetype start = 0;
        std::uint64_t hash = 0;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            hash = (hash << 1) + kGear[static_cast<unsigned char>(raw[i])];
            const qsizetype length = i + 1 - start;
            if ((length >= kMinPiece && (hash & kCutMask) == 0) || length >= kMaxPiece) {
                pieces.append(shared(raw.mid(start, length)));
                start = i + 1;
                hash = 0;
            }
        }
        if (start < raw.size()) pieces.append(shared(raw.mid(start)));
        return pieces;
    }

    void dropUnused()
    {
        for (auto it = m_pieces.begin(); it != m_pieces.end();)
            it = it->isDetached() ? m_pieces.erase(it) : std::next(it);
    }

private:
    QByteArray shared(const QByteArray& piece)
    {
        const auto found = m_pieces.constFind(piece);
        if (found != m_pieces.constEnd()) return *found;
        m_pieces.insert(piece);
        return piece;
    }

    QSet<QByteArray> m_pieces;
};

QByteArray joined(const TZVSnapshot& pieces)
{
    QByteArray raw;
    qsizetype size = 0;
    for (const QByteArray& piece : pieces)
        size += piece.size();
    raw.reserve(size);
    for (const QByteArray& piece : pieces)
        raw.append(piece);
    return raw;
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
            if (m_label.UndoStack().count() == 0) { // cleared: a design was loaded
                m_lastRaw.clear();
                m_lastKept.clear();
                m_pool.dropUnused();
            }
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

    // Cut once and shared by the step that ends in a state and the next one starting there.
    TZVSnapshot kept(const QByteArray& raw)
    {
        if (raw != m_lastRaw || m_lastKept.isEmpty()) {
            m_lastRaw = raw;
            m_lastKept = m_pool.cut(raw);
        }
        return m_lastKept;
    }

    void restore(const TZVSnapshot& pieces, const QList<int>& selection)
    {
        const QByteArray raw = joined(pieces);
        TZVMemoryStream stream(raw);
        m_label.RestoreSnapshot(stream);
        m_lastRaw = raw;
        m_lastKept = pieces;
        if (m_label.Editor()) m_label.Editor()->SelectIndexes(selection);
    }

    // After the stack let old steps go.
    void dropUnusedPieces() { m_pool.dropUnused(); }

    TZVCustomLab& m_label;
    int m_depth = 0;
    QByteArray m_beforeRaw;
    QList<int> m_beforeSelection;
    bool m_beforeModified = false;
    bool m_givenUp = false;
    bool m_stepApplied = false;
    QByteArray m_lastRaw;
    TZVSnapshot m_lastKept;
    TZVPiecePool m_pool;
};

class TZVSnapshotStep : public QUndoCommand
{
public:
    TZVSnapshotStep(TZVChangeState& state, const QString& text, const QString& mergeKey,
                    TZVSnapshot before, TZVSnapshot after, QList<int> selBefore, QList<int> selAfter)
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

    const TZVSnapshot& before() const { return m_before; }
    const TZVSnapshot& after() const { return m_after; }

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
    void apply(const TZVSnapshot& pieces, const QList<int>& selection)
    {
        if (!m_state) return;
        m_state->m_stepApplied = true;
        m_state->restore(pieces, selection);
    }

    QPointer<TZVChangeState> m_state;
    QString m_mergeKey;
    TZVSnapshot m_before;
    TZVSnapshot m_after;
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
    TZVSnapshot before = state.kept(beforeRaw);
    TZVSnapshot after = state.kept(afterRaw);
    label.UndoStack().push(new TZVSnapshotStep(state, text, mergeKey, std::move(before),
                                               std::move(after), state.m_beforeSelection,
                                               selectionOf(label)));
    state.dropUnusedPieces();
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
        state.restore(state.kept(beforeRaw), state.m_beforeSelection);
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
    QSet<const QByteArray*> lists;
    const auto count = [&](const TZVSnapshot& pieces) {
        if (lists.contains(pieces.constData())) return;
        lists.insert(pieces.constData());
        bytes += pieces.size() * qint64(sizeof(QByteArray));
        for (const QByteArray& piece : pieces)
            if (!counted.contains(piece.constData())) {
                counted.insert(piece.constData());
                bytes += piece.size();
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
