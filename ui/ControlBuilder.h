#pragma once

#include <QColor>
#include <QWidget>
#include <string_view>

#include "QtText.h"
#include "Twips.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lintrel {

class ClickableLabel;
class FrameControl;
class LineControl;

// Places the controls of one window or frame at their twips positions, each named with its
// control name so that the window operations and the tests find it by that name.
class ControlBuilder {
public:
    explicit ControlBuilder(QWidget* parent) : m_parent(parent) {}

    QLabel* label(std::string_view name, std::string_view caption, TwipsRect rect) const;
    // A counter: caption "0", right-aligned on the light grey of the count labels.
    QLabel* countLabel(std::string_view name, TwipsRect rect) const;
    ClickableLabel* toggleLabel(std::string_view name, const char* caption, TwipsRect rect) const;
    QCheckBox* checkBox(std::string_view name, TwipsRect rect, const char* caption = "") const;
    QRadioButton* optionButton(std::string_view name, const char* caption, TwipsRect rect) const;
    QLineEdit* textBox(std::string_view name, TwipsRect rect) const;
    QPushButton* button(std::string_view name, const char* caption, TwipsRect rect) const;
    FrameControl* frame(std::string_view name, const char* caption, TwipsRect rect) const;
    LineControl* line(std::string_view name, TwipsLine line, QColor colour, int width = 1) const;
    // An etched rule: a grey line with a white one just below it.
    void etchedRule(std::string_view darkName, std::string_view lightName, int top, int left,
                    int right) const;

    // Names and places a control of any other kind, made with this builder's parent.
    template <class Widget>
    Widget* place(Widget* widget, std::string_view name, TwipsRect rect) const {
        widget->setObjectName(toQString(name));
        widget->setGeometry(toPixels(rect));
        return widget;
    }

private:
    QWidget* m_parent;
};

}  // namespace lintrel
