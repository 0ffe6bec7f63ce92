#pragma once

#include <QDir>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <string_view>

#include "FrmMain.h"
#include "QtText.h"

class QMimeData;

namespace lintrel::testing {

// frmMain as the tests drive it: message boxes are recorded instead of shown, and a run turns
// the event loop at every yield so that a test can act at a chosen point of it.
class TestWindow : public FrmMain {
public:
    TestWindow();

    // The control of this name; the test fails loudly when there is none of that kind.
    template <class Widget>
    Widget* get(std::string_view name) const {
        auto* widget = findChild<Widget*>(toQString(name));
        if (widget == nullptr) {
            qFatal("frmMain has no control %.*s of the kind asked for",
                   static_cast<int>(name.size()), name.data());
        }
        return widget;
    }

    // Every check box and option button as "name=0" or "name=1", in the window's order.
    [[nodiscard]] QStringList tickStates() const;

    QStringList messages;
};

// Drags a payload onto List1 and drops it there, as a file manager would.
void drop(TestWindow& window, const QMimeData& data);
// Drops local files on List1.
void dropFiles(TestWindow& window, const QStringList& paths);

// Writes a drawing into a folder and returns its path.
QString writeFile(const QTemporaryDir& folder, const QString& name, const std::string& bytes);

// A small AutoCAD 2000 drawing of many short LINE records, so that a run takes many steps.
std::string manyLines(int count);

}  // namespace lintrel::testing
