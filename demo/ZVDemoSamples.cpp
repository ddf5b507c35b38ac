// Sample content of the demo database: tables, rows, pictures drawn in code and three designs.
#include "demo/ZVDemoSamples.h"

#include "document/ZVCustomLab.h"
#include "document/ZVMeasure.h"
#include "document/ZVPrintInfo.h"
#include "elements/ZVBarCode.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStrings.h"
#include "platform/ZVJpeg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSqlError>
#include <QSqlQuery>

#include <array>

namespace zorvel {

namespace {

// Element colours are stored as 0x00BBGGRR.
constexpr TZVColor kBlack = 0x000000;
constexpr TZVColor kWhite = 0xFFFFFF;
constexpr TZVColor kNavy = 0x800000;
constexpr TZVColor kSilver = 0xC0C0C0;

struct TTableDdl
{
    const char* Name;
    const char* Columns;
};

// Declared types the data sets read as kinds: BOOLEAN, DECIMAL, DATE, DATETIME, BLOB.
const std::array<TTableDdl, 6> kTables{{
    {"MANUFACTERS", "IDMANUFACTER INTEGER PRIMARY KEY, NAME VARCHAR(50), URL VARCHAR(60)"},
    {"PRINTERS", "IDPRINTER INTEGER PRIMARY KEY, IDMANUFACTER INTEGER NOT NULL REFERENCES MANUFACTERS, "
                 "NAME VARCHAR(80), CE BOOLEAN, FCC BOOLEAN, PRICE DECIMAL(10,2), NOTE TEXT, IMAGE BLOB"},
    {"CHARACTERISTICS", "IDCHARACTERISTIC INTEGER PRIMARY KEY, NAME VARCHAR(60)"},
    {"PRINTERCHAR", "IDPRINTERCHAR INTEGER PRIMARY KEY, IDPRINTER INTEGER NOT NULL REFERENCES PRINTERS, "
                    "IDCHARACTERISTIC INTEGER NOT NULL REFERENCES CHARACTERISTICS, VALUE VARCHAR(80)"},
    {"EMPLOYEE", "IDEMPLOYEE INTEGER PRIMARY KEY, NAME VARCHAR(50), SURNAME VARCHAR(50), \"DATE\" DATE, "
                 "DEPARTMENT VARCHAR(50), CODE VARCHAR(8), PHOTO BLOB"},
    {"LABELS", "IDLABEL INTEGER PRIMARY KEY, NAME VARCHAR(60), CREATED DATETIME, UPDATED DATETIME, FILE BLOB, "
               "NOTE TEXT"},
}};

struct TManufacturer
{
    const char* Name;
    const char* Url;
};

const std::array<TManufacturer, 5> kManufacturers{{
    {"NORLAND", "https://norland.example.com"},
    {"KESTREL SYSTEMS", "https://kestrel.example.com"},
    {"AURUM PRINT", "https://aurum-print.example.com"},
    {"BELVEDERE", "https://belvedere.example.com"},
    {"TAMARIND LABS", "https://tamarind.example.com"},
}};

const std::array<const char*, 6> kCharacteristics{
    {"TECHNOLOGY", "RESOLUTION", "SPEED", "INTERFACE", "MAX. WIDTH", "COLOUR"}};

struct TPrinter
{
    int Manufacturer; // 1-based
    const char* Name;
    bool Ce;
    bool Fcc;
    double Price;
    const char* Note;
    QRgb Panel;
    // Values of kCharacteristics in order; null for a characteristic the printer does not list.
    std::array<const char*, 6> Values;
};

const std::array<TPrinter, 12> kPrinters{{
    {1, "NORLAND LT-200", true, true, 249.00, "Desktop thermal printer for shipping labels.", 0xFF2E7D32,
     {{"DIRECT THERMAL", "203 DPI", "150 MM/S", "USB", "108 MM", nullptr}}},
    {1, "NORLAND LT-400", true, true, 419.50, "Thermal transfer, 300 m ribbons.", 0xFF1565C0,
     {{"THERMAL TRANSFER", "300 DPI", "200 MM/S", "USB, ETHERNET", "108 MM", nullptr}}},
    {1, "NORLAND IX-6", true, false, 1890.00, "Industrial printer with metal frame.", 0xFF6A1B9A,
     {{"THERMAL TRANSFER", "600 DPI", "300 MM/S", "USB, ETHERNET, RS-232", "168 MM", nullptr}}},
    {2, "KESTREL K10", true, true, 179.90, "Compact, for small offices.", 0xFFC62828,
     {{"DIRECT THERMAL", "203 DPI", "100 MM/S", "USB", nullptr, nullptr}}},
    {2, "KESTREL K20 COLOR", true, true, 1299.00, "Full colour labels on demand.", 0xFFEF6C00,
     {{"INKJET", "1200 DPI", "60 MM/S", "USB, WI-FI", "210 MM", "CMYK"}}},
    {2, "KESTREL K30 MOBILE", false, true, 329.00, "Battery powered, belt clip.", 0xFF00838F,
     {{"DIRECT THERMAL", "203 DPI", "75 MM/S", "BLUETOOTH", "72 MM", nullptr}}},
    {3, "AURUM A1", true, true, 89.00, "Label writer for home use.", 0xFFF9A825,
     {{"DIRECT THERMAL", "300 DPI", "50 MM/S", "USB", "62 MM", nullptr}}},
    {3, "AURUM A5 PRO", true, true, 259.00, "Continuous and die-cut rolls.", 0xFF4E342E,
     {{"DIRECT THERMAL", "300 DPI", "110 MM/S", "USB, ETHERNET", "62 MM", nullptr}}},
    {4, "BELVEDERE LX-800", true, false, 649.00, "Laser for sheets of labels.", 0xFF37474F,
     {{"LASER", "1200 DPI", "30 PPM", "USB, ETHERNET", "A4", "MONO"}}},
    {4, "BELVEDERE CLX-900", true, true, 899.00, "Colour laser, duplex.", 0xFFAD1457,
     {{"LASER", "1200 DPI", "28 PPM", "USB, ETHERNET, WI-FI", "A4", "CMYK"}}},
    {5, "TAMARIND T-1", true, true, 139.00, "Quiet ribbon printer.", 0xFF558B2F,
     {{"THERMAL TRANSFER", "203 DPI", "80 MM/S", "USB", "104 MM", nullptr}}},
    {5, "TAMARIND T-3 WIDE", false, false, 1520.00, "Wide format for drum labels.", 0xFF283593,
     {{"THERMAL TRANSFER", "300 DPI", "150 MM/S", "ETHERNET", "220 MM", nullptr}}},
}};

struct TEmployee
{
    const char* Name;
    const char* Surname;
    const char* Date;
    const char* Department;
    const char* Code;
    QRgb Ground;
};

const std::array<TEmployee, 6> kEmployees{{
    {"ANA", "MARTIN", "2015-03-02", "SALES", "E0001", 0xFF90CAF9},
    {"DAVID", "OKAFOR", "2017-09-18", "ENGINEERING", "E0002", 0xFFA5D6A7},
    {"LUCIA", "FERRANTE", "2018-01-08", "LOGISTICS", "E0003", 0xFFFFCC80},
    {"TOMAS", "NOVAK", "2019-06-24", "ENGINEERING", "E0004", 0xFFCE93D8},
    {"MEI", "TANAKA", "2021-11-15", "SUPPORT", "E0005", 0xFF80DEEA},
    {"OWEN", "PRICE", "2023-04-03", "SALES", "E0006", 0xFFEF9A9A},
}};

[[noreturn]] void sqlFailed(const QSqlQuery& query)
{
    throw EZvError(query.lastError().text().simplified());
}

void exec(QSqlQuery& query, const QString& text)
{
    if (!query.exec(text)) sqlFailed(query);
}

void insert(QSqlDatabase& db, const QString& table, const QStringList& columns, const QVariantList& values)
{
    QSqlQuery query(db);
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    if (!query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))))
        sqlFailed(query);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) sqlFailed(query);
}

