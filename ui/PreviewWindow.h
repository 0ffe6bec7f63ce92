#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <thread>

#include "PreviewRun.h"
#include "SceneStyle.h"

class QButtonGroup;
class QCheckBox;
class QLabel;

namespace lintrel {

class PreviewCanvas;

// The preview of one drawing: a dry run with the main window's options on a thread of its own,
// then the drawing in one of three views with a legend of the run's decisions, each of which can
// be hidden, and the cursor's coordinates and the cut lengths in the status line.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    PreviewWindow(QString path, preview::OptionSnapshot options, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // Runs the drawing again with other options; a run in progress is stopped first.
    void rerun(preview::OptionSnapshot options);
    bool isRunning() const { return m_isRunning; }
    const preview::Preview* shown() const { return m_shown.get(); }
    PreviewCanvas* canvas() const { return m_canvas; }

signals:
    void shownChanged();  // a dry run ended and its outcome is shown

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QWidget* createLegend();
    void stopRun();
    void showOutcome(std::shared_ptr<preview::Preview> result);
    // Puts the index of a preview's paths in place, if that preview is still the one shown.
    void useIndex(preview::Preview& indexedOf, preview::PathsIndexed indexed);
    void updateLegend();
    void updateStyle();
    void showStatus(double x, double y);

    QString m_path;
    PreviewCanvas* m_canvas = nullptr;
    QButtonGroup* m_views = nullptr;
    QCheckBox* m_light = nullptr;
    std::map<Verdict, QCheckBox*> m_legend;
    QLabel* m_status = nullptr;
    std::shared_ptr<preview::Preview> m_shown;
    bool m_isRunning = false;
    std::jthread m_run;  // the dry run; stops when asked, within one record
};

}  // namespace lintrel
