#include "FakeWindow.h"

#include "Controls.h"

namespace lintrel::testing {

FakeWindow::FakeWindow() {
    for (auto box : control::kCheckBoxes) {
        ticked[std::string(box)] = box != control::Check12 && box != control::Check13;
    }
    ticked[std::string(control::Option1_0)] = true;
    ticked[std::string(control::Option1_1)] = false;
    for (auto box : control::kTextBoxes) {
        texts[std::string(box)] = "";
    }
}

void FakeWindow::addFile(const std::string& path) {
    paths.push_back(path);
    auto slash = path.find_last_of('/');
    displays.push_back(" " + (slash == std::string::npos ? path : path.substr(slash + 1)));
    listRows.push_back(displays.back());
}

std::string FakeWindow::caption(std::string_view label) const {
    auto it = captions.find(label);
    return it == captions.end() ? std::string() : it->second;
}

bool FakeWindow::isVisible(std::string_view control) const {
    auto it = visible.find(control);
    return it != visible.end() && it->second;
}

bool FakeWindow::isEnabled(std::string_view control) const {
    auto it = enabled.find(control);
    return it == enabled.end() || it->second;
}

bool FakeWindow::isTicked(ControlName box) const {
    auto it = ticked.find(box);
    return it != ticked.end() && it->second;
}

std::string FakeWindow::text(ControlName box) const {
    auto it = texts.find(box);
    return it == texts.end() ? std::string() : it->second;
}

void FakeWindow::setText(ControlName box, std::string_view text) {
    texts[std::string(box)] = std::string(text);
    events.push_back("text " + std::string(box) + "=" + std::string(text));
}

void FakeWindow::setCaption(ControlName label, std::string_view caption) {
    captions[std::string(label)] = std::string(caption);
    events.push_back("caption " + std::string(label) + "=" + std::string(caption));
}

void FakeWindow::setWindowCaption(std::string_view caption) {
    windowCaption = std::string(caption);
    events.push_back("window " + windowCaption);
}

void FakeWindow::setVisible(ControlName control, bool isShown) {
    visible[std::string(control)] = isShown;
    events.push_back("visible " + std::string(control) + "=" + (isShown ? "1" : "0"));
}

void FakeWindow::setEnabled(ControlName control, bool isOn) {
    enabled[std::string(control)] = isOn;
    events.push_back("enabled " + std::string(control) + "=" + (isOn ? "1" : "0"));
}

void FakeWindow::setProgress(int percent) {
    progress = percent;
    if (progressValues.empty() || progressValues.back() != percent) {
        progressValues.push_back(percent);
    }
}

void FakeWindow::yield() {
    ++yields;
    if (onYield) {
        onYield(*this);
    }
}

void FakeWindow::showMessage(std::string_view prompt) {
    messages.emplace_back(prompt);
    events.push_back("message " + std::string(prompt));
}

}  // namespace lintrel::testing
