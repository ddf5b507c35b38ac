// The label properties dialog: sizes and sheet, printing, background and frame, data binding.
// Every control writes into the label at once; there is no OK or Cancel.
#pragma once

#include "controls/ZVGuard.h"
#include "document/ZVAlias.h"
#include "printsupport/ZVStock.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QWidget;

namespace zorvel {

class ColorSwatch;
class TZVCountersPage;
class TZVCustomLab;
class DataSetModel;
class SheetPreview;
class TZVSqlDataSet;
class TZvSpinEditFloat;

/// The label properties dialog behind a label's ShowLabelProperties.
class ZORVEL_WIDGETS_EXPORT TFPropLab : public QDialog
{
    Q_OBJECT

public:
    /// The tabs, in their order; kPageCount counts them.
    enum TPage
    {
        pgSizes,
        pgPrinting,
        pgBackground,
        pgData,
        pgCounters,
        kPageCount
    };

    /// Pale blue of the box being edited.
    static constexpr std::uint32_t kEnteredColor = 0xFFE9BB;

    /// Builds the five pages, not yet linked to a label (see Prepare).
    explicit TFPropLab(QWidget* parent = nullptr);
    ~TFPropLab() override;
    Q_DISABLE_COPY_MOVE(TFPropLab)

    /// Prepares, shows modally, lets the label reopen its data and frees the dialog.
    static int Execute(TZVCustomLab& label, int page, QWidget* parent = nullptr);

    /// Fills every control from `label` and shows `page` (page 0 when out of range; the counters
    /// page only opens by its tab).
    void Prepare(TZVCustomLab& label, int page);
    /// What closing does: the label reopens its data, without counts or field checks.
    void CloseData();

    /// The label being edited, or null before Prepare; not owned.
    TZVCustomLab* Label() const { return m_label; }
    /// The tabs, in TPage order.
    QTabWidget* Pages() const { return m_pages; }
    /// The sheet preview of the sizes page.
    SheetPreview* Preview() const { return m_preview; }
    /// The line under the sheet preview that names the labels off the paper; hidden when they fit.
    QLabel* FitWarning() const { return m_fitWarning; }
    /// The sizes page's AutoLength box, enabled for roll designs (one row of one label) only.
    QCheckBox* AutoLength() const { return m_autoLength; }
    /// The counters page: the design's counters and its quantity field.
    TZVCountersPage* Counters() const { return m_counters; }
    /// The data page's grid of the label's records.
    QTableView* Grid() const { return m_grid; }
    /// The grid's pop-up menu: quick filter conditions, Execute and Delete.
    QMenu* GridMenu() const { return m_gridMenu; }

    /// The grid menu's commands: a condition on the selected cell narrows the filter; Execute
    /// switches the filter on, Delete removes it.
    /// @{
    void QuickFilter(const QString& op);
    void ExecuteFilter();
    void DeleteFilter();
    /// @}

    /// The picture file dialog, replaceable so that tests do not block; an empty name when
    /// cancelled.
    std::function<QString(const QString& filter)> PickPicture;
    /// Failures of the data page (a table that does not open, a filter that does not parse),
    /// and a stock the label refuses.
    std::function<void(const QString& message)> ShowError;
    /// Picks a stock for "From catalogue..."; none when cancelled. The stock picker dialog unless
    /// replaced.
    std::function<std::optional<TZVStock>()> ChooseStock;

    /// "From catalogue...": gives the label the stock ChooseStock picks, as one undo step, and
    /// shows its sheet; false when cancelled or refused (the reason shown).
    bool AssignFromCatalogue();

    /// The picture files the browse button offers, in Qt's filter syntax.
    static QString PictureFilter();

protected:
    /// Tints the box that has the focus (kEnteredColor) while it has it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (ZVLabelPropsPages.cpp).
    QWidget* buildSizesPage();
    QWidget* buildPrintingPage();
    QWidget* buildBackgroundPage();
    QWidget* buildDataPage();
    QLabel* caption(const char* key, const char* fallback = nullptr);
    QGroupBox* group(const char* key);
    void addCaption(const char* key, const char* fallback, std::function<void(const QString&)> set);
    TZvSpinEditFloat* spinBox(const char* name, double minValue, double maxValue, bool integer);
    ColorSwatch* swatch(const char* name);

    // Preparation.
    void fillLanguage();
    void setSteps();
    void fillControls();
    void prepareData();

    // Writing back.
    void onFloat(TZvSpinEditFloat* box, void (*write)(TZVCustomLab&, float), bool geometry);
    void onInteger(TZvSpinEditFloat* box, void (*write)(TZVCustomLab&, int), bool geometry);
    void showSizeBoxes();
    void paperChanged(int index);
    void orientationChanged(int orientation);
    void labelTypeChanged(bool circle);
    void showFitWarning();
    void showAutoLength();
    void startChanged(TZvSpinEditFloat* box, bool column);
    void printFromChanged();
    void refreshStart();
    void backStyleChanged(int index);
    void browsePicture();
    void writePicture(const QString& name);
    void setEntered(QWidget* box, bool entered);