QByteArray jpegOf(const QImage& image)
{
    return EncodeJpeg(image, kSampleJpegQuality);
}

void fillPrinters(QSqlDatabase& db)
{
    for (size_t i = 0; i < kManufacturers.size(); ++i)
        insert(db, QStringLiteral("MANUFACTERS"), {QStringLiteral("IDMANUFACTER"), QStringLiteral("NAME"), QStringLiteral("URL")},
               {int(i) + 1, QString::fromLatin1(kManufacturers[i].Name), QString::fromLatin1(kManufacturers[i].Url)});
    for (size_t i = 0; i < kCharacteristics.size(); ++i)
        insert(db, QStringLiteral("CHARACTERISTICS"), {QStringLiteral("IDCHARACTERISTIC"), QStringLiteral("NAME")},
               {int(i) + 1, QString::fromLatin1(kCharacteristics[i])});
    for (size_t i = 0; i < kPrinters.size(); ++i) {
        const TPrinter& p = kPrinters[i];
        const int id = int(i) + 1;
        const QString name = QString::fromLatin1(p.Name);
        insert(db, QStringLiteral("PRINTERS"),
               {QStringLiteral("IDPRINTER"), QStringLiteral("IDMANUFACTER"), QStringLiteral("NAME"), QStringLiteral("CE"),
                QStringLiteral("FCC"), QStringLiteral("PRICE"), QStringLiteral("NOTE"), QStringLiteral("IMAGE")},
               {id, p.Manufacturer, name, bool(p.Ce), bool(p.Fcc), p.Price, QString::fromLatin1(p.Note),
                PrinterPictureJpeg(name.section(u' ', 1), QColor::fromRgb(p.Panel), int(i))});
        for (size_t c = 0; c < p.Values.size(); ++c) {
            if (!p.Values[c]) continue;
            insert(db, QStringLiteral("PRINTERCHAR"),
                   {QStringLiteral("IDPRINTER"), QStringLiteral("IDCHARACTERISTIC"), QStringLiteral("VALUE")},
                   {id, int(c) + 1, QString::fromLatin1(p.Values[c])});
        }
    }
}

