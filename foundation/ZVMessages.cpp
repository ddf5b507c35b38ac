// The library's message texts (English) and the dialog keys of the translation file's section "dialogs".
#include "foundation/ZVStrings.h"

#include <array>
#include <cstddef>

namespace zorvel {

namespace {

struct TMessageEntry
{
    TZVMsg Id;
    const char* Text; // UTF-8
};

// A further language adds a table of the same shape; the check below keeps each in identifier order.
constexpr TMessageEntry kEnglishMessages[] = {
    /*   0 */ {TZVMsg::MM, "mm"},
    /*   1 */ {TZVMsg::Inches, "inches"},
    /*   2 */ {TZVMsg::Cm, "cm"},
    /*   3 */ {TZVMsg::RemoveLabelDef, "Remove label definition from list?"},
    /*   4 */ {TZVMsg::SetAsCurrent, "Set as current"},
    /*   5 */ {TZVMsg::FitOnePage, "Fit One Page"},
    /*   6 */ {TZVMsg::FitPageWidth, "Fit Page Width"},
    /*   7 */ {TZVMsg::FitTwoPages, "Fit Two Pages"},
    /*   8 */ {TZVMsg::Exit, "Exit"},
    /*   9 */ {TZVMsg::Selection, "Selection"},
    /*  10 */ {TZVMsg::EditingText, "Editing text"},
    /*  11 */ {TZVMsg::ElementSize, "Element's size"},
    /*  12 */ {TZVMsg::ShowSize, "Show Size"},
    /*  13 */ {TZVMsg::Page, "PAGE"},
    /*  14 */ {TZVMsg::LabelList, "Label's list"},
    /*  15 */ {TZVMsg::LabelName, "Label's name"},
    /*  16 */ {TZVMsg::LabelSize, "Label Size"},
    /*  17 */ {TZVMsg::PaperSize, "Paper Size"},
    /*  18 */ {TZVMsg::PaperTypeName, "Paper's type"},
    /*  19 */ {TZVMsg::PaperWidth, "Paper width"},
    /*  20 */ {TZVMsg::PaperHeight, "Paper height"},
    /*  21 */ {TZVMsg::LabelWidth, "Label width"},
    /*  22 */ {TZVMsg::LabelHeight, "Label height"},
    /*  23 */ {TZVMsg::LeftMargin, "Left margin"},
    /*  24 */ {TZVMsg::TopMargin, "Top margin"},
    /*  25 */ {TZVMsg::NewLabel, "New label"},
    /*  26 */ {TZVMsg::Units, "Units"},
    /*  27 */ {TZVMsg::WriteAnswer, "WRITE ANSWER TO QUESTION"},
    /*  28 */ {TZVMsg::Character, "Character"},
    /*  29 */ {TZVMsg::AdjustLines, "Adjust Lines"},
    /*  30 */ {TZVMsg::None, "None"},
    /*  31 */ {TZVMsg::Image, "Image"},
    /*  32 */ {TZVMsg::HorizontalGradient, "Horizontal gradient"},
    /*  33 */ {TZVMsg::VerticalGradient, "Vertical gradient"},
    /*  34 */ {TZVMsg::CircularGradient, "Circular gradient"},
    /*  35 */ {TZVMsg::HalfCircular1, "Half Circular 1"},
    /*  36 */ {TZVMsg::HalfCircular2, "Half Circular 2"},
    /*  37 */ {TZVMsg::CircularQuarter, "Circular quarter"},
    /*  38 */ {TZVMsg::NoFrame, "No frame"},
    /*  39 */ {TZVMsg::OneLine, "One line"},
    /*  40 */ {TZVMsg::TwoLines, "Two lines"},
    /*  41 */ {TZVMsg::Points, "Points"},
    /*  42 */ {TZVMsg::Lines, "Lines"},
    /*  43 */ {TZVMsg::EnvelopeB4, "Envelope B4"},
    /*  44 */ {TZVMsg::EnvelopeB6, "Envelope B6"},
    /*  45 */ {TZVMsg::EnvelopeInvite, "Envelope Invite"},
    /*  46 */ {TZVMsg::PrintBackground, "Print Background"},
    /*  47 */ {TZVMsg::GradientFrom, "Gradient From"},
    /*  48 */ {TZVMsg::GradientTo, "Gradient To"},
    /*  49 */ {TZVMsg::BackgroundStyle, "Background Style"},
    /*  50 */ {TZVMsg::TableProperties, "Table Properties"},
    /*  51 */ {TZVMsg::RowHeight, "Row Height"},
    /*  52 */ {TZVMsg::FontColor, "Font Color"},
    /*  53 */ {TZVMsg::Title, "Title"},
    /*  54 */ {TZVMsg::Add, "&Add"},
    /*  55 */ {TZVMsg::Format, "Format"},
    /*  56 */ {TZVMsg::Header, "Header"},
    /*  57 */ {TZVMsg::Footer, "Footer"},
    /*  58 */ {TZVMsg::FontHeight, "Font height"},
    /*  59 */ {TZVMsg::ParagraphProperties, "Paragraph Properties"},
    /*  60 */ {TZVMsg::Pdf417Properties, "PDF417 Properties"},
    /*  61 */ {TZVMsg::DataMatrixProperties, "DataMatrix Properties"},
    /*  62 */ {TZVMsg::QRProperties, "QR Properties"},
    /*  63 */ {TZVMsg::LabelProperties, "Label Properties"},
    /*  64 */ {TZVMsg::EditorProperties, "Editor Properties"},
    /*  65 */ {TZVMsg::PrintPreview, "Print Preview"},
    /*  66 */ {TZVMsg::Text, "Text"},
    /*  67 */ {TZVMsg::Show, "Show"},
    /*  68 */ {TZVMsg::EnvelopeDL, "Envelope DL"},
    /*  69 */ {TZVMsg::EnvelopeC5, "Envelope C5"},
    /*  70 */ {TZVMsg::EnvelopeC3, "Envelope C3"},
    /*  71 */ {TZVMsg::EnvelopeC4, "Envelope C4"},
    /*  72 */ {TZVMsg::EnvelopeC6, "Envelope C6"},
    /*  73 */ {TZVMsg::EnvelopeC65, "Envelope C65"},
    /*  74 */ {TZVMsg::EnvelopeB5, "Envelope B5"},
    /*  75 */ {TZVMsg::Kind, "Kind"},
    /*  76 */ {TZVMsg::DataBase, "DataBase"},
    /*  77 */ {TZVMsg::NumberOfLabels, "Number of labels"},
    /*  78 */ {TZVMsg::FirstColumn, "First Column"},
    /*  79 */ {TZVMsg::FirstRow, "First Row"},
    /*  80 */ {TZVMsg::PrintFrom, "Print From"},
    /*  81 */ {TZVMsg::To, "To"},
    /*  82 */ {TZVMsg::Margins, "Margins"},
    /*  83 */ {TZVMsg::Distribution, "Distribution"},
    /*  84 */ {TZVMsg::ShowLines, "Show Lines"},
    /*  85 */ {TZVMsg::LeftColon, "Left: "},
    /*  86 */ {TZVMsg::TopColon, "Top: "},
    /*  87 */ {TZVMsg::Field, "Field"},
    /*  88 */ {TZVMsg::Table, "Table"},
    /*  89 */ {TZVMsg::BackColor, "Back Color"},
    /*  90 */ {TZVMsg::SymbolProperties, "Symbol Properties"},
    /*  91 */ {TZVMsg::Landscape, "Landscape"},
    /*  92 */ {TZVMsg::VerticalDistance, "Vertical distance"},
    /*  93 */ {TZVMsg::HorizontalDistance, "Horizontal distance"},
    /*  94 */ {TZVMsg::Frame, "Frame"},
    /*  95 */ {TZVMsg::Frame1Distance, "Frame 1 Distance"},
    /*  96 */ {TZVMsg::Frame2Distance, "Frame 2 Distance"},
    /*  97 */ {TZVMsg::SnapToGrid, "Snap to Grid"},
    /*  98 */ {TZVMsg::ShowGrid, "Show Grid"},
    /*  99 */ {TZVMsg::ShowMargins, "Show Margins"},
    /* 100 */ {TZVMsg::Repetitions, "Repetitions"},
    /* 101 */ {TZVMsg::PenWidth, "Pen Width"},
    /* 102 */ {TZVMsg::AlignObjects, "Align Objects"},
    /* 103 */ {TZVMsg::User, "User"},
    /* 104 */ {TZVMsg::Left, "Left"},
    /* 105 */ {TZVMsg::Top, "Top"},
    /* 106 */ {TZVMsg::Width, "Width"},
    /* 107 */ {TZVMsg::Separation, "Separation"},
    /* 108 */ {TZVMsg::Horizontal, "Horizontal"},
    /* 109 */ {TZVMsg::Vertical, "Vertical"},
    /* 110 */ {TZVMsg::LabelType, "Label Type"},
    /* 111 */ {TZVMsg::Print, "Print"},
    /* 112 */ {TZVMsg::Back, "Back"},
    /* 113 */ {TZVMsg::Grid, "Grid"},
    /* 114 */ {TZVMsg::Rows, "Rows"},
    /* 115 */ {TZVMsg::Columns, "Columns"},
    /* 116 */ {TZVMsg::Paper, "Paper"},
    /* 117 */ {TZVMsg::Rectangle, "Rectangle"},
    /* 118 */ {TZVMsg::Circle, "Circle"},
    /* 119 */ {TZVMsg::InnerRadio, "Inner Radio"},
    /* 120 */ {TZVMsg::Portrait, "Portrait"},
    /* 121 */ {TZVMsg::OK, "OK"},
    /* 122 */ {TZVMsg::Cancel, "Cancel"},
    /* 123 */ {TZVMsg::Color, "Color"},
    /* 124 */ {TZVMsg::Delete, "Delete"},
    /* 125 */ {TZVMsg::Font, "Font"},
    /* 126 */ {TZVMsg::Name, "Name"},
    /* 127 */ {TZVMsg::Dimensions, "Dimensions"},
    /* 128 */ {TZVMsg::Style, "Style"},
    /* 129 */ {TZVMsg::Height, "Height"},
};

template <std::size_t N>
constexpr bool inIdentifierOrder(const TMessageEntry (&table)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(table[i].Id) != i)
            return false;
    return N == static_cast<std::size_t>(TZVMsg::Count);
}
static_assert(inIdentifierOrder(kEnglishMessages), "one message text per identifier, in identifier order");

using TMessageTexts = std::array<QString, static_cast<std::size_t>(TZVMsg::Count)>;

const TMessageTexts& messageTexts()
{
    static const TMessageTexts texts = [] {
        TMessageTexts result;
        for (const TMessageEntry& entry : kEnglishMessages)
            result[static_cast<std::size_t>(entry.Id)] = QString::fromUtf8(entry.Text);
        return result;
    }();
    return texts;
}

// Keys of section "dialogs", per dialog, in the order the dialog fills its captions. The message
// text equals the default except for "ZvAdd", "ZvSetCurrent", "ZvPaperType" and the symbol dialog's
// "ZvOK" and "ZVCancel".
constexpr TZVDialogKey kPropLabKeys[] = {
    /* 0-9 */ {"ZvLabPro", "Label Properties", TZVMsg::LabelProperties},
    {"ZvDim", "Dimensions", TZVMsg::Dimensions},
    {"ZvPrint", "Print", TZVMsg::Print},
    {"ZvBack1", "Back", TZVMsg::Back},
    {"ZvDataBase", "DataBase", TZVMsg::DataBase},
    {"ZvSize", "Label Type", TZVMsg::LabelType},
    {"ZvWidth", "Width", TZVMsg::Width},
    {"ZvHeight", "Height", TZVMsg::Height},
    {"ZvSep", "Separation", TZVMsg::Separation},
    {"ZvHor", "Horizontal", TZVMsg::Horizontal},
    /* 10-19 */ {"ZvVer", "Vertical", TZVMsg::Vertical},
    {"ZvPrMarg", "Margins", TZVMsg::Margins},
    {"ZvLeft", "Left: ", TZVMsg::LeftColon},
    {"ZvTop", "Top: ", TZVMsg::TopColon},
    {"ZvDis", "Distribution", TZVMsg::Distribution},
    {"ZvRow", "Rows", TZVMsg::Rows},
    {"ZvCol", "Columns", TZVMsg::Columns},
    {"ZvPaper", "Paper", TZVMsg::Paper},
    {"ZvName", "Name", TZVMsg::Name},
    {"ZvLabelType", "Label Type", TZVMsg::LabelType},
    /* 20-29 */ {"ZvPortrait", "Portrait", TZVMsg::Portrait},
    {"ZvLandscape", "Landscape", TZVMsg::Landscape},
    {"ZvRect", "Rectangle", TZVMsg::Rectangle},
    {"ZvCircle", "Circle", TZVMsg::Circle},
    {"ZvInnerRadio", "Inner Radio", TZVMsg::InnerRadio},
    {"ZvNuLabs", "Number of labels", TZVMsg::NumberOfLabels},
    {"ZvRepe", "Repetitions", TZVMsg::Repetitions},
    {"ZvShowMar", "Show Margins", TZVMsg::ShowMargins},
    {"ZvFirstCol", "First Column", TZVMsg::FirstColumn},
    {"ZvFirstRow", "First Row", TZVMsg::FirstRow},
    /* 30-39 */ {"ZvPrintFrom", "Print From", TZVMsg::PrintFrom},
    {"ZvTo", "To", TZVMsg::To},
    {"ZvFrame", "Frame", TZVMsg::Frame},
    {"ZvD1Frame", "Frame 1 Distance", TZVMsg::Frame1Distance},
    {"ZvD2Frame", "Frame 2 Distance", TZVMsg::Frame2Distance},
    {"ZvPenWidth", "Pen Width", TZVMsg::PenWidth},
    {"ZVBarType", "Kind", TZVMsg::Kind},
    {"ZvImage", "Image", TZVMsg::Image},
    {"ZvTable", "Table", TZVMsg::Table},
    {"ZvColor", "Color", TZVMsg::Color},
    /* 40-49 */ {"ZvPrintBack", "Print Background", TZVMsg::PrintBackground},
    {"ZvGradientFrom", "Gradient From", TZVMsg::GradientFrom},
    {"ZvGradientTo", "Gradient To", TZVMsg::GradientTo},
    {"ZvBackStyle", "Background Style", TZVMsg::BackgroundStyle},
    {"ZvBackStyle00", "None", TZVMsg::None},
    {"ZvBackStyle01", "Image", TZVMsg::Image},
    {"ZvBackStyle02", "Horizontal gradient", TZVMsg::HorizontalGradient},
    {"ZvBackStyle03", "Vertical gradient", TZVMsg::VerticalGradient},
    {"ZvBackStyle04", "Circular gradient", TZVMsg::CircularGradient},
    {"ZvBackStyle05", "Half Circular 1", TZVMsg::HalfCircular1},
    /* 50-54 */ {"ZvBackStyle06", "Half Circular 2", TZVMsg::HalfCircular2},
    {"ZvBackStyle07", "Circular quarter", TZVMsg::CircularQuarter},
    {"ZvFrameNone", "No frame", TZVMsg::NoFrame},
    {"ZvFrameOne", "One line", TZVMsg::OneLine},
    {"ZvFrameTwo", "Two lines", TZVMsg::TwoLines},
};

constexpr TZVDialogKey kLabelDefsKeys[] = {
    /* 0-9 */ {"ZvLabDefs", "Label's list", TZVMsg::LabelList},
    {"ZvMM", "mm", TZVMsg::MM},
    {"ZvINCH", "inches", TZVMsg::Inches},
    {"ZvCM", "cm", TZVMsg::Cm},
    {"ZvUnits", "Units", TZVMsg::Units},
    {"ZVPaperWidth", "Paper width", TZVMsg::PaperWidth},
    {"ZVPaperHeight", "Paper height", TZVMsg::PaperHeight},
    {"ZVLabelWidth", "Label width", TZVMsg::LabelWidth},
    {"ZVLabelHeight", "Label height", TZVMsg::LabelHeight},
    {"ZvGridY", "Vertical distance", TZVMsg::VerticalDistance},
    /* 10-19 */ {"ZvGridX", "Horizontal distance", TZVMsg::HorizontalDistance},
    {"ZVLMargin", "Left margin", TZVMsg::LeftMargin},
    {"ZVTMargin", "Top margin", TZVMsg::TopMargin},
    {"ZvRow", "Rows", TZVMsg::Rows},
    {"ZvCol", "Columns", TZVMsg::Columns},
    {"ZvAdd", "Add", TZVMsg::Add},
    {"ZvDelete", "Delete", TZVMsg::Delete},
    {"ZvSetCurrent", "Set to current", TZVMsg::SetAsCurrent},
    {"ZvName", "Name", TZVMsg::Name},
    {"ZvDim", "Dimensions", TZVMsg::Dimensions},
    /* 20-29 */ {"ZvWidth", "Width", TZVMsg::Width},
    {"ZvHeight", "Height", TZVMsg::Height},
    {"ZvSep", "Separation", TZVMsg::Separation},
    {"ZvHor", "Horizontal", TZVMsg::Horizontal},
    {"ZvVer", "Vertical", TZVMsg::Vertical},
    {"ZvPrMarg", "Margins", TZVMsg::Margins},
    {"ZvLeft", "Left: ", TZVMsg::LeftColon},
    {"ZvTop", "Top: ", TZVMsg::TopColon},
    {"ZvDis", "Distribution", TZVMsg::Distribution},
    {"ZvPaper", "Paper", TZVMsg::Paper},
    /* 30-39 */ {"ZvLabelType", "Label Type", TZVMsg::LabelType},
    {"ZvPortrait", "Portrait", TZVMsg::Portrait},
    {"ZvLandscape", "Landscape", TZVMsg::Landscape},
    {"ZvRect", "Rectangle", TZVMsg::Rectangle},
    {"ZvCircle", "Circle", TZVMsg::Circle},
    {"ZvInnerRadio", "Inner Radio", TZVMsg::InnerRadio},
    {"ZvLabName", "Label's name", TZVMsg::LabelName},
    {"ZvPaperType", "Paper Type", TZVMsg::PaperTypeName},
    {"ZvPaperSize", "Paper Size", TZVMsg::PaperSize},
    {"ZvLabelSize", "Label Size", TZVMsg::LabelSize},
};

constexpr TZVDialogKey kPreviewKeys[] = {
    {"ZvPrintPr", "Print Preview", TZVMsg::PrintPreview},
    {"ZvFitOnePage", "Fit One Page", TZVMsg::FitOnePage},
    {"ZvFitWidth", "Fit Page Width", TZVMsg::FitPageWidth},
    {"ZvFitTwoPage", "Fit Two Pages", TZVMsg::FitTwoPages},
    {"ZvExit", "Exit", TZVMsg::Exit},
};

constexpr TZVDialogKey kPropEditorKeys[] = {
    /* 0-9 */ {"ZvEditorPro", "Editor Properties", TZVMsg::EditorProperties},
    {"ZvGrid", "Grid", TZVMsg::Grid},
    {"ZvGridX", "Horizontal distance", TZVMsg::HorizontalDistance},
    {"ZvGridY", "Vertical distance", TZVMsg::VerticalDistance},
    {"ZvSnapGrid", "Snap to Grid", TZVMsg::SnapToGrid},
    {"ZvShowGrid", "Show Grid", TZVMsg::ShowGrid},
    {"ZvAlignOb", "Align Objects", TZVMsg::AlignObjects},
    {"ZvAlignLeft", "Left", TZVMsg::Left},
    {"ZvAlignTop", "Top", TZVMsg::Top},
    {"ZvShowLines", "Show Lines", TZVMsg::ShowLines},
    /* 10-18 */ {"ZvColor", "Color", TZVMsg::Color},
    {"ZvOK", "OK", TZVMsg::OK},
    {"ZvCancel", "Cancel", TZVMsg::Cancel},
    {"ZvAdjustAlign", "Adjust Lines", TZVMsg::AdjustLines},
    {"ZvSizeObjects", "Element's size", TZVMsg::ElementSize},
    {"ZvShowSize", "Show Size", TZVMsg::ShowSize},
    {"ZvSelection", "Selection", TZVMsg::Selection},
    {"ZvDrawGridPoints", "Points", TZVMsg::Points},
    {"ZvDrawGridLines", "Lines", TZVMsg::Lines},
};

constexpr TZVDialogKey kPropTableKeys[] = {
    /* 0-9 */ {"ZvTablePro", "Table Properties", TZVMsg::TableProperties},
    {"ZvHeight", "Height", TZVMsg::Height},
    {"ZvText", "Text", TZVMsg::Text},
    {"ZvColor", "Color", TZVMsg::Color},
    {"ZvShow", "Show", TZVMsg::Show},
    {"ZVField", "Field", TZVMsg::Field},
    {"ZvBackColor", "Back Color", TZVMsg::BackColor},
    {"ZvFontColor", "Font Color", TZVMsg::FontColor},
    {"ZvTitle", "Title", TZVMsg::Title},
    {"ZvCol", "Columns", TZVMsg::Columns},
    /* 10-19 */ {"ZvRow", "Rows", TZVMsg::Rows},
    {"ZvRowHeight", "Row Height", TZVMsg::RowHeight},
    {"ZvFont", "Font", TZVMsg::Font},
    {"ZvStyle", "Style", TZVMsg::Style},
    {"ZvAdd", "Add", TZVMsg::Add},
    {"ZvDelete", "Delete", TZVMsg::Delete},
    {"ZvFormat", "Format", TZVMsg::Format},
    {"ZvHeader", "Header", TZVMsg::Header},
    {"ZvFooter", "Footer", TZVMsg::Footer},
    {"ZvFontHeight", "Font height", TZVMsg::FontHeight},
};

constexpr TZVDialogKey kPropParaKeys[] = {
    {"ZvParaPro", "Paragraph Properties", TZVMsg::ParagraphProperties},
    {"ZvPdfPro", "PDF417 Properties", TZVMsg::Pdf417Properties},
    {"ZvDataMatrixPro", "DataMatrix Properties", TZVMsg::DataMatrixProperties},
    {"ZvQRPro", "QR Properties", TZVMsg::QRProperties},
    {"ZvOK", "OK", TZVMsg::OK},
    {"ZvCancel", "Cancel", TZVMsg::Cancel},
};

constexpr TZVDialogKey kPropSymKeys[] = {
    {"ZvSymbolPro", "Symbol Properties", TZVMsg::SymbolProperties},
    {"ZvCarac", "Character", TZVMsg::Character},
    {"ZvOK", "&OK", TZVMsg::OK},
    {"ZVCancel", "&Cancel", TZVMsg::Cancel},
};

constexpr TZVDialogKey kEdTextKeys[] = {
    {"ZvEdText", "Editing text", TZVMsg::EditingText},
    {"ZvOK", "OK", TZVMsg::OK},
    {"ZvCancel", "Cancel", TZVMsg::Cancel},
};

constexpr TZVDialogKey kLabelKeys[] = {
    {"ZvInputText", "WRITE ANSWER TO QUESTION", TZVMsg::WriteAnswer},
};

} // namespace

const QString& MessageText(TZVMsg id)
{
    static const QString empty;
    const auto index = static_cast<std::size_t>(id);
    return index < messageTexts().size() ? messageTexts()[index] : empty;
}

std::span<const TZVDialogKey> DialogKeys(TZVDialog dialog)
{
    switch (dialog) {
    case TZVDialog::TFPropLab:
        return kPropLabKeys;
    case TZVDialog::TFLabelDefs:
        return kLabelDefsKeys;
    case TZVDialog::TZvPrw:
        return kPreviewKeys;
    case TZVDialog::TFPropEditor:
        return kPropEditorKeys;
    case TZVDialog::TPropTable:
        return kPropTableKeys;
    case TZVDialog::TPropPara:
        return kPropParaKeys;
    case TZVDialog::TPropSym:
        return kPropSymKeys;
    case TZVDialog::TZvEdText:
        return kEdTextKeys;
    case TZVDialog::TZVLab:
        return kLabelKeys;
    }
    return {};
}

} // namespace zorvel
