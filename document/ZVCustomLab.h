// The label document: sheet geometry, frame, background, title, print settings, data binding
// and the ordered list of elements.
#pragma once

#include "document/ZVAlias.h"
#include "document/ZVBackSurf.h"
#include "document/ZVCounters.h"
#include "document/ZVMeasure.h"
#include "document/ZVPrintInfo.h"
#include "document/ZVPrintRun.h"
#include "document/ZVStreamVisitors.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUndoStack>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zorvel {

class TZVCanvas;
class TZVDataSet;
class TZVDataSetRegistry;
class TZVEditorLink;
class TZVFieldVisitor;
class TZVLab;
class TZVElement;
class TZVMemoryStream;
class TZVPrinter;
class TZVLengthProbe;
class TZVRunPlan;
class TZVRunValues;
class TZVSqlDataSet;
class TZVTemplate;
class TZVTemplateValues;

/// A handle glyph the design surface draws over the selection, at two points in surface pixels.
/// Kind 1 circles at line ends, 2 squares, 3 grey squares.
struct TZVHandleMark
{
    std::int16_t Kind = 0; ///< 1 circles at line ends, 2 squares, 3 grey squares
    /// The two points where the glyphs are drawn, surface pixels.
    /// @{
    TPoint P1;
    TPoint P2;
    /// @}
};

/// NotifyChange kinds: which cached editor layers a change makes dirty.
enum TZVChangeKind : int {
    ckAll = 0,              ///< background, content and selection
    ckBackground = 1,
    ckContent = 2,
    ckSelection = 3,
    ckContentCoordinates = 4,
    ckSelectionCoordinates = 5,
    ckLayers = 6,           ///< content and selection
};

/// The label document without dialogs: everything a headless program needs to build, store, load
/// and print designs. Applications use TZVLab, which adds the dialogs of the widgets library.
class ZORVEL_CORE_EXPORT TZVCustomLab : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool OnlyBitmap READ OnlyBitmap WRITE SetOnlyBitmap)
    Q_PROPERTY(bool OpenCloseData READ OpenCloseData WRITE SetOpenCloseData)
    Q_PROPERTY(zorvel::TZVDataAccessType DataAccessType READ DataAccessType WRITE SetDataAccessType)
    Q_PROPERTY(bool ShowMargins READ ShowMargins WRITE SetShowMargins)
    Q_PROPERTY(bool MarkEmptyImage READ MarkEmptyImage WRITE SetMarkEmptyImage)
    Q_PROPERTY(bool GridNotDrawFields READ GridNotDrawFields WRITE SetGridNotDrawFields)
    Q_PROPERTY(zorvel::TZVUnits Units READ Units WRITE SetUnits)
    Q_PROPERTY(QString LabelDefs READ LabelDefs WRITE SetLabelDefs)
    Q_PROPERTY(QString IniTranslate READ IniTranslate WRITE SetIniTranslate)
    Q_PROPERTY(bool UseUnicodeEditor READ UseUnicodeEditor WRITE SetUseUnicodeEditor)

