#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "WindowOps.h"

namespace lintrel::testing {

// A recording fake of the window: options are plain maps, every display change is logged, message
// boxes are recorded instead of shown, and a test can script what happens during a yield.
class FakeWindow : public WindowOps {
public:
    // The defaults of a fresh window: every check box ticked but Check12 and Check13,
    // "全線種点" selected, every text box empty.
    FakeWindow();

    // Input list.
    std::vector<std::string> paths;     // dwgPath(1..)
    std::vector<std::string> displays;  // dwgDisplay(1..)
    std::vector<std::string> listRows;  // List1's rows as last built

    // Options and display state.
    std::map<std::string, bool, std::less<>> ticked;
    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, std::string, std::less<>> captions;
    std::map<std::string, bool, std::less<>> visible;
    std::map<std::string, bool, std::less<>> enabled;
    std::string windowCaption = "   Lintrel";
    int progress = 0;
    std::vector<int> progressValues;  // every distinct value set, in order
    std::vector<std::string> messages;
    std::vector<std::string> events;  // "caption Label25=3", "visible Label63=0", "yield", ...
    int yields = 0;
    bool interrupt = false;
    std::function<void(FakeWindow&)> onYield;  // runs inside every yield (may set interrupt)

    // Adds a file to the list with its display text made the usual way (a blank and the name).
    void addFile(const std::string& path);
    void tick(std::string_view box, bool on) { ticked[std::string(box)] = on; }
    std::string caption(std::string_view label) const;
    bool isVisible(std::string_view control) const;
    bool isEnabled(std::string_view control) const;

    int listCount() const override { return static_cast<int>(listRows.size()); }
    std::string listPath(int k) const override { return paths.at(static_cast<std::size_t>(k - 1)); }
    std::string listDisplay(int k) const override {
        return displays.at(static_cast<std::size_t>(k - 1));
    }
    void listClear() override { listRows.clear(); }
    void listAppend(std::string_view row) override { listRows.emplace_back(row); }
    bool isTicked(ControlName box) const override;
    std::string text(ControlName box) const override;
    void setText(ControlName box, std::string_view text) override;
    void setCaption(ControlName label, std::string_view caption) override;
    void setWindowCaption(std::string_view caption) override;
    void setVisible(ControlName control, bool visible) override;
    void setEnabled(ControlName control, bool enabled) override;
    void setProgress(int percent) override;
    void yield() override;
    bool interruptRequested() const override { return interrupt; }
    void clearInterrupt() override { interrupt = false; }
    void showMessage(std::string_view prompt) override;
};

}  // namespace lintrel::testing
