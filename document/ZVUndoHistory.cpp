// Undo steps as design states cut into shared pieces, and the change scopes that record them.
#include "document/ZVUndoHistory.h"

#include "document/ZVCustomLab.h"
#include "document/ZVDesignDigest.h"
#include "document/ZVEditorLink.h"
#include "foundation/ZVStream.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QScopedValueRollback>
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

// What a state is beside the design's stream: the editor's selection, and the data sets linked
// (a step may link others, which the stream only names).
struct TZVSide
{
    QList<int> Selection;
    QPointer<TZVDataSet> Master;
    QPointer<TZVDataSet> Detail;
};

TZVSide sideOf(const TZVCustomLab& label)
{
    return {label.Editor() ? label.Editor()->SelectedIndexes() : QList<int>{}, label.DataSet(),
            label.Detail()};
}

void putSideBack(TZVCustomLab& label, const TZVSide& side)
{
    if (label.DataSet() != side.Master || label.Detail() != side.Detail) {
        // Linking names the data set; the design read keeps the names it had.
        const QString master = label.DataSetName();
        const QString detail = label.DetailName();
        label.SetDataSet(side.Master);
        label.SetDetail(side.Detail);
        label.SetDataSetName(master);
        label.SetDetailName(detail);
    }
    if (label.Editor()) label.Editor()->SelectIndexes(side.Selection);
}

// Which way the stack was going when it found the design changed behind its back.
enum class TDrift
{
    None,
    Undo,
    Redo
};