public:
    /// An empty label with the default sheet (A4, 7 x 3 labels of 60 x 35 mm); `parent` owns it.
    explicit TZVCustomLab(QObject* parent = nullptr);
    ~TZVCustomLab() override;

    /// The owned settings objects; they live as long as the label.
    /// @{
    TZVMeasure& Measure() { return *m_measure; }
    const TZVMeasure& Measure() const { return *m_measure; }
    TZVBackSurf& BackSurf() { return *m_backSurf; }
    const TZVBackSurf& BackSurf() const { return *m_backSurf; }
    TZVFrame& Frame() { return *m_frame; }
    const TZVFrame& Frame() const { return *m_frame; }
    TZVTitle& Title() { return m_title; }
    const TZVTitle& Title() const { return m_title; }
    TZVPrintInfo& PrintInfo() { return *m_printInfo; }
    const TZVPrintInfo& PrintInfo() const { return *m_printInfo; }
    TZVAliasTable& AliasTable() { return m_aliasTable; }
    const TZVAliasTable& AliasTable() const { return m_aliasTable; }
    /// @}
    /// The data set that older-engine access opens from AliasTable; null until OpenData made it.
    TZVDataSet* AliasDataSet() const;
    /// The aliases offered in the data dialogs.
    /// @{
    TZVAlias& BDEAlias() { return m_aliases; }
    const TZVAlias& BDEAlias() const { return m_aliases; }
    /// @}
    /// Copy the given settings into the owned object (null is ignored) and mark the label modified.
    /// @{
    void SetMeasure(const TZVMeasure* value);
    void SetFrame(const TZVFrame* value);
    void SetBackSurf(const TZVBackSurf* value);
    /// @}
    /// Replaces the aliases offered in the data dialogs.
    void SetBDEAlias(const TZVAlias& value);

    /// Unit in which the published lengths of the label and its elements are shown and set.
    TZVUnits Units() const { return m_units; }
    /// Changes the unit; model values stay, the editor's rulers follow.
    void SetUnits(TZVUnits value);
    /// A length in the label's unit -> model units.
    int ToModel(double value) const;
    /// Model units -> the label's unit.
    float FromModel(int value) const;

    /// Editor link (set by the editor; null when none).
    TZVEditorLink* Editor() const { return m_editor; }
    /// Called by the editor that shows the label; the link is not owned. A label shows in one
    /// editor at a time: another link put in place of one tells the old one LabelTaken.
    void SetEditor(TZVEditorLink* editor);

    /// Elements, first on top. The label owns them; deleting an element takes it off the list.
    const QList<TZVElement*>& Elements() const { return m_elements; }
    /// Appends `element` (made for this label) unless it is listed already; `refresh` repaints the editor.
    void AddElement(TZVElement* element, bool refresh);
    /// Removes and deletes `element`; false when it is not on the list.
    bool DeleteElement(TZVElement* element, bool refresh);
    /// Deletes every element, after emptying the editor's selection.
    void ClearElements();
    /// True when an element has the ID, compared without regard to case.
    bool IdInUse(const QString& id) const;
    /// The first free ID `base` + n, n counting the elements of stream kind `kind`.
    QString NewId(const QString& base, int kind) const;
    /// Creates an element of a stream kind number (1..10) for this label; null for other kinds.
    TZVElement* CreateElement(int kind);
    /// The element whose special editor EditElement opens, or null.
    /// @{
    TZVElement* CurrentElement() const { return m_currentElement; }
    void SetCurrentElement(TZVElement* element) { m_currentElement = element; }
    /// @}
    /// Moves an element to the head (front) or the tail (back) of the list.
    /// @{
    void BringToFront(TZVElement* element);
    void SendToBack(TZVElement* element);
    /// @}

    /// Paints the elements from the last to the first, so the first lies on top; on the editor
    /// surface the selected ones are left to the selection layer. Targets: TZVPaintTarget.
    void PaintElements(TZVCanvas& canvas, TPoint origin, int target, int dataMode);
    /// Draws `text` as the page title at Title's place, font and colour.
    void PaintTitle(TZVCanvas& canvas, const QString& text) const;
    /// Filled by elements painted on the editor surface, read and emptied by the editor.
    std::vector<TZVHandleMark>& HandleMarks() { return m_handleMarks; }

    /// Marks the editor's layers of `kind` (a TZVChangeKind) dirty and repaints; an `index` other than 0
    /// also refreshes the inspector, naming `propertyName`. Nothing without an editor.
    void NotifyChange(int kind, int index, const QString& propertyName);
    /// Tells the inspector linked to the editor that the property `name` changed.
    void RefreshProperty(const QString& name);
    /// Whether the design changed since it was loaded or saved.
    /// @{
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    /// @}
    /// The design's undo history, shared by every editor, inspector and dialog of the label.
    /// Applications make "Undo Move" actions from it with createUndoAction.
    QUndoStack& UndoStack() { return *m_undoStack; }
    /// True while settings are being read (stream or form); setters keep raw values then.
    /// @{
    bool Loading() const { return m_loading; }
    void SetLoading(bool loading) { m_loading = loading; }
    /// @}
    /// Ends loading: the margins and gaps kept raw are applied through their setters and
    /// Modified is cleared.
    void Loaded();

    /// The master data set that prints one label per record; null when none. Not owned.
    TZVDataSet* DataSet() const { return m_dataSet; }
    /// The detail data set that feeds table elements; null when none. Not owned.
    TZVDataSet* Detail() const { return m_detail; }
    /// Link the data set (not owned; null unlinks) and remember its name for the stream.
    /// @{
    void SetDataSet(TZVDataSet* dataSet);
    void SetDetail(TZVDataSet* dataSet);
    /// @}
    /// Names of the linked data sets as kept in the design.
    /// @{
    const QString& DataSetName() const { return m_dataSetName; }
    const QString& DetailName() const { return m_detailName; }
    void SetDataSetName(const QString& name) { m_dataSetName = name; }
    void SetDetailName(const QString& name) { m_detailName = name; }
    /// @}
    /// Where LinkDataSetByName looks: the owner's components and the application's data modules.
    /// @{
    void SetDataSetRegistry(TZVDataSetRegistry* registry) { m_registry = registry; }
    TZVDataSetRegistry* DataSetRegistry() const { return m_registry; }
    /// @}
    /// Links the first data set named `name` among the parent's children or in the registry;
    /// false when none matches. Sets the detail when `isDetail`.
    bool LinkDataSetByName(const QString& name, bool withModule, bool isDetail);
    /// Whether the label prints from data at all.
    /// @{
    bool DataEnabled() const { return m_dataEnabled; }
    void SetDataEnabled(bool enabled);
    /// @}
    /// Whether OpenData has linked and opened the data.
    /// @{
    bool DataOpen() const { return m_dataOpen; }
    void SetDataOpen(bool open) { m_dataOpen = open; }
    /// @}
    /// Links and, with OpenCloseData, opens the data as the settings say. `adjustCounts` fits the print
    /// range to the record count; `checkFields` unbinds elements whose field is missing and raises
    /// EZvError "INVALID FIELD NAME :NAME". Any other failure raises "CAN'T OPEN DATASET". Returns
    /// whether a data set is linked.
    bool OpenData(bool adjustCounts, bool checkFields);
    /// The display labels of the master's fields, filtered by kind; empty without data.
    void FieldLabels(QStringList& list, bool binaryOnly, bool noBinary, bool integersOnly) const;
    /// The display labels of the detail's fields; empty without data.
    void DetailFieldLabels(QStringList& list) const;
    /// The field name behind a display label of the master (or of the detail); empty when none has it.
    /// @{
    QString FieldNameOfLabel(const QString& label) const;
    QString DetailFieldNameOfLabel(const QString& label) const;
    /// @}
    /// The display label of a master (or detail) field; "-" without data or for an unknown field.
    /// @{
    QString LabelOfFieldName(const QString& name) const;
    QString DetailLabelOfFieldName(const QString& name) const;
    /// @}
    /// The current record's value of `fieldName` in the master, printed with the display `format`
    /// (a date-time picture when `dateFormat`); empty when null. Raises for an unknown field.
    QString FieldText(const QString& fieldName, const QString& format, bool dateFormat) const;
    /// The alias whose caption is `caption`, or `caption` itself when none has it.
    QString AliasNameOfCaption(const QString& caption) const;

    /// Content from data (ZVRunValues.cpp). The design's counters, in their order; SetCounters
    /// raises EZvError with CountersProblem's message and keeps the old list then.
    /// @{
    const QList<TZVCounter>& Counters() const { return m_counters; }
    void SetCounters(const QList<TZVCounter>& counters);
    /// @}
    /// The master field whose value is each record's number of labels, instead of Repetitions;
    /// empty when every record prints Repetitions times.
    /// @{
    const QString& QuantityField() const { return m_quantityField; }
    void SetQuantityField(const QString& field);
    /// @}
    /// Values the next runs start the named counters from instead of their Start (a reprint of
    /// a range); such a run saves nothing. Empty by default.
    /// @{
    void SetCounterOverrides(const QHash<QString, std::int64_t>& starts) { m_counterOverrides = starts; }
    const QHash<QString, std::int64_t>& CounterOverrides() const { return m_counterOverrides; }
    /// @}
    /// Where a completed print run takes its counters' values from and leaves them: the stored
    /// design (TZVCounterStore). Not owned; null keeps them in the label only.
    /// @{
    void SetCounterStore(TZVCounterStore* store) { m_counterStore = store; }
    TZVCounterStore* CounterStore() const { return m_counterStore; }
    /// @}
    /// The counters and the quantity field under their JSON keys; layouts before the content
    /// layout have none (a reader empties them).
    void VisitContentFields(TZVFieldVisitor& visitor);
    /// Whether the design has counters or a quantity field.
    bool UsesContentFields() const;
    /// What templates are filled from while a label is painted: the current record, the run's
    /// page, label, record and copy, the job's start, the counters and the answers. Outside a run
    /// (the designer showing data) it describes the first label of a run starting now.
    const TZVTemplateValues& TemplateValues() const;
    /// The template filled for the label being painted; `fields` is the data set whose current
    /// record gives the fields (null: the master).
    QString ExpandTemplate(const TZVTemplate& text, const TZVDataSet* fields = nullptr) const;
    /// Whether the editor shows the current master record's values instead of field names (off
    /// by default); the editor's show-data mode.
    /// @{
    bool ShowData() const { return m_showData; }
    void SetShowData(bool value);
    /// @}

    /// Pictures of image elements are kept inside the design (BMP) rather than as file names.
    /// @{
    bool OnlyBitmap() const { return m_onlyBitmap; }
    void SetOnlyBitmap(bool value);
    /// @}
    /// Whether OpenData opens the data sets itself (and the run closes them).
    /// @{
    bool OpenCloseData() const { return m_openCloseData; }
    void SetOpenCloseData(bool value) { m_openCloseData = value; }
    /// @}
    /// Where the label takes its records (see TZVDataAccessType).
    /// @{
    TZVDataAccessType DataAccessType() const { return m_dataAccessType; }
    void SetDataAccessType(TZVDataAccessType value);
    /// @}
    /// Whether the editor shows the sheet margins around the label.
    /// @{
    bool ShowMargins() const { return m_showMargins; }
    void SetShowMargins(bool value);
    /// @}
    /// Whether image elements without a picture are marked outside the editor too (previews, printouts).
    /// @{
    bool MarkEmptyImage() const { return m_markEmptyImage; }
    void SetMarkEmptyImage(bool value);
    /// @}
    /// Whether table elements leave out the grid lines of their data rows.
    /// @{
    bool GridNotDrawFields() const { return m_gridNotDrawFields; }
    void SetGridNotDrawFields(bool value);
    /// @}
    /// The label definitions file the catalogue dialog reads and writes.
    /// @{
    const QString& LabelDefs() const { return m_labelDefs; }
    void SetLabelDefs(const QString& value) { m_labelDefs = value; }
    /// @}
    /// The translation file of the inspector and the dialogs (zvCustom); see ResolveTranslationPath.
    /// @{
    const QString& IniTranslate() const { return m_iniTranslate; }
    void SetIniTranslate(const QString& value) { m_iniTranslate = value; }
    /// @}
    /// Whether the inspector edits texts in the wide (Unicode) text editor.
    /// @{
    bool UseUnicodeEditor() const { return m_useUnicodeEditor; }
    void SetUseUnicodeEditor(bool value) { m_useUnicodeEditor = value; }
    /// @}
    /// File-dialog filter for pictures (Qt's syntax), following OnlyBitmap.
    QString PictureFilter() const;

    /// The newest stream layout this library writes, that of element records on the clipboard;
    /// a saved design takes the oldest layout that holds it.
    std::int32_t WriteVersion() const { return m_writeVersion; }
    /// Layout version of the stream being read; older layouts are scaled after reading.
    /// @{
    std::int32_t ReadVersion() const { return m_readVersion; }
    void SetReadVersion(std::int32_t version) { m_readVersion = version; }
    /// @}
    /// 3 while a design is read as a template (elements lose their data binding), else 0.
    /// @{
    std::uint8_t LoadMode() const { return m_loadMode; }
    void SetLoadMode(std::uint8_t mode) { m_loadMode = mode; }
    /// @}
    /// Writes the design (header, settings, elements) at the stream's position.
    void SaveToStream(TZVMemoryStream& stream);
    /// Replaces the design by the one at the stream's position; `asTemplate` drops the elements' data
    /// binding. Raises EZvError "ERROR READING FILE" for a damaged stream, which leaves the label,
    /// its elements and its undo history as they were.
    void LoadFromStream(TZVMemoryStream& stream, bool asTemplate = false);
    /// For conversion tools: keeps every value as the stream stores it, the guide, margin and
    /// linked editor settings included, opens and links no data, and leaves the print range and
    /// the first row and column as stored. Fails as LoadFromStream does.
    void LoadFromStreamRaw(TZVMemoryStream& stream);
    /// Undo snapshots. SaveSnapshot writes what SaveToStream writes but leaves Modified alone;
    /// RestoreSnapshot reads it back in place, keeping the undo history, the linked data sets
    /// and the print range: an element whose ID (and kind) is in the snapshot stays the same
    /// object with its properties put back, only the elements the snapshot lacks are deleted and
    /// only those it adds are made, so pointers held to elements stay valid. Loading through
    /// LoadFromStream(Raw) clears the history instead, and a load that fails leaves the label as
    /// it was.
    /// @{
    void SaveSnapshot(TZVMemoryStream& stream);
    void RestoreSnapshot(TZVMemoryStream& stream);
    /// @}
    /// The header settings under their JSON key names, grouped as the JSON form groups them.
    void VisitHeaderFields(TZVFieldVisitor& visitor);

    /// Print run (ZVPrintRun.cpp). The top-left corner of the label at (row, col) of a sheet,
    /// in model units, less the unprintable offsets.
    TPoint LabelOrigin(int row, int col, int offX, int offY) const;
    /// Opens the data and computes DataMode, DetailMode, TotalLabels and PageCount; with
    /// `holdControls` the walked data set's controls are held back (the caller resumes them).
    void PrepareRun(bool holdControls = false);
    /// Sets the printer's settings record from the label's paper and orientation; copies > 0
    /// also sets the copy count. Raises EZvPrinterError when the printer has no record.
    void PrepareDevMode(TZVPrinter& printer, int copies);
    /// Asks the questions, then prints the run on `printer`; with `noOutput` only the run is set
    /// up. Returns false when the progress report cancelled the job, which is then aborted.
    /// Printing and rendering pages need a QGuiApplication (RequirePaintingApplication).
    bool PrintEx(TZVPrinter& printer, int copies, bool noOutput);
    /// A dry run: sets the run up as PrintEx does (questions asked, data opened), prints nothing
    /// and calls `sink` for each label on the paper and each printed element with text content
    /// (TZVElement::PrintedContent), in element order. Counters are not advanced; OnProgress may
    /// cancel.
    void ListValues(const std::function<void(const TZVLabelValue&)>& sink);
    /// PrintEx with one copy, to the printer.
    bool Print(TZVPrinter& printer) { return PrintEx(printer, 1, false); }
    /// Visits the question elements from the last to the first: the asker (when set), then
    /// OnAskText, give each its Answer.
    void AskQuestions();
    /// The asker that AskQuestions uses first; not owned, may be null.
    /// @{
    void SetQuestionAsker(TZVQuestionAsker* asker) { m_questionAsker = asker; }
    TZVQuestionAsker* QuestionAsker() const { return m_questionAsker; }
    /// @}
    /// Called before each label of a print run and before each page a preview renders ahead;
    /// returning false cancels the job or the preview. A run split among threads calls it on the
    /// calling thread every few hundredths of a second with the pages its workers have begun.
    TZVPrintProgress OnProgress;
    /// Called before each label of a print run or a dry run with the label being printed, its
    /// record current; raising stops the run with that error. In a run split among threads it is
    /// a worker's copy of the label, on the worker's thread: the check reads only that label.
    std::function<void(const TZVCustomLab& label)> OnCheckLabel;
    /// Threads a print run renders its pages on: 1 (the default) prints on the calling thread,
    /// 0 takes one per core (QThread::idealThreadCount), more print ranges of pages on as many threads.
    /// A split run prints the same pages; it stays on one thread when the printer cannot print
    /// parts (TZVPrinter::NewPart), the master cannot be read twice (TZVDataSet::OpenCopy), the run
    /// prints detail records, or OnPrintText or a printed OnPrintTitle is set (called from one
    /// thread only). Values below 0 count as 0.
    /// @{
    int Jobs() const { return m_jobs; }
    void SetJobs(int jobs) { m_jobs = std::max(jobs, 0); }
    /// @}

    /// Preview pages. PreparePreview sets the run up (with `printer`'s settings record prepared
    /// when given) and renders the pages, or the first and last four of a long run; false, with
    /// no page kept, when OnProgress cancelled.
    bool PreparePreview(TZVPrinter* printer = nullptr);
    /// Renders every page of the run into Pages(), walking the records as the printer does.
    void RenderAllPages();
    /// Renders page `n` (1-based) of the prepared run; null outside the run.
    std::unique_ptr<QPicture> RenderPage(int n);
    /// The picture of page n or null; on a long run showing a page renders its neighbours.
    const QPicture* GetPreviewPage(int n);
    /// The rendered preview pages, owned by the label.
    const std::vector<TZVPagePreview>& Pages() const { return m_pages; }
    /// Drops the rendered preview pages.
    void ClearPages() { m_pages.clear(); }
    /// True while GetPreviewPage renders neighbouring pages.
    bool PageCacheBusy() const { return m_pageCacheBusy; }
    /// Size of a preview picture: the paper in tenths of a millimetre, turned for landscape.
    QSize PreviewPageSize() const;

    /// Page being printed or rendered, 1-based.
    int PageNumber() const { return m_pageNumber; }
    /// Whether the run draws nothing on the printer (ptPrinter paints are skipped).
    /// @{
    bool NoPrinterOutput() const { return m_noPrinterOutput; }
    void SetNoPrinterOutput(bool value) { m_noPrinterOutput = value; }
    /// @}

    /// Asks the application for the text of data and question elements at print time.
    TZVPrintTextEvent OnPrintText;
    /// Asks for the answer of a question element when no asker answered.
    TZVAskTextEvent OnAskText;
    /// Lets the application change the title of each preview page.
    TZVPrintTitleEvent OnPrintTitle;
    /// Tells the application which data set the label linked.
    TZVAssignedDataSet OnAssignedDataSet;
    /// Lets the application change the font list of the dialogs.
    TZVGetFontListEvent OnGetFontListEvent;
    /// A message that does not stop the operation (a picture file an image cannot read); the
    /// widgets library shows it in a box.
    std::function<void(QObject* Sender, const QString& Message)> OnMessage;

