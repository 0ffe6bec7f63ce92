// The create…() helpers of frmMain: every control at its twips position, top to bottom.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "Captions.h"
#include "ClickableLabel.h"
#include "ControlBuilder.h"
#include "Controls.h"
#include "CounterTable.h"
#include "FileDropList.h"
#include "Fonts.h"
#include "FrameControl.h"
#include "FrmMain.h"

namespace lintrel {
namespace {

const QColor kStroke(0, 0, 0);
const QColor kRule(0x80, 0x80, 0x80);
const QColor kReading(0, 0, 0xFF);

// Rows of frames share their columns; a row only says where its top is.
constexpr int kRowHeight = 270;

void alignRight(QLabel* label) {
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void hideAtStart(QWidget* widget) {
    widget->setVisible(false);
}

// A caption that sits on a frame's top edge hides the edge behind it.
void coverFrameEdge(QWidget* widget) {
    widget->setAutoFillBackground(true);
}

}  // namespace

void FrmMain::createButtonRow() {
    ControlBuilder window(centralWidget());
    window.button(control::Command4, caption::kCommand4, {15, 40, 975, 300})
        ->setFont(fonts::gothic(11.25, fonts::Style::BoldItalic));
    window.button(control::Command2, caption::kCommand2, {2300, 40, 975, 300})
        ->setFont(fonts::mincho(12, fonts::Style::BoldItalic));
    window.button(control::Command3, caption::kCommand3, {3390, 40, 975, 300})
        ->setFont(fonts::mincho(12, fonts::Style::BoldItalic));
}

void FrmMain::createFileList() {
    ControlBuilder window(centralWidget());
    // The caption is wider in the fallback faces than in the Windows one; it starts further left
    // so that it ends inside the window.
    window.label("Label24", caption::kLabel24, {90, 450, 4290, kRowHeight});
    window.place(new FileDropList(centralWidget()), control::List1, {120, 720, 2910, 1230});
    QLabel* count = window.countLabel(control::DATACount, {3060, 720, 360, 255});
    count->setText(QString());
    count->setAlignment(Qt::AlignCenter);
    window.label("Files", caption::kFiles, {3435, 720, 945, 255});
    // As wide as Start: its full-width caption needs the room in the fallback faces.
    window.button(control::LISTClear, caption::kLISTClear, {3110, 1065, 1215, 375});
    window.button(control::Start, caption::kStart, {3110, 1530, 1215, 375})
        ->setToolTip(QString::fromUtf8(caption::kStartTip));
    hideAtStart(window.button(control::Command1, caption::kCommand1, {3110, 1530, 1215, 375}));
}

void FrmMain::createLineCount() {
    ControlBuilder window(centralWidget());
    hideAtStart(window.label(control::Label55, caption::kLabel55, {120, 1965, 2340, 255}));
    hideAtStart(window.countLabel(control::Label47, {2520, 1965, 900, 255}));
}

void FrmMain::createLineOptions() {
    ControlBuilder window(centralWidget());
    ControlBuilder frame(window.frame("Frame5", "", {120, 2190, 4125, 2595}));

    frame.checkBox(control::Check9, {90, 60, 240, kRowHeight});
    frame.toggleLabel("Label48", caption::kLabel48, {330, 60, 1200, kRowHeight});

    frame.label("Label59", caption::kGap, {300, 345, 750, kRowHeight});
    frame.line("Line2", {1050, 480, 1155, 480}, kStroke);
    frame.line("Line3", {1215, 480, 1320, 480}, kStroke);
    frame.textBox(control::Text9, {1350, 345, 630, kRowHeight});
    frame.label("Label60", caption::kOrLess, {2040, 345, 390, kRowHeight});
    alignRight(frame.label("Label53", captionOf(control::Label54), {2460, 345, 900, kRowHeight}));
    frame.countLabel(control::Label54, {3390, 345, 660, kRowHeight});

    frame.label("Label61", caption::kOffset, {300, 630, 750, kRowHeight});
    frame.line("Line4", {1050, 720, 1185, 720}, kStroke);
    frame.line("Line5", {1185, 810, 1320, 810}, kStroke);
    frame.textBox(control::Text8, {1350, 630, 630, kRowHeight});
    frame.label("Label62", caption::kOrLess, {2040, 630, 390, kRowHeight});

    frame.etchedRule("Line10", "Line11", 930, 60, 4050);

    frame.checkBox(control::Check7, {90, 990, 240, kRowHeight});
    frame.toggleLabel("Label43", caption::kLabel43, {330, 990, 1500, kRowHeight});
    alignRight(frame.label("Label23", captionOf(control::Label25), {2460, 990, 900, kRowHeight}));
    frame.countLabel(control::Label25, {3390, 990, 660, kRowHeight});

    frame.label("Label49", caption::kOffset, {300, 1275, 750, kRowHeight});
    frame.line("Line6", {1050, 1365, 1230, 1365}, kStroke);
    frame.line("Line7", {1140, 1455, 1320, 1455}, kStroke);
    frame.textBox(control::Text5, {1350, 1275, 630, kRowHeight});
    frame.label("Label50", caption::kOrLess, {2040, 1275, 390, kRowHeight});

    frame.etchedRule("Line9", "Line8", 1575, 60, 4050);

    frame.label("Label51", caption::kLineCorrection, {300, 1635, 1050, kRowHeight});
    frame.textBox(control::Text6, {1350, 1635, 630, kRowHeight});
    alignRight(frame.label(control::Label52, caption::kLabel52, {2040, 1635, 570, kRowHeight}));
    frame.label("Label30", caption::kLabel30, {2625, 1635, 195, kRowHeight});
    QLabel* reading =
        frame.label(control::Label63, caption::kLabel63, {2820, 1635, 1260, kRowHeight});
    QPalette palette = reading->palette();
    palette.setColor(QPalette::WindowText, kReading);
    reading->setPalette(palette);
    hideAtStart(reading);

    frame.checkBox(control::Check10, {90, 1935, 240, kRowHeight});
    frame.toggleLabel("Label34", caption::kLabel34, {330, 1935, 1350, kRowHeight});
    frame.checkBox(control::Check11, {2100, 1935, 240, kRowHeight});
    frame.toggleLabel("Label56", caption::kLabel56, {2340, 1935, 1350, kRowHeight});
}

void FrmMain::createProgress() {
    ControlBuilder window(centralWidget());
    auto* progress = window.place(new QProgressBar(centralWidget()), control::ProgressBar1,
                                  {130, 4480, 4080, 270});
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setTextVisible(false);
}

void FrmMain::createTextOptions() {
    ControlBuilder window(centralWidget());
    const QString allTextTip = QString::fromUtf8(caption::kDeleteAllTextTip);
    window.checkBox(control::TextDelete, {90, 4980, 240, kRowHeight})->setToolTip(allTextTip);
    window.toggleLabel("Label35", caption::kLabel35, {330, 4980, 1950, kRowHeight});
    window.checkBox(control::Check13, {540, 5295, 2160, kRowHeight}, caption::kBlankOnly)
        ->setToolTip(allTextTip);
    window.checkBox(control::MTextDelete, {90, 5610, 240, kRowHeight});
    window.toggleLabel("Label36", caption::kLabel36, {330, 5610, 1950, kRowHeight});
    window.checkBox(control::Check12, {540, 5925, 2160, kRowHeight}, caption::kBlankOnly)
        ->setToolTip(allTextTip);
    window.checkBox(control::Check6, {90, 6240, 240, kRowHeight});
    window.toggleLabel("Label37", caption::kLabel37, {330, 6240, 1200, kRowHeight});
    window.checkBox(control::Check8, {90, 6540, 240, kRowHeight});
    window.toggleLabel("Label44", caption::kLabel44, {330, 6540, 1200, kRowHeight});
}

void FrmMain::createCounters() {
    struct Counter {
        std::string_view captionLabel;
        std::string_view caption;
        std::string_view valueLabel;
    };
    constexpr auto counter = [](std::string_view captionLabel, ControlName valueLabel) consteval {
        return Counter{captionLabel, captionOf(valueLabel), valueLabel};
    };
    static constexpr Counter kCounters[] = {
        counter("Label7", control::Label1),  counter("Label19", control::Label18),
        counter("Labe22", control::Label22), counter("Label45", control::Label46),
        counter("Label8", control::Label2),  counter("Label9", control::Label3),
        counter("Label10", control::Label4),
    };
    constexpr int kFirstTop = 300;
    constexpr int kPitch = 555;

    ControlBuilder window(centralWidget());
    ControlBuilder frame(window.frame("Frame1", caption::kFrame1, {2880, 4890, 1360, 4260}));
    int top = kFirstTop;
    for (const auto& row : kCounters) {
        frame.label(row.captionLabel, row.caption, {60, top, 1245, 255});
        frame.countLabel(row.valueLabel, {240, top + kRowHeight, 1080, 255});
        top += kPitch;
    }
}

void FrmMain::createLinetypeOptions() {
    // Rows a little lower than elsewhere, so that the three lines of Label20 fit below them.
    constexpr int kLow = 255;
    ControlBuilder window(centralWidget());
    ControlBuilder frame(window.frame("Frame2", caption::kFrame2, {120, 6960, 2655, 2175}));
    frame.checkBox(control::Check1, {90, 270, 240, kLow});
    frame.toggleLabel("Label38", caption::kLabel38, {330, 270, 1350, kLow});
    frame.checkBox(control::Check2, {90, 525, 240, kLow});
    frame.toggleLabel("Label39", caption::kLabel39, {330, 525, 720, kLow});
    frame.checkBox(control::Check3, {1260, 525, 240, kLow});
    frame.toggleLabel("Label40", caption::kLabel40, {1500, 525, 900, kLow});
    frame.checkBox(control::Check4, {90, 780, 240, kLow});
    frame.toggleLabel("Label41", caption::kLabel41, {330, 780, 720, kLow});
    frame.optionButton(control::Option1_0, caption::kOption1_0, {330, 1035, 1140, kLow});
    frame.optionButton(control::Option1_1, caption::kOption1_1, {1500, 1035, 1020, kLow});
    frame.label("Label20", caption::kLabel20, {90, 1320, 2475, 810})->setWordWrap(true);
}

void FrmMain::createSizeOptions() {
    struct SizeRow {
        int top;
        std::string_view nameLabel;
        const char* name;
        std::string_view measureLabel;
        const char* measure;
        std::string_view box;
        std::string_view orLessLabel;
    };
    static constexpr SizeRow kRows[] = {
        {270, "Label15", caption::kStraightLines, "Label26", caption::kLength, control::Text1,
         "Label31"},
        {570, "Label16", caption::kObliqueLines, "Label27", caption::kLength, control::Text4,
         "Label33"},
        {960, "Label17", caption::kArcs, "Label28", caption::kArcLength, control::Text2, "Label57"},
        {1260, "Label21", caption::kCircles, "Label29", caption::kDiameter, control::Text3,
         "Label58"},
    };

    ControlBuilder window(centralWidget());
    ControlBuilder frame(window.frame("Frame3", caption::kFrame3, {120, 9240, 4125, 1695}));
    coverFrameEdge(frame.checkBox(control::Check5, {150, 0, 240, 255}));
    coverFrameEdge(frame.toggleLabel("Label42", caption::kLabel42, {390, 0, 1500, 255}));
    for (const auto& row : kRows) {
        frame.label(row.nameLabel, row.name, {90, row.top, 1110, kRowHeight});
        frame.label(row.measureLabel, row.measure, {1230, row.top, 570, kRowHeight});
        frame.textBox(row.box, {1815, row.top, 630, kRowHeight});
        frame.label(row.orLessLabel, caption::kOrLess, {2475, row.top, 390, kRowHeight});
    }
    frame.label("Label11", captionOf(control::Label5), {3060, 270, 990, kRowHeight});
    frame.countLabel(control::Label5, {3060, 555, 990, 255});
    frame.line("Line1", {60, 900, 4050, 900}, kRule);
    frame.label("Label14", captionOf(control::Label6), {3060, 960, 990, kRowHeight});
    frame.countLabel(control::Label6, {3060, 1245, 990, 255});
}

void FrmMain::createTotals() {
    ControlBuilder window(centralWidget());
    window.label(control::Label32, "", {360, 11110, 1365, 255});
    window.label("Label13", kTotalCaption, {1800, 11070, 1170, 390})
        ->setFont(fonts::gothic(14.25, fonts::Style::BoldItalic));
    window.countLabel(control::Label12, {3000, 11025, 1230, 330});
}

}  // namespace lintrel
