// The counters page: a grid of the design's counters and the quantity field, applied as edited.
#include "dialogs/ZVCountersPage.h"

#include "document/ZVCounters.h"
#include "document/ZVCustomLab.h"
#include "foundation/ZVError.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zorvel {
namespace {

enum Column { cName, cStart, cStep, cDigits, cAlphabet, cPer, cReset, kColumns };

const QStringList& alphabets()
{
    static const QStringList list{QString::fromLatin1(kDecimalAlphabet), QStringLiteral("0123456789ABCDEF"),
                                  QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")};
    return list;
}

QComboBox* choice(const QStringList& items, int current, bool editable = false)
{
    auto* box = new QComboBox;
    box->addItems(items);
    box->setEditable(editable);
    box->setCurrentIndex(current);
    return box;
}

std::int64_t wholeNumber(const QTableWidgetItem* item, std::int64_t fallback)
{
    bool ok = false;
    const qlonglong value = item ? item->text().trimmed().toLongLong(&ok) : 0;
    return ok ? value : fallback;
}

} // namespace

TZVCountersPage::TZVCountersPage(QWidget* parent) : QWidget(parent)
{
    m_grid = new QTableWidget(0, kColumns, this);
    m_grid->setObjectName(QStringLiteral("Counters"));
    m_grid->setHorizontalHeaderLabels({tr("Name"), tr("Next value"), tr("Step"), tr("Digits"), tr("Alphabet"),
                                       tr("Steps every"), tr("Starts again")});
    m_grid->horizontalHeader()->setSectionResizeMode(cAlphabet, QHeaderView::Stretch);
    m_grid->verticalHeader()->hide();
    connect(m_grid, &QTableWidget::itemChanged, this, [this] { apply(); });

    auto* add = new QPushButton(tr("Add counter"), this);
    auto* remove = new QPushButton(tr("Remove"), this);
    add->setObjectName(QStringLiteral("AddCounter"));
    remove->setObjectName(QStringLiteral("RemoveCounter"));
    connect(add, &QPushButton::clicked, this, &TZVCountersPage::AddCounter);
    connect(remove, &QPushButton::clicked, this, &TZVCountersPage::RemoveCounter);

    m_refusal = new QLabel(this);
    m_refusal->setStyleSheet(QStringLiteral("color: #c00000"));
    m_refusal->setWordWrap(true);

    m_quantity = new QComboBox(this);
    m_quantity->setObjectName(QStringLiteral("QuantityField"));
    connect(m_quantity, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || !m_label) return;
        m_label->SetQuantityField(index <= 0 ? QString() : m_label->FieldNameOfLabel(m_quantity->currentText()));
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* quantity = new QFormLayout;
    quantity->addRow(tr("Labels per record from field"), m_quantity);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    layout->addWidget(m_refusal);
    layout->addLayout(quantity);
}

void TZVCountersPage::Prepare(TZVCustomLab& label)
{
    m_label = &label;
    m_filling = true;
    m_grid->setRowCount(0);
    for (const TZVCounter& counter : label.Counters()) {
        m_grid->insertRow(m_grid->rowCount());
        fillRow(m_grid->rowCount() - 1, counter);
    }
    QStringList fields;
    label.FieldLabels(fields, false, true, false);
    m_quantity->clear();
    m_quantity->addItem(tr("(every record Repetitions times)"));
    m_quantity->addItems(fields);
    const QString current = label.QuantityField().isEmpty() ? QString() : label.LabelOfFieldName(label.QuantityField());
    const int at = current.isEmpty() ? 0 : m_quantity->findText(current, Qt::MatchFixedString);
    // A field the data set does not offer now is still the design's: shown as it is named.
    if (at < 0) m_quantity->addItem(label.QuantityField());
    m_quantity->setCurrentIndex(at < 0 ? m_quantity->count() - 1 : at);
    m_refusal->clear();
    m_filling = false;
}

QString TZVCountersPage::Refusal() const
{
    return m_refusal->text();
}

void TZVCountersPage::fillRow(int row, const TZVCounter& counter)
{
    const bool filling = std::exchange(m_filling, true);
    m_grid->setItem(row, cName, new QTableWidgetItem(counter.Name));
    m_grid->setItem(row, cStart, new QTableWidgetItem(QString::number(counter.Start)));
    m_grid->setItem(row, cStep, new QTableWidgetItem(QString::number(counter.Step)));
    m_grid->setItem(row, cDigits, new QTableWidgetItem(QString::number(counter.Digits)));
    auto* alphabet = choice(alphabets(), std::max<int>(alphabets().indexOf(counter.Alphabet), 0), true);
    alphabet->setCurrentText(counter.Alphabet);
    auto* per = choice({tr("label"), tr("record"), tr("page")}, counter.Per);
    auto* reset = choice({tr("never"), tr("every run"), tr("every day")}, counter.Reset);
    m_grid->setCellWidget(row, cAlphabet, alphabet);
    m_grid->setCellWidget(row, cPer, per);
    m_grid->setCellWidget(row, cReset, reset);
    connect(alphabet, &QComboBox::currentTextChanged, this, [this] { apply(); });
    connect(per, &QComboBox::currentIndexChanged, this, [this] { apply(); });
    connect(reset, &QComboBox::currentIndexChanged, this, [this] { apply(); });
    m_filling = filling;
}

void TZVCountersPage::AddCounter()
{
    if (!m_label) return;
    TZVCounter counter{.Name = QStringLiteral("SERIAL")};
    for (int n = 2; std::any_of(m_label->Counters().cbegin(), m_label->Counters().cend(),
                                [&](const TZVCounter& c) { return c.Name.compare(counter.Name, Qt::CaseInsensitive) == 0; });
         ++n)
        counter.Name = QStringLiteral("SERIAL%1").arg(n);
    m_grid->insertRow(m_grid->rowCount());
    fillRow(m_grid->rowCount() - 1, counter);
    apply();
}

void TZVCountersPage::RemoveCounter()
{
    const int row = m_grid->currentRow();
    if (row < 0) return;
    m_grid->removeRow(row);
    apply();
}

void TZVCountersPage::apply()
{
    if (m_filling || !m_label) return;
    QList<TZVCounter> counters;
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        // Keeps the date of the last save, which the grid does not show.
        TZVCounter counter = row < m_label->Counters().size() ? m_label->Counters()[row] : TZVCounter{};
        counter.Name = m_grid->item(row, cName) ? m_grid->item(row, cName)->text().trimmed() : QString();
        counter.Start = wholeNumber(m_grid->item(row, cStart), counter.Start);
        counter.Step = wholeNumber(m_grid->item(row, cStep), counter.Step);
        counter.Digits = std::int32_t(wholeNumber(m_grid->item(row, cDigits), counter.Digits));
        counter.Alphabet = static_cast<QComboBox*>(m_grid->cellWidget(row, cAlphabet))->currentText();
        counter.Per = std::uint8_t(static_cast<QComboBox*>(m_grid->cellWidget(row, cPer))->currentIndex());
        counter.Reset = std::uint8_t(static_cast<QComboBox*>(m_grid->cellWidget(row, cReset))->currentIndex());
        counters << counter;
    }
    try {
        m_label->SetCounters(counters);
        m_refusal->clear();
    } catch (const EZvError& e) {
        m_refusal->setText(e.message());
    }
}

} // namespace zorvel