signals:
    /// Modified went from false to true or back (an edit, a save, an undo to the saved state).
    void ModifiedChanged(bool modified);

protected:
    /// Opens the special editor of CurrentElement (dialogs live in the widgets library).
    virtual void EditElement() = 0;

private:
    friend class TZVElement;
    friend void DesignFromJson(TZVCustomLab& label, const QByteArray& json);
    void takeOffList(TZVElement* element);
    // Runs `read`, which fills the emptied element list and the settings anew; when it throws,
    // the label is put back as it was, its elements the same objects (ZVLabRestore.cpp).
    void replaceDesign(const std::function<void()>& read);
    // After a snapshot was read: the elements that were there before take the state of the
    // ones read with their ID and kind, and stand in for them (ZVLabRestore.cpp).
    void adoptElements(const QList<TZVElement*>& previous);
    // After a snapshot was read: each counter keeps the next value and day it had (ZVLabRestore.cpp).
    void keepCounterPositions(const QList<TZVCounter>& current);
    // The editor shows the design just read: its size, guides and every layer.
    void showDesignRead();
    // The alias table's data set, made on first use and set up from AliasTable.
    TZVDataSet* configuredAliasDataSet();
    void checkBoundFields();
    // Reads a design into the label, whose element list the caller has emptied (ZVLabStream.cpp).
    void readStream(TZVMemoryStream& stream, bool asTemplate, bool raw);
    void writeStream(TZVMemoryStream& stream);
    // Print run helpers (ZVPrintRun.cpp).
    struct TRunPage;
    TRunPage runPage(int n) const;
    const TZVRunPlan& runPlan();
    // Walks the labels of `page`, the data set and the run position moved to each, and calls
    // `label` for each one on the paper; false when `progress` cancelled.
    bool walkPageLabels(const TRunPage& page, const TZVPrintProgress& progress,
                        const std::function<void(int row, int col)>& label);
    // The job's start and the counters' run starts; a printing run takes its range from the
    // counter store. A completed printing run then advances the counters.
    void beginRunValues(bool printing);
    void saveRunCounters();
    // The counters as the store handed them out, by name; the label's others stay.
    void adoptStoredCounters(const QList<TZVCounter>& stored);
    void paintPageLabels(TZVCanvas& canvas, int target, const TRunPage& page, TPoint offset,
                         const TZVPrintProgress& progress, bool& cancelled);
    // One label of the run at `origin`: its background, elements and frame, the frame `height`
    // long when given (a roll label as long as its content).
    void paintLabel(TZVCanvas& canvas, TPoint origin, int target, int height = 0);
    // The run's pages on the printer, begun with BeginDoc; false when the progress report cancelled.
    // Sheets have the paper's length (ZVPrintRun.cpp), roll labels with AutoLength each their
    // own (ZVRollRun.cpp).
    bool printSheetPages(TZVPrinter& printer, const QString& title, int first, int last);
    bool printRollPages(TZVPrinter& printer, const QString& title, int first, int last);
    // Pages `first` to `last` of the run on `printer`, sheets or roll labels.
    bool printPages(TZVPrinter& printer, const QString& title, int first, int last);
    // The run split among Jobs() threads, each printing a range of pages into a part of the
    // printer's job (ZVSplitRun.cpp); nullopt when the run cannot be split, else whether it completed.
    std::optional<bool> printSplit(TZVPrinter& printer, const QString& title);
    // A copy of the label over `data` (a copy of the master, or null) set up for the run prepared here.
    std::unique_ptr<TZVLab> runCopy(const QByteArray& design, TZVDataSet* data) const;
    // The master data set on the record where `page` starts, as the walk expects it.
    void positionAt(const TRunPage& page);
    // What the walk of a printing or dry run reports to: OnCheckLabel, then OnProgress.
    TZVPrintProgress runProgress();
    // A preview page of a roll with AutoLength, as long as its label (ZVRollRun.cpp).
    std::unique_ptr<QPicture> renderRollPage(const TRunPage& page);
    // The length of the roll label at the run's current record, model units.
    int rollLabelLength(TZVLengthProbe& probe, int target);
    void paintPageStart(TZVCanvas& canvas, int page, TPoint offset);
    void updatePageCache();

    TZVEditorLink* m_editor = nullptr;
    TZVUnits m_units = unMM;
    std::unique_ptr<TZVBackSurf> m_backSurf;
    std::unique_ptr<TZVFrame> m_frame;
    std::unique_ptr<TZVMeasure> m_measure;
    TZVTitle m_title;
    std::unique_ptr<TZVPrintInfo> m_printInfo;
    TZVAliasTable m_aliasTable;
    TZVAlias m_aliases;
    QPointer<TZVDataSet> m_dataSet;
    QPointer<TZVDataSet> m_detail;
    TZVDataSetRegistry* m_registry = nullptr;
    bool m_dataEnabled = false;
    bool m_dataOpen = false;
    bool m_modified = false;
    bool m_restoring = false;
    bool m_loading = false;
    std::int32_t m_writeVersion = kNewestStreamVersion;
    std::int32_t m_readVersion = 2700;
    TZVDataAccessType m_dataAccessType = daBDEAlias;
    bool m_showMargins = false;
    TZVElement* m_currentElement = nullptr;
    bool m_onlyBitmap = false;
    bool m_openCloseData = false;
    int m_pageNumber = 0;
    bool m_markEmptyImage = true;
    bool m_gridNotDrawFields = false;
    QString m_dataSetName;
    QString m_detailName;
    bool m_noPrinterOutput = false;
    std::uint8_t m_loadMode = 0;
    QString m_labelDefs;
    QString m_iniTranslate;
    bool m_useUnicodeEditor = true;
    QList<TZVElement*> m_elements;
    std::vector<TZVHandleMark> m_handleMarks;
    std::unique_ptr<TZVSqlDataSet> m_aliasDataSet;
    TZVQuestionAsker* m_questionAsker = nullptr;
    std::vector<TZVPagePreview> m_pages;
    bool m_pageCacheBusy = false;
    std::unique_ptr<QUndoStack> m_undoStack;
    QList<TZVCounter> m_counters;
    QString m_quantityField;
    QHash<QString, std::int64_t> m_counterOverrides;
    TZVCounterStore* m_counterStore = nullptr;
    std::unique_ptr<TZVRunValues> m_runValues;
    bool m_showData = false;
    std::unique_ptr<TZVRunPlan> m_runPlan;
    std::int64_t m_walkOffset = 0; // the master's record during the walk, from the run's first
    QHash<QString, std::int64_t> m_runSteps;
    bool m_saveCounters = false;
    int m_jobs = 1;
};

