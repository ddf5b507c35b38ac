// The property-caption table: property name, then English, Spanish, Dutch and custom captions per row.
#include "foundation/ZVIniFile.h"
#include "foundation/ZVStrings.h"

#include <array>

namespace zorvel {

namespace {

// Name, English, Spanish, Dutch; the custom column starts as a copy of the English one.
// Row 0 answers for names without a row. "Bold" has two rows: look-ups find row 23.
constexpr const char* kCaptionSource[kCaptionRows][4] = {
    /*  0 */ {"NotFound", "Not Found", "Not Found", "Not Found"},
    /*  1 */ {"ID", "ID", "ID", "ID"},
    /*  2 */ {"Color", "Color", "Color", "Kleur"},
    /*  3 */ {"BackColor", "Back Color", "Color Fondo", "Achtergrond kleur"},
    /*  4 */ {"GridColor", "Grid Color", "Color Rejilla", "Rooster kleur"},
    /*  5 */ {"RowColor", "Row Color", "Color Fila", "Row kleur"},
    /*  6 */ {"Transparent", "Transparent", "Transparente", "Transparant"},
    /*  7 */ {"Print", "Print", "Imprimir", "Afdrukken"},
    /*  8 */ {"X1", "X1 =", "X1 =", "X1 ="},
    /*  9 */ {"Y1", "Y1 =", "Y1 =", "Y1 ="},
    /* 10 */ {"X2", "X2 =", "X2 =", "X2 ="},
    /* 11 */ {"Y2", "Y2 =", "Y2 =", "Y2 ="},
    /* 12 */ {"Text", "Text", "Texto", "Tekst"},
    /* 13 */ {"DisplayFormat", "DisplayFormat", "Formato", "DisplayFormat"},
    /* 14 */ {"Ellipse", "Ellipse", "Elipse", "Ellipse"},
    /* 15 */ {"Radio", "Radio", "Radio", "Radio"},
    /* 16 */ {"Name", "Name", "Nombre", "Naam"},
    /* 17 */ {"Angle", "Angle", "Angulo", "Hoek"},
    /* 18 */ {"FontName", "Font", "Fuente", "Lettertype"},
    /* 19 */ {"Database", "Database", "Base Datos", "Patternbase"},
    /* 20 */ {"FieldName", "FieldName", "Campo", "Veld"},
    /* 21 */ {"TextD", "Caracter distance", "Separación letras", "Afstand karakter"},
    /* 22 */ {"Italic", "Italic", "Cursiva", "Cursief"},
    /* 23 */ {"Bold", "Bold", "Negrita", "Vet"},
    /* 24 */ {"Underline", "Underline", "Subrayado", "Onderlijnen"},
    /* 25 */ {"Before", "Before", "Prefijo", "Voor"},
    /* 26 */ {"After", "After", "Sufijo", "Na"},
    /* 27 */ {"Height", "Height", "Altura", "Hoogte"},
    /* 28 */ {"Width", "Width", "Ancho", "Breedte"},
    /* 29 */ {"Circle", "Circle", "Circulo", "Cirkel"},
    /* 30 */ {"Radius", "Radius", "Radio", "Radius"},
    /* 31 */ {"Style", "Style", "Estilo", "Stijl"},
    /* 32 */ {"PenWidth", "Pen Width", "Grosor línea", "Pen breedte"},
    /* 33 */ {"BarCode", "BarCode", "Código", "BarCode"},
    /* 34 */ {"ShowNumber", "Show Number", "Ver Número", "Toon nummer"},
    /* 35 */ {"LeftMargin", "L. Margin", "M. Izquierdo", "L. Marge"},
    /* 36 */ {"TopMargin", "T. Margin", "M. Superior", "B. Marge"},
    /* 37 */ {"BarWidth", "Bar Width", "Ancho barras", "Bar breedte"},
    /* 38 */ {"Distance", "Distance", "Distanca", "Distance"},
    /* 39 */ {"BHeight", "Bar Height", "Altura barras", "Bar Height"},
    /* 40 */ {"CodeType", "BarCode Type", "Tipo Código", "BarCode Type"},
    /* 41 */ {"Factor", "Factor", "Factor", "Factor"},
    /* 42 */ {"Properties", "Properties", "Propiedades", "Eigenschappen"},
    /* 43 */ {"FontHeight", "Font height", "Altura fuente", "Letter hoogte"},
    /* 44 */ {"Aspect", "Aspect", "Aspect", "Aspect"},
    /* 45 */ {"Autosize", "Autosize", "Autosize", "Autosize"},
    /* 46 */ {"FileImage", "Image", "Imagen", "Image"},
    /* 47 */ {"Symbol", "Symbol", "Símbolo", "Symbool"},
    /* 48 */ {"Bold", "Bold", "Negrita", "Vet"},
    /* 49 */ {"Alignment", "Alignment", "Alineación", "Alignment"},
    /* 50 */ {"TextAlign", "TextAlign", "Alineación", "TextAlign"},
    /* 51 */ {"Kind", "Kind", "Tipo", "Soort"},
    /* 52 */ {"ShowBorder", "Show Border", "Ver Borde", "Toon Rand"},
    /* 53 */ {"BorderColor", "Border Color", "Color Borde", "Rand kleur"},
    /* 54 */ {"Shadow", "Shadow", "Sombreado", "Shadow"},
    /* 55 */ {"ShadowColor", "Shadow Color", "Color Sombreado", "Shadow kleur"},
    /* 56 */ {"GapX", "Gap.x =", "SombraX =", "Gap.x ="},
    /* 57 */ {"GapY", "Gap.y =", "SombraY =", "Gap.y ="},
    /* 58 */ {"GrayScale", "Gray Scale", "Escala Grises", "Gray Scale"},
    /* 59 */ {"Character", "Symbol", "Símbolo", "Symbol"},
    /* 60 */ {"EditTable", "Edit Table", "Edita Tabla", "Edit Table"},
    /* 61 */ {"RowHeight", "Row Height", "Altura fila", "Row Height"},
    /* 62 */ {"TitleHeight", "Title Height", "Altura título", "Title Height"},
    /* 63 */ {"TitleVisible", "Title Visible", "Ver título", "Title Visible"},
    /* 64 */ {"TitleFontHeight", "Title Font Height", "Altura fuente título", "Title Font Height"},
    /* 65 */ {"TitleText", "Title Text", "Título", "Title Tekst"},
    /* 66 */ {"GridStyle", "Grid Style", "Estilo rejilla", "Grid Style"},
    /* 67 */ {"Locked", "Locked", "Fijo", "Locked"},
    /* 68 */ {"Question", "Question", "Pregunta", "Question"},
    /* 69 */ {"EleAlign", "Position", "Posición", "Position"},
    /* 70 */ {"Answer", "Answer", "Respuesta", "Answer"},
    /* 71 */ {"EditPoly", "Edit PolyText", "Edita Texto", "Edit PolyText"},
    /* 72 */ {"IsBarcode", "BarCode?", "¿Código barras?", "BarCode?"},
    /* 73 */ {"Checksum", "Checksum", "Dígito control", "Checksum"},
    /* 74 */ {"Data", "Database", "Base Datos", "Patternbase"},
    /* 75 */ {"Margin", "Margin", "Margen", "Margin"},
    /* 76 */ {"ColCount", "ColCount", "Columnas", "ColCount"},
    /* 77 */ {"RowCount", "RowCount", "Filas", "RowCount"},
    /* 78 */ {"EqualRows", "EqualRows", "EqualRows", "EqualRows"},
    /* 79 */ {"EqualCols", "EqualCols", "EqualCols", "EqualCols"},
    /* 80 */ {"LineColor", "Line Color", "Color Línea", "Line Color"},
    /* 81 */ {"Truncated", "Truncated", "Truncado", "Truncated"},
    /* 82 */ {"CorrectionLevel", "Correction Level", "Nivel Corrección", "Correction Level"},
    /* 83 */ {"Ratio", "Ratio", "Ratio", "Ratio"},
    /* 84 */ {"Code", "Code", "Código", "Code"},
    /* 85 */ {"PaddingX", "Padding X =", "Espacio X =", "Padding X ="},
    /* 86 */ {"PaddingY", "Padding Y =", "Espacio Y =", "Padding Y ="},
    /* 87 */ {"BorderRadio", "Border Radius", "Radio Borde", "Border Radius"},
    /* 88 */ {"Separation", "Separation", "Separación", "Separation"},
    /* 89 */ {"Encoding", "Encoding", "Codificación", "Encoding"},
    /* 90 */ {"EccLevel", "Error Correction", "Corrección errores", "Foutcorrectie"},
    /* 91 */ {"SymbolSize", "Symbol Size", "Tamaño símbolo", "Symboolgrootte"},
    /* 92 */ {"Rectangular", "Rectangular", "Rectangular", "Rechthoekig"},
    /* 93 */ {"Columns", "Columns", "Columnas", "Kolommen"},
    /* 94 */ {"QuietZone", "Quiet Zone", "Zona silencio", "Rustzone"},
};

using TCaptionTable = std::array<QString, kCaptionRows * kCaptionColumns>;

TCaptionTable& captionTable()
{
    static TCaptionTable table = [] {
        TCaptionTable cells;
        for (int row = 0; row < kCaptionRows; ++row) {
            for (int column = 0; column < 4; ++column)
                cells[row * kCaptionColumns + column] = QString::fromUtf8(kCaptionSource[row][column]);
            cells[row * kCaptionColumns + kCustomCaptionColumn] = cells[row * kCaptionColumns + 1];
        }
        return cells;
    }();
    return table;
}

QString& cell(int row, int column) { return captionTable()[row * kCaptionColumns + column]; }

// Languages outside the enumeration read the English column.
int languageColumn(TZVLanguage language) { return language <= zvCustom ? int(language) + 1 : 1; }

} // namespace

std::span<const QString> PropertyCaptions() { return captionTable(); }

int FindCaptionRow(QStringView name)
{
    for (int row = 0; row < kCaptionRows; ++row)
        if (name.compare(cell(row, 0), Qt::CaseInsensitive) == 0)
            return row;
    return -1;
}

QString PropertyCaption(QStringView name, TZVLanguage language, bool translationLoaded)
{
    const int row = FindCaptionRow(name);
    if (row <= 0)
        return cell(0, languageColumn(language));
    return cell(row, translationLoaded ? kCustomCaptionColumn : languageColumn(language));
}

bool LoadCustomCaptions(const QString& iniTranslate)
{
    if (!TranslationFileExists(iniTranslate))
        return false;
    const TZVIniFile file(ResolveTranslationPath(iniTranslate));
    for (int row = 0; row < kCaptionRows; ++row)
        cell(row, kCustomCaptionColumn) =
            file.readString(u"inspector", QStringLiteral("ZVI") + cell(row, 0), cell(row, 1));
    return true;
}

void ResetCustomCaptions()
{
    for (int row = 0; row < kCaptionRows; ++row)
        cell(row, kCustomCaptionColumn) = cell(row, 1);
}

} // namespace zorvel
