// The wide-text dialog of the inspector, and TZVInspector::EditWideText that runs it.
#include "inspector/ZVInspectorWideText.h"

#include "controls/ZVWideEdit.h"
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "foundation/ZVAnsi.h"
#include "foundation/ZVStrings.h"
#include "inspector/ZVInspector.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <functional>

namespace zorvel {

// The paged grid of characters; it only draws and reports, the dialog decides.
class CharacterMap : public QWidget
{
public:
    static constexpr int kCell = 22;

    explicit CharacterMap(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(TZvEdText::kMapColumns * kCell + 1, TZvEdText::kMapRows * kCell + 1);
        setMouseTracking(true);
    }

    int page = 0;
    QString fontName = QStringLiteral("Arial");
    std::function<void(int row, int column)> onHover;
    std::function<void(int row, int column)> onClick;

    int cellWidth() const { return width() / TZvEdText::kMapColumns; }
    int cellHeight() const { return height() / TZvEdText::kMapRows; }

    QChar character(int row, int column) const
    {
        const int code = page * TZvEdText::kCharactersPerPage + row * TZvEdText::kMapColumns + column;
        return QChar(char16_t(code % 65536));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        QFont font(fontName);
        font.setPixelSize(16);
        painter.setFont(font);
        const int w = cellWidth();
        const int h = cellHeight();
        painter.setPen(Qt::black);
        for (int row = 0; row < TZvEdText::kMapRows; ++row)
            for (int column = 0; column < TZvEdText::kMapColumns; ++column)
                painter.drawText(QRect(column * w, row * h, w, h), Qt::AlignCenter, QString(character(row, column)));
        painter.setPen(QColor(0xC0, 0xC0, 0xC0));
        for (int column = 1; column < TZvEdText::kMapColumns; ++column)
            painter.drawLine(column * w, 0, column * w, height() - 1);
        for (int row = 1; row < TZvEdText::kMapRows; ++row)
            painter.drawLine(0, row * h, width() - 1, row * h);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (const auto cell = cellAt(event->position().toPoint()); cell.first >= 0 && onHover)
            onHover(cell.first, cell.second);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        const auto cell = cellAt(event->position().toPoint());
        if (event->button() == Qt::LeftButton && cell.first >= 0 && onClick) onClick(cell.first, cell.second);
    }

private:
    std::pair<int, int> cellAt(const QPoint& pos) const
    {
        const int row = pos.y() / cellHeight();
        const int column = pos.x() / cellWidth();
        if (pos.x() < 0 || pos.y() < 0 || row >= TZvEdText::kMapRows || column >= TZvEdText::kMapColumns)
            return {-1, -1};
        return {row, column};
    }
};

TZvEdText::TZvEdText(TZVCustomInspector& inspector, QWidget* parent)
    : QDialog(parent), m_inspector(inspector)
{
    auto* layout = new QVBoxLayout(this);
    auto* mapRow = new QHBoxLayout;
    m_map = new CharacterMap(this);
    m_pages = new QScrollBar(Qt::Vertical, this);
    m_pages->setRange(0, kLastPage);
    m_pages->setPageStep(1);
    m_magnifier = new QLabel(this);
    m_magnifier->setFixedSize(64, 64);
    m_magnifier->setAlignment(Qt::AlignCenter);
    m_magnifier->setStyleSheet(QStringLiteral("background: #C0DCC0; border: 2px solid #808080;"));
    mapRow->addWidget(m_map);
    mapRow->addWidget(m_pages);
    mapRow->addWidget(m_magnifier, 0, Qt::AlignTop);
    layout->addLayout(mapRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pages, &QScrollBar::valueChanged, this, [this](int page) {
        m_map->page = page;
        m_map->update();
    });
    m_map->onHover = [this](int row, int column) { showMagnified(CharacterAt(row, column)); };
    m_map->onClick = [this](int row, int column) { ClickCell(row, column); };

    const TZVCustomLab* lab = inspector.Editor() ? inspector.Editor()->Zorvel() : nullptr;
    const TZVDialogTexts texts(lab ? lab->IniTranslate() : QString());
    setWindowTitle(texts.text(TZVDialog::TZvEdText, u"ZvEdText"));
    buttons->button(QDialogButtonBox::Ok)->setText(texts.text(TZVDialog::TZvEdText, u"ZvOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.text(TZVDialog::TZvEdText, u"ZvCancel"));
}

TZvEdText::~TZvEdText() = default;

void TZvEdText::Prepare(const QString& name)
{
    const auto filling = m_filling.hold();
    m_name = name;
    TZVCustomEditor* editor = m_inspector.Editor();
    const TZVCustomLab* lab = editor ? editor->Zorvel() : nullptr;
    const bool unicode = lab && lab->UseUnicodeEditor();
    delete m_box;
    m_box = unicode ? new TZVWideEdit(this) : new QLineEdit(this);
    m_box->setFixedSize(350, std::max(21, m_box->sizeHint().height()));
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, m_box);

    const TZVElement* first = editor ? editor->FirstSelected() : nullptr;
    const QString value = first ? first->property(name.toLatin1().constData()).toString() : QString();
    if (const auto* data = qobject_cast<const TZVData*>(first)) {
        m_box->setFont(QFont(data->FontName()));
        m_map->fontName = data->FontName();
    }
    m_box->setText(unicode ? value : AnsiToQString(QStringToAnsi(value)));
    m_box->setCursorPosition(int(m_box->text().size()));
    connectGuarded(m_filling, m_box, &QLineEdit::textChanged, this,
                   [this](const QString& text) { boxChanged(text); });
    m_box->setFocus();
    m_map->update();
}

int TZvEdText::Page() const
{
    return m_pages->value();
}

void TZvEdText::SetPage(int page)
{
    m_pages->setValue(page);
}

QChar TZvEdText::CharacterAt(int row, int column) const
{
    return m_map->character(row, column);
}

QWidget* TZvEdText::Map() const
{
    return m_map;
}

void TZvEdText::ClickCell(int row, int column)
{
    if (!m_box) return;
    const int at = m_box->hasSelectedText() ? m_box->selectionStart() : m_box->cursorPosition();
    m_box->deselect();
    m_box->setCursorPosition(at);
    m_box->insert(QString(CharacterAt(row, column)));
}

void TZvEdText::boxChanged(const QString& text)
{
    m_inspector.CommitWideText(m_name, text);
}

void TZvEdText::showMagnified(QChar character)
{
    QFont font(m_map->fontName);
    font.setPixelSize(38);
    m_magnifier->setFont(font);
    m_magnifier->setText(QString(character));
}

// ---- TZVInspector ----

void TZVInspector::EditWideText(const QString& name, const QString&)
{
    if (!Editor() || Editor()->SelCount() == 0 || FindRow(name) < 0) return;
    // The dialog writes one text into every element; each keeps its own to go back to.
    const TZVSavedTexts before = selectedTexts(name);
    // What the dialog commits while the user types is one step, or none when cancelled.
    auto scope = changeScope(name, false);
    const bool wasModified = label() && label()->Modified();
    bool confirmed = false;
    if (WideTextRunner) {
        confirmed = WideTextRunner(*this, name);
    } else {
        TZvEdText dialog(*this, this);
        dialog.Prepare(name);
        confirmed = dialog.exec() == QDialog::Accepted;
    }
    // Cancel takes back what was typed.
    if (!confirmed) {
        // The elements stay the same objects: callers may hold them.
        restoreTexts(name, before);
        if (scope) scope->Cancel(false);
        if (!wasModified && label()) label()->SetModified(false);
    }
}

} // namespace zorvel
