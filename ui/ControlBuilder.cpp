#include "ControlBuilder.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Captions.h"
#include "ClickableLabel.h"
#include "FrameControl.h"
#include "LineControl.h"
#include "QtText.h"

namespace lintrel {
namespace {

const QColor kCountBackground(0xE0, 0xE0, 0xE0);
const QColor kEtchedDark(0x80, 0x80, 0x80);
const QColor kEtchedLight(0xFF, 0xFF, 0xFF);

}  // namespace

QLabel* ControlBuilder::label(std::string_view name, std::string_view caption,
                              TwipsRect rect) const {
    return place(
        new QLabel(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                   m_parent),
        name, rect);
}

QLabel* ControlBuilder::countLabel(std::string_view name, TwipsRect rect) const {
    QLabel* counter = label(name, caption::kZero, rect);
    counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    counter->setAutoFillBackground(true);
    QPalette palette = counter->palette();
    palette.setColor(QPalette::Window, kCountBackground);
    counter->setPalette(palette);
    return counter;
}

ClickableLabel* ControlBuilder::toggleLabel(std::string_view name, const char* caption,
                                            TwipsRect rect) const {
    return place(new ClickableLabel(QString::fromUtf8(caption), m_parent), name, rect);
}

QCheckBox* ControlBuilder::checkBox(std::string_view name, TwipsRect rect,
                                    const char* caption) const {
    return place(new QCheckBox(QString::fromUtf8(caption), m_parent), name, rect);
}

QRadioButton* ControlBuilder::optionButton(std::string_view name, const char* caption,
                                           TwipsRect rect) const {
    return place(new QRadioButton(QString::fromUtf8(caption), m_parent), name, rect);
}

QLineEdit* ControlBuilder::textBox(std::string_view name, TwipsRect rect) const {
    auto* box = place(new QLineEdit(m_parent), name, rect);
    // Only the key filter's digits and point may reach the box; an input method would bypass it.
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    return box;
}

QPushButton* ControlBuilder::button(std::string_view name, const char* caption,
                                    TwipsRect rect) const {
    auto* button = place(new QPushButton(QString::fromUtf8(caption), m_parent), name, rect);
    button->setAutoDefault(false);
    return button;
}

FrameControl* ControlBuilder::frame(std::string_view name, const char* caption,
                                    TwipsRect rect) const {
    return place(new FrameControl(QString::fromUtf8(caption), m_parent), name, rect);
}

LineControl* ControlBuilder::line(std::string_view name, TwipsLine line, QColor colour,
                                  int width) const {
    auto* control = new LineControl(m_parent, toPixels(line), colour, width);
    control->setObjectName(toQString(name));
    return control;
}

void ControlBuilder::etchedRule(std::string_view darkName, std::string_view lightName, int top,
                                int left, int right) const {
    line(darkName, {left, top, right, top}, kEtchedDark);
    line(lightName, {left, top + kTwipsPerPixel, right, top + kTwipsPerPixel}, kEtchedLight);
}

}  // namespace lintrel