// The change in progress and the last state recorded, kept on the label as a child object.
class TZVChangeState : public QObject
{
public:
    explicit TZVChangeState(TZVCustomLab& label) : QObject(&label), m_label(label)
    {
        QObject::connect(&label.UndoStack(), &QUndoStack::indexChanged, this, [this] {
            if (m_replaying) return;
            if (m_label.UndoStack().count() == 0) { // cleared: a design was loaded
                m_lastRaw.clear();
                m_lastKept.clear();
                m_lastDigest.clear();
                m_pool.dropUnused();
            }
            if (m_drift != TDrift::None) {
                recordDrift();
                return;
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

    void restore(const TZVSnapshot& pieces, const TZVSide& side)
    {
        const QByteArray raw = joined(pieces);
        TZVMemoryStream stream(raw);
        m_label.RestoreSnapshot(stream);
        m_lastRaw = raw;
        m_lastKept = pieces;
        m_lastDigest = DesignDigest(m_label);
        putSideBack(m_label, side);
    }

    // After the stack let old steps go.
    void dropUnusedPieces() { m_pool.dropUnused(); }

    // A step is about to be undone or redone. True when it must leave the design alone: the
    // application changed it since the last state recorded (that change becomes a step of its
    // own first, once the stack has moved), or the stack is being put back after such a move.
    bool holdsStep(TDrift direction)
    {
        if (m_replaying) return true;
        // QUndoStack::setIndex moves over several steps before it reports the move.
        if (m_drift != TDrift::None) {
            ++m_heldSteps;
            return true;
        }
        if (m_lastDigest.isEmpty() || DesignDigest(m_label) == m_lastDigest) return false;
        m_drift = direction;
        m_heldSteps = 1;
        return true;
    }

    // The stack moved over a step that changed nothing: it is put back, the design as it is now
    // is pushed as a step, and an undo then undoes that step, while a redo has nothing left to do.
    void recordDrift()
    {
        const TDrift drift = std::exchange(m_drift, TDrift::None);
        QUndoStack& stack = m_label.UndoStack();
        {
            const QScopedValueRollback replaying(m_replaying, true);
            for (; m_heldSteps > 0; --m_heldSteps) {
                if (drift == TDrift::Undo)
                    stack.redo();
                else
                    stack.undo();
            }
        }
        const TZVSnapshot before = m_lastKept;
        const TZVSnapshot after = kept(snapshotOf(m_label));
        m_lastDigest = DesignDigest(m_label);
        const TZVSide side = sideOf(m_label);
        pushStep(QStringLiteral("Change"), {}, before, after, side, side, m_label.Modified());
        m_label.SetModified(true);
        if (drift == TDrift::Undo) stack.undo();
    }

    void pushStep(const QString& text, const QString& mergeKey, TZVSnapshot before, TZVSnapshot after,
                  TZVSide sideBefore, TZVSide sideAfter, bool modifiedBefore);

    TZVCustomLab& m_label;
    int m_depth = 0;
    QByteArray m_beforeRaw;
    QByteArray m_beforeDigest;
    TZVSide m_beforeSide;
    bool m_beforeModified = false;
    bool m_givenUp = false;
    bool m_stepApplied = false;
    // A merged step came back to where it started: the design is as it was then.
    bool m_stepDropped = false;
    bool m_droppedModifiedBefore = false;
    QByteArray m_lastRaw;
    TZVSnapshot m_lastKept;
    QByteArray m_lastDigest;
    TDrift m_drift = TDrift::None;
    int m_heldSteps = 0;
    bool m_replaying = false;
    TZVPiecePool m_pool;
};

class TZVSnapshotStep : public QUndoCommand
{
public:
    TZVSnapshotStep(TZVChangeState& state, const QString& text, const QString& mergeKey, TZVSnapshot before,
                    TZVSnapshot after, TZVSide sideBefore, TZVSide sideAfter, bool modifiedBefore)
        : QUndoCommand(text), m_state(&state), m_mergeKey(mergeKey), m_before(std::move(before)),
          m_after(std::move(after)), m_sideBefore(std::move(sideBefore)), m_sideAfter(std::move(sideAfter)),
          m_modifiedBefore(modifiedBefore)
    {
    }

    int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const TZVSnapshotStep*>(other);
        if (next->m_mergeKey != m_mergeKey) return false;
        m_after = next->m_after;
        m_sideAfter = next->m_sideAfter;
        setObsolete(m_before == m_after);
        if (isObsolete() && m_state) {
            m_state->m_stepDropped = true;
            m_state->m_droppedModifiedBefore = m_modifiedBefore;
        }
        return true;
    }

    void undo() override
    {
        if (m_state && m_state->holdsStep(TDrift::Undo)) return;
        apply(m_before, m_sideBefore);
    }

    const TZVSnapshot& before() const { return m_before; }
    const TZVSnapshot& after() const { return m_after; }

    void redo() override
    {
        // Pushed after the change was made: the first redo has nothing to do.
        if (m_fresh) {
            m_fresh = false;
            return;
        }
        if (m_state && m_state->holdsStep(TDrift::Redo)) return;
        apply(m_after, m_sideAfter);
    }

private:
    void apply(const TZVSnapshot& pieces, const TZVSide& side)
    {
        if (!m_state) return;
        m_state->m_stepApplied = true;
        m_state->restore(pieces, side);
    }

    QPointer<TZVChangeState> m_state;
    QString m_mergeKey;
    TZVSnapshot m_before;
    TZVSnapshot m_after;
    TZVSide m_sideBefore;
    TZVSide m_sideAfter;
    bool m_modifiedBefore = false;
    bool m_fresh = true;
};

void TZVChangeState::pushStep(const QString& text, const QString& mergeKey, TZVSnapshot before,
                              TZVSnapshot after, TZVSide sideBefore, TZVSide sideAfter, bool modifiedBefore)
{
    m_label.UndoStack().push(new TZVSnapshotStep(*this, text, mergeKey, std::move(before), std::move(after),
                                                 std::move(sideBefore), std::move(sideAfter),
                                                 modifiedBefore));
    dropUnusedPieces();
}

} // namespace

void BeginChange(TZVCustomLab& label)
{
    TZVChangeState& state = TZVChangeState::of(label);
    if (state.m_depth++ > 0) return;
    state.m_givenUp = false;
    state.m_beforeRaw = snapshotOf(label);
    state.m_beforeDigest = state.m_beforeRaw == state.m_lastRaw && !state.m_lastDigest.isEmpty()
                               ? state.m_lastDigest
                               : DesignDigest(label);
    state.m_beforeSide = sideOf(label);
    state.m_beforeModified = label.Modified();
}

bool EndChange(TZVCustomLab& label, const QString& text, const QString& mergeKey)
{
    TZVChangeState& state = TZVChangeState::of(label);
    if (state.m_depth == 0 || --state.m_depth > 0) return false;
    const QByteArray afterRaw = snapshotOf(label);
    const QByteArray beforeRaw = std::exchange(state.m_beforeRaw, {});
    if (afterRaw == beforeRaw) return false;
    // Texts measured again while the change was open (a preview showing the records) are no step.
    QByteArray afterDigest = DesignDigest(label);
    if (afterDigest == state.m_beforeDigest) return false;
    TZVSnapshot before = state.kept(beforeRaw);
    TZVSnapshot after = state.kept(afterRaw);
    state.m_lastDigest = std::move(afterDigest);
    state.m_stepDropped = false;
    state.pushStep(text, mergeKey, std::move(before), std::move(after), state.m_beforeSide, sideOf(label),
                   state.m_beforeModified);
    // Typed back to where the merged step began, the design is as modified as it was there.
    label.SetModified(state.m_stepDropped ? state.m_droppedModifiedBefore : true);
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
        state.restore(state.kept(beforeRaw), state.m_beforeSide);
    else
        putSideBack(label, state.m_beforeSide);
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