void fillEmployees(QSqlDatabase& db)
{
    for (size_t i = 0; i < kEmployees.size(); ++i) {
        const TEmployee& e = kEmployees[i];
        const QString name = QString::fromLatin1(e.Name);
        const QString surname = QString::fromLatin1(e.Surname);
        insert(db, QStringLiteral("EMPLOYEE"),
               {QStringLiteral("IDEMPLOYEE"), QStringLiteral("NAME"), QStringLiteral("SURNAME"), QStringLiteral("\"DATE\""),
                QStringLiteral("DEPARTMENT"), QStringLiteral("CODE"), QStringLiteral("PHOTO")},
               {int(i) + 1, name, surname, QString::fromLatin1(e.Date), QString::fromLatin1(e.Department),
                QString::fromLatin1(e.Code), EmployeePhotoJpeg(name.left(1) + surname.left(1), QColor::fromRgb(e.Ground))});
    }
}

template <typename T>
T* add(TZVCustomLab& label)
{
    auto* element = new T(label);
    label.AddElement(element, false);
    return element;
}

TZVText* addText(TZVCustomLab& label, float x, float y, float height, const QString& text, const QString& field = {})
{
    auto* element = add<TZVText>(label);
    element->SetX1(x);
    element->SetY1(y);
    element->SetFontHeight(height);
    element->SetText(text);
    if (!field.isEmpty()) {
        element->SetFieldName(field);
        element->SetData(true);
    }
    return element;
}

void setBox(TZVElement& element, float x1, float y1, float x2, float y2)
{
    element.SetX1(x1);
    element.SetY1(y1);
    element.SetX2(x2);
    element.SetY2(y2);
}

// A sheet of `rows` x `cols` labels on A4, 4 mm apart, centred on the paper.
void prepareLabel(TZVCustomLab& label, float width, float height, int rows, int cols, const QString& name)
{
    constexpr float kPaperWidth = 210;
    constexpr float kPaperHeight = 297;
    constexpr float kGap = 4;
    label.ClearElements();
    label.SetUnits(unMM);
    TZVMeasure& m = label.Measure();
    label.PrintInfo().Orientation = 0;
    m.SetPaper(kPaperWidth, kPaperHeight, 9);
    m.SetPaperName(QStringLiteral("A4"));
    m.SetLabelType(ltRect);
    m.SetWidth(width);
    m.SetHeight(height);
    m.SetNuHor(rows);
    m.SetNuVer(cols);
    m.SetMarLeft((kPaperWidth - cols * width - (cols - 1) * kGap) / 2);
    m.SetMarTop((kPaperHeight - rows * height - (rows - 1) * kGap) / 2);
    m.SetDiHor(kGap);
    m.SetDiVer(kGap);
    m.SetLabelName(name);
    label.SetDataAccessType(daDataSet);
}

