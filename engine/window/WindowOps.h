#pragma once

#include <string>
#include <string_view>

namespace lintrel {

// A control of the main window, named by its control name ("Check7", "Label52", "List1").
using ControlName = std::string_view;

// The window operations the engine and the input list use; they touch no window toolkit.
// Implemented by the Qt main window, the command-line front end and the tests' recording fake.
class WindowOps {
public:
    virtual ~WindowOps() = default;

    // Input list (List1 with dwgPath and dwgDisplay behind it); k runs from 1.
    virtual int listCount() const = 0;                  // item count of List1
    virtual std::string listPath(int k) const = 0;      // dwgPath(k), the full path
    virtual std::string listDisplay(int k) const = 0;   // dwgDisplay(k), the row text
    virtual void listClear() = 0;                       // empties List1's rows
    virtual void listAppend(std::string_view row) = 0;  // appends one row text to List1

    // Option controls.
    virtual bool isTicked(ControlName box) const = 0;  // check box ticked or option button selected
    virtual std::string text(ControlName box) const = 0;               // a text box's text
    virtual void setText(ControlName box, std::string_view text) = 0;  // replaces a text box's text

    // Display.
    virtual void setCaption(ControlName label, std::string_view caption) = 0;  // a label's caption
    virtual void setWindowCaption(std::string_view caption) = 0;               // frmMain's title
    virtual void setVisible(ControlName control, bool visible) = 0;            // show or hide
    virtual void setEnabled(ControlName control, bool enabled) = 0;            // enable or disable
    virtual void setProgress(int percent) = 0;  // ProgressBar1, 0..100

    // Flow.
    virtual void yield() = 0;                     // lets the window process pending events
    virtual bool interruptRequested() const = 0;  // InterruptRequested, set only during a yield
    virtual void clearInterrupt() = 0;            // InterruptRequested := false
    virtual void showMessage(std::string_view prompt) = 0;  // modal, title "確認", one OK button
};

}  // namespace lintrel