    // Data page (ZVLabelPropsDataPage.cpp).
    void fillAliases();
    void fillDataSets();
    void linkChosenDataSet();
    void aliasChanged();
    void tableChanged();
    void dataEnabledChanged(bool checked);
    void refreshCounts();
    void showDataSet();
    void selectCurrentRecord();
    void gridRowChanged(int row);
    void navigate(int how);
    void updateMenu();
    TZVSqlDataSet* aliasTable(const QString& alias, const QString& table);
    void syncAliasFilter();
    /// Runs a data action; a failure is shown and the grid and counts still follow the data set.
    void dataAction(const std::function<void()>& action);

    TZVCustomLab* m_label = nullptr;
    /// Held while controls are filled from the label, so that they write nothing back.
    FeedbackGuard m_filling;
    QString m_aliasName;
    int m_aliasIndex = -1;
    /// Held while the grid follows the data set's cursor, so that it does not move it back.
    FeedbackGuard m_syncingGrid;

    QTabWidget* m_pages = nullptr;
    struct TCaption
    {
        const char* Key;
        const char* Fallback; ///< null for a key of this dialog's table
        std::function<void(const QString&)> Set;
    };
    std::vector<TCaption> m_captions;
    std::vector<TZvSpinEditFloat*> m_integerBoxes;
    std::vector<TZvSpinEditFloat*> m_floatBoxes;

    // Sizes.
    QLineEdit* m_labelName = nullptr;
    TZvSpinEditFloat* m_width = nullptr;
    TZvSpinEditFloat* m_height = nullptr;
    TZvSpinEditFloat* m_diHor = nullptr;
    TZvSpinEditFloat* m_diVer = nullptr;
    TZvSpinEditFloat* m_marLeft = nullptr;
    TZvSpinEditFloat* m_marTop = nullptr;
    TZvSpinEditFloat* m_rows = nullptr;
    TZvSpinEditFloat* m_columns = nullptr;
    QComboBox* m_paperList = nullptr;
    TZVCountersPage* m_counters = nullptr;
    TZvSpinEditFloat* m_paperWidth = nullptr;
    TZvSpinEditFloat* m_paperHeight = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QRadioButton* m_rect = nullptr;
    QRadioButton* m_circle = nullptr;
    TZvSpinEditFloat* m_innerCircle = nullptr;
    SheetPreview* m_preview = nullptr;
    QLabel* m_fitWarning = nullptr;
    QCheckBox* m_autoLength = nullptr;
    QPushButton* m_fromCatalogue = nullptr;

    // Printing.
    TZvSpinEditFloat* m_numLabels = nullptr;
    TZvSpinEditFloat* m_firstCol = nullptr;
    TZvSpinEditFloat* m_firstRow = nullptr;
    TZvSpinEditFloat* m_printFrom = nullptr;
    TZvSpinEditFloat* m_printTo = nullptr;
    QLabel* m_printFromCaption = nullptr;
    QLabel* m_printToCaption = nullptr;
    QCheckBox* m_showMargins = nullptr;
    TZvSpinEditFloat* m_repetitions = nullptr;

    // Background and frame.
    ColorSwatch* m_colorFrom = nullptr;
    ColorSwatch* m_colorTo = nullptr;
    QComboBox* m_backStyle = nullptr;
    QCheckBox* m_printBack = nullptr;
    QComboBox* m_frameStyle = nullptr;
    TZvSpinEditFloat* m_frameDist1 = nullptr;
    TZvSpinEditFloat* m_frameDist2 = nullptr;
    TZvSpinEditFloat* m_penWidth = nullptr;
    TZvSpinEditFloat* m_radius = nullptr;
    ColorSwatch* m_frameColor = nullptr;
    QLineEdit* m_imageFile = nullptr;
    QPushButton* m_browse = nullptr;

    // Data.
    QCheckBox* m_dataEnabled = nullptr;
    QLabel* m_aliasCaption = nullptr;
    QComboBox* m_aliasList = nullptr;
    QComboBox* m_tableList = nullptr;
    QLabel* m_recordCount = nullptr;
    QLabel* m_filterText = nullptr;
    QTableView* m_grid = nullptr;
    DataSetModel* m_model = nullptr;
    QMenu* m_gridMenu = nullptr;
    QAction* m_executeAction = nullptr;
    QAction* m_deleteAction = nullptr;
    /// The table items of the chosen alias item, when the label's alias collection names them.
    std::vector<TZVTableItem> m_tableItems;
};

} // namespace zorvel