// A roll of `width` x `height` labels one after the other: the paper is the label.
void prepareRoll(TZVCustomLab& label, float width, float height, const QString& name)
{
    prepareLabel(label, width, height, 1, 1, name);
    TZVMeasure& m = label.Measure();
    m.SetPaper(width, height, kUserPaperCode);
    m.SetPaperName(QStringLiteral("User"));
    m.SetMarLeft(0);
    m.SetMarTop(0);
    m.SetDiHor(0);
    m.SetDiVer(0);
}

} // namespace

QStringList SampleTableNames()
{
    QStringList names;
    for (const TTableDdl& t : kTables)
        names.append(QString::fromLatin1(t.Name));
    return names;
}

QByteArray PrinterPictureJpeg(const QString& model, const QColor& panel, int style)
{
    QImage image(240, 180, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF4, 0xF0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Floor shadow, then the cabinet; every third model is a taller office machine.
    const bool tall = style % 3 == 2;
    const QRectF body = tall ? QRectF(40, 40, 160, 110) : QRectF(30, 70, 180, 80);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QRectF(body.left() - 6, body.bottom() - 6, body.width() + 12, 18));
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 2));
    p.setBrush(style % 2 ? QColor(0x3A, 0x3A, 0x40) : QColor(0xE0, 0xE0, 0xDC));
    p.drawRoundedRect(body, 10, 10);
    // A sheet coming out of the top slot.
    const QRectF paper(body.center().x() - 45, body.top() - 40, 90, 44);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    p.drawRect(paper);
    p.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 2));
    for (int line = 0; line < 3; ++line)
        p.drawLine(QPointF(paper.left() + 10, paper.top() + 10 + line * 8),
                   QPointF(paper.right() - 10 - line * 12, paper.top() + 10 + line * 8));
    // Paper tray at the front.
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 2));
    p.setBrush(QColor(0xA8, 0xA8, 0xA8));
    p.drawRoundedRect(QRectF(body.left() + 20, body.bottom() - 26, body.width() - 70, 18), 4, 4);
    // Control panel with its buttons.
    const QRectF panelRect(body.right() - 44, body.top() + 12, 32, 40);
    p.setBrush(panel);
    p.drawRoundedRect(panelRect, 4, 4);
    p.setBrush(Qt::white);
    for (int b = 0; b < 3; ++b)
        p.drawEllipse(QPointF(panelRect.center().x(), panelRect.top() + 8 + b * 12), 3.5, 3.5);
    // Model name on the cabinet.
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(16);
    font.setBold(true);
    p.setFont(font);
    p.setPen(style % 2 ? Qt::white : QColor(0x30, 0x30, 0x30));
    p.drawText(QRectF(body.left() + 12, body.top() + 10, body.width() - 64, 30), Qt::AlignLeft | Qt::AlignVCenter, model);
    p.end();
    return jpegOf(image);
}

QByteArray EmployeePhotoJpeg(const QString& initials, const QColor& ground)
{
    QImage image(150, 180, QImage::Format_RGB32);
    image.fill(ground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor figure = ground.darker(260);
    p.setPen(Qt::NoPen);
    p.setBrush(figure);
    // Shoulders, neck and head.
    QPainterPath shoulders;
    shoulders.moveTo(8, 180);
    shoulders.cubicTo(10, 120, 50, 112, 75, 112);
    shoulders.cubicTo(100, 112, 140, 120, 142, 180);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.drawRect(QRectF(63, 92, 24, 26));
    p.drawEllipse(QPointF(75, 66), 32, 38);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 128, 150, 44), Qt::AlignCenter, initials);
    p.end();
    return jpegOf(image);
}