/// Opens the special editor of an element (picture, symbol, paragraph, table dialogs); the
/// widgets library installs one on the label.
class ZORVEL_CORE_EXPORT TZVElementEditor
{
public:
    virtual ~TZVElementEditor() = default;
    /// Opens the special editor of `element`, which belongs to `label`.
    virtual void EditElement(TZVCustomLab& label, TZVElement& element) = 0;
};

/// The label's own dialogs: properties, the definitions catalogue and the print preview. The
/// widgets library installs them; a headless program has none.
class ZORVEL_CORE_EXPORT TZVLabDialogs
{
public:
    virtual ~TZVLabDialogs() = default;
    /// Opens the properties dialog on `page` (0 sizes, 1 printing, 2 background, 3 data).
    virtual void ShowLabelProperties(TZVCustomLab& label, int page) = 0;
    /// Opens the label definitions catalogue.
    virtual void ShowLabelDefs(TZVCustomLab& label) = 0;
    /// Shows the print preview of the label's run.
    virtual void Preview(TZVCustomLab& label) = 0;
};

/// The concrete label component.
class ZORVEL_CORE_EXPORT TZVLab : public TZVCustomLab
{
    Q_OBJECT

public:
    /// An empty label; `parent` owns it.
    using TZVCustomLab::TZVCustomLab;

    /// Not owned; the installer outlives the label or removes itself.
    /// @{
    void SetElementEditor(TZVElementEditor* editor) { m_elementEditor = editor; }
    TZVElementEditor* ElementEditor() const { return m_elementEditor; }
    /// @}

    /// Opens the special editor of CurrentElement; nothing without an installed element editor.
    void EditElement() override;

    /// Not owned, like the element editor.
    /// @{
    void SetLabDialogs(TZVLabDialogs* dialogs) { m_labDialogs = dialogs; }
    TZVLabDialogs* LabDialogs() const { return m_labDialogs; }
    /// @}
    /// Modal dialogs; each does nothing without installed dialogs. Pages of the properties
    /// dialog: 0 sizes, 1 printing, 2 background, 3 data.
    void ShowLabelProperties(int page = 0);
    /// Opens the label definitions catalogue; nothing without installed dialogs.
    void ShowLabelDefs();
    /// Shows the print preview; nothing without installed dialogs.
    void Preview();

private:
    TZVElementEditor* m_elementEditor = nullptr;
    TZVLabDialogs* m_labDialogs = nullptr;
};

} // namespace zorvel