QByteArray ComputerPictureJpeg()
{
    QImage image(260, 450, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(0x40, 0x40, 0x40), 3);
    p.setPen(outline);
    // Tower standing upright, the monitor on top of it, the keyboard in front.
    p.setBrush(QColor(0xD8, 0xD8, 0xD4));
    p.drawRoundedRect(QRectF(70, 200, 120, 200), 8, 8);
    p.setBrush(QColor(0x60, 0x60, 0x60));
    p.drawRect(QRectF(90, 225, 80, 12));
    p.drawRect(QRectF(90, 245, 80, 12));
    p.setBrush(QColor(0x2E, 0xCC, 0x40));
    p.drawEllipse(QPointF(130, 370), 8, 8);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRoundedRect(QRectF(20, 30, 220, 150), 8, 8);
    p.setBrush(QColor(0x3B, 0x8E, 0xEA));
    p.drawRect(QRectF(34, 44, 192, 118));
    p.setBrush(QColor(0x50, 0x50, 0x50));
    p.drawRect(QRectF(115, 180, 30, 20));
    p.setBrush(QColor(0xE8, 0xE8, 0xE8));
    p.drawRoundedRect(QRectF(20, 410, 220, 30), 5, 5);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (int key = 0; key < 10; ++key)
        p.drawRect(QRectF(30 + key * 20.5, 418, 16, 14));
    p.end();
    return jpegOf(image);
}

bool WriteSamplePictures(const QString& folder)
{
    if (!QDir().mkpath(folder)) return false;
    const QString path = QDir(folder).filePath(QStringLiteral("PC1.jpg"));
    if (QFileInfo::exists(path)) return true;
    QFile file(path);
    const QByteArray bytes = ComputerPictureJpeg();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

namespace {

bool isPostgres(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1StringView("QPSQL");
}

// The tables are written in SQLite's words; PostgreSQL gets its own type names, and keys it numbers
// itself as SQLite numbers the rows of an INTEGER PRIMARY KEY.
QString columnsFor(const QSqlDatabase& db, const char* columns)
{
    QString ddl = QString::fromLatin1(columns);
    if (!isPostgres(db)) return ddl;
    ddl.replace(QStringLiteral("INTEGER PRIMARY KEY"), QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    ddl.replace(QStringLiteral(" BLOB"), QStringLiteral(" BYTEA"));
    ddl.replace(QStringLiteral(" DATETIME"), QStringLiteral(" TIMESTAMP"));
    return ddl;
}

// Rows filled with keys of their own leave the server's key counter behind; the next row added
// would take key 1 again.
void advanceServerKeys(QSqlDatabase& db, const QStringList& tables)
{
    if (!isPostgres(db)) return;
    QSqlQuery query(db);
    for (const TTableDdl& t : kTables) {
        const QString name = QString::fromLatin1(t.Name);
        if (!tables.contains(name)) continue;
        const QString key = QString::fromLatin1(t.Columns).section(u' ', 0, 0);
        exec(query, QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                                   "COALESCE((SELECT MAX(%2) FROM %1), 0) + 1, false)")
                        .arg(name.toLower(), key.toLower()));
    }
}

} // namespace

QStringList CreateSampleTables(QSqlDatabase& db)
{
    const QStringList existing = db.tables(QSql::Tables);
    const auto exists = [&existing](const QString& name) {
        return existing.contains(name, Qt::CaseInsensitive);
    };
    QStringList created;
    QSqlQuery query(db);
    for (const TTableDdl& t : kTables) {
        const QString name = QString::fromLatin1(t.Name);
        if (exists(name)) continue;
        exec(query, QStringLiteral("CREATE TABLE %1 (%2)").arg(name, columnsFor(db, t.Columns)));
        created.append(name);
    }
    // Only tables made here are filled: rows are never added to someone's own data.
    const bool printers = created.contains(QStringLiteral("MANUFACTERS")) && created.contains(QStringLiteral("PRINTERS")) &&
                          created.contains(QStringLiteral("CHARACTERISTICS")) &&
                          created.contains(QStringLiteral("PRINTERCHAR"));
    if (printers) fillPrinters(db);
    if (created.contains(QStringLiteral("EMPLOYEE"))) fillEmployees(db);
    advanceServerKeys(db, created);
    return created;
}

void BuildPrinterLabel(TZVCustomLab& label, TZVDataSet& printers, TZVDataSet& characteristics)
{
    prepareLabel(label, 95, 65, 4, 2, QStringLiteral("Printer label"));
    label.SetDataSet(&printers);
    label.SetDetail(&characteristics);

    auto* picture = add<TZVImage>(label);
    setBox(*picture, 3, 3, 31, 26);
    picture->SetFieldName(QStringLiteral("IMAGE"));
    picture->SetData(true);

    addText(label, 34, 3, 4.5, QStringLiteral("PRINTER"), QStringLiteral("PRINTER"))->SetBold(true);
    addText(label, 34, 10, 3.2, QStringLiteral("MANUFACTER"), QStringLiteral("MANUFACTER"));
    auto* price = addText(label, 34, 17, 5, QStringLiteral("PRICE"), QStringLiteral("PRICE"));
    price->SetDisplayFormat(QStringLiteral("0.00"));
    price->SetBold(true);
    price->SetColor(kNavy);

    auto* rule = add<TZVLine>(label);
    rule->SetStartPoint(label.ToModel(3), label.ToModel(28));
    rule->SetEndPoint(label.ToModel(92), label.ToModel(28));
    rule->SetColor(kSilver);

    auto* table = add<TZVTable>(label);
    setBox(*table, 3, 30, 92, 62);
    table->SetTitleText(QStringLiteral("CHARACTERISTICS"));
    table->SetTitleVisible(true);
    table->SetTitleBold(true);
    TZVColumn& name = table->AddColumn();
    TZVColumn& value = table->AddColumn();
    name.SetFieldName(QStringLiteral("NAME"));
    name.SetHeaderText(QStringLiteral("NAME"));
    value.SetFieldName(QStringLiteral("VALUE"));
    value.SetHeaderText(QStringLiteral("VALUE"));
    value.SetWidth(60);
    label.SetDataEnabled(true);
}

void BuildEmployeeBadge(TZVCustomLab& label, TZVDataSet& employees)
{
    prepareLabel(label, 85.6F, 54, 5, 2, QStringLiteral("Employee badge"));
    label.SetDataSet(&employees);
    label.SetDetail(nullptr);

    // The first element is drawn last: the title goes before the band it sits on.
    addText(label, 4, 2.5F, 5, QStringLiteral("ZORVEL STAFF"))->SetColor(kWhite);
    auto* band = add<TZVRect>(label);
    setBox(*band, 0, 0, 85.6F, 10);
    band->SetColor(kNavy);
    band->SetBackColor(kNavy);
    band->SetTransparent(false);

    auto* photo = add<TZVImage>(label);
    setBox(*photo, 4, 14, 29, 49);
    photo->SetFieldName(QStringLiteral("PHOTO"));
    photo->SetData(true);
    photo->SetShowBorder(true);

    addText(label, 33, 15, 5, QStringLiteral("NAME"), QStringLiteral("NAME"))->SetBold(true);
    addText(label, 33, 22, 5, QStringLiteral("SURNAME"), QStringLiteral("SURNAME"))->SetBold(true);
    addText(label, 33, 32, 3.5F, QStringLiteral("DEPARTMENT"), QStringLiteral("DEPARTMENT"));
    auto* code = addText(label, 33, 42, 4, QStringLiteral("CODE"), QStringLiteral("CODE"));
    code->SetColor(kBlack);
    label.SetDataEnabled(true);
}

void BuildAssetLabel(TZVCustomLab& label, TZVDataSet& printers)
{
    // The 57 x 32 mm die-cut roll of Dymo's 11354 and Zebra's 2.25 x 1.25 in stock.
    prepareRoll(label, 57, 32, QStringLiteral("Asset label"));
    label.SetDataSet(&printers);
    label.SetDetail(nullptr);
    const QString tag = QStringLiteral("AS-{IDPRINTER:00000}");

    addText(label, 3, 2, 3, QStringLiteral("ZORVEL ASSET"))->SetColor(kNavy);
    auto* qr = add<TZVBarCode>(label);
    qr->SetCodeType(QRCODE);
    qr->SetX1(3);
    qr->SetY1(8);
    qr->SetBarWidth(0.6F);
    qr->SetTemplate(tag);
    addText(label, 20, 8, 3.5F, QStringLiteral("PRINTER"), QStringLiteral("PRINTER"))->SetBold(true);
    auto* code = add<TZVBarCode>(label);
    code->SetCodeType(CODE128);
    code->SetX1(20);
    code->SetY1(14);
    code->SetBarWidth(0.25F);
    code->SetBHeight(10);
    code->SetShowNumber(true);
    code->SetTemplate(tag);
    label.SetDataEnabled(true);
}

} // namespace zorvel
