#include "PreviewWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include "CutLength.h"
#include "PreviewCanvas.h"
#include "PreviewCaptions.h"

namespace lintrel {
namespace {

constexpr char kLightKey[] = "lightBackground";

// The preview's own settings (~/.config/lintrel/preview.ini); the options stay in msdesksys.ini.
QSettings previewSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "lintrel", "preview");
}

QIcon swatch(QColor colour) {
    QPixmap pixmap(16, 10);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

PreviewWindow::PreviewWindow(QString path, preview::OptionSnapshot options, QWidget* parent)
    : QWidget(parent, Qt::Window), m_path(std::move(path)) {
    setWindowTitle(QString::fromUtf8(caption::kPreviewTitle) + QFileInfo(m_path).fileName());
    setObjectName("PreviewWindow");
    createControls();
    rerun(std::move(options));
}

PreviewWindow::~PreviewWindow() {
    stopRun();
}

void PreviewWindow::createControls() {
    auto* views = new QHBoxLayout;
    m_views = new QButtonGroup(this);
    const std::array<std::pair<const char*, preview::View>, 3> kViews = {{
        {caption::kViewBefore, preview::View::Before},
        {caption::kViewAfter, preview::View::After},
        {caption::kViewChanges, preview::View::Changes},
    }};
    for (const auto& [text, view] : kViews) {
        auto* button = new QRadioButton(QString::fromUtf8(text), this);
        button->setObjectName(QString::fromUtf8(text));
        m_views->addButton(button, static_cast<int>(view));
        views->addWidget(button);
    }
    m_views->button(static_cast<int>(preview::View::Changes))->setChecked(true);
    m_light = new QCheckBox(QString::fromUtf8(caption::kLightBackground), this);
    m_light->setObjectName("LightBackground");
    m_light->setChecked(previewSettings().value(kLightKey, false).toBool());
    views->addStretch();
    views->addWidget(m_light);
    connect(m_views, &QButtonGroup::idClicked, this, [this] { updateStyle(); });
    connect(m_light, &QCheckBox::toggled, this, [this](bool isLight) {
        previewSettings().setValue(kLightKey, isLight);
        updateStyle();
    });

    m_canvas = new PreviewCanvas(this);
    m_canvas->setObjectName("PreviewCanvas");
    connect(m_canvas, &PreviewCanvas::cursorMoved, this, &PreviewWindow::showStatus);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_canvas, 1);
    middle->addWidget(createLegend());

    m_status = new QLabel(this);
    m_status->setObjectName("PreviewStatus");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(views);
    layout->addLayout(middle, 1);
    layout->addWidget(m_status);
    resize(1100, 720);
    updateStyle();
}

QWidget* PreviewWindow::createLegend() {
    auto* legend = new QWidget(this);
    auto* rows = new QVBoxLayout(legend);
    rows->addWidget(new QLabel(QString::fromUtf8(caption::kLegendTitle), legend));
    for (Verdict verdict : preview::kLegendOrder) {
        auto* row = new QCheckBox(preview::verdictCaption(verdict), legend);
        row->setObjectName(preview::verdictCaption(verdict));
        row->setIcon(swatch(preview::verdictColour(verdict)));
        row->setChecked(true);
        connect(row, &QCheckBox::toggled, this, [this] { updateStyle(); });
        m_legend[verdict] = row;
        rows->addWidget(row);
    }
    rows->addStretch();
    return legend;
}

void PreviewWindow::rerun(preview::OptionSnapshot options) {
    stopRun();
    m_isRunning = true;
    m_status->setText(QString::fromUtf8(caption::kPreviewRunning));
    m_run = std::jthread(
        [this, options = std::move(options), path = m_path.toStdString()](std::stop_token stop) {
            auto result = std::make_shared<preview::Preview>(
                preview::previewOf(options, path, [&stop] { return stop.stop_requested(); }));
            if (stop.stop_requested()) {
                return;
            }
            // Queued to the window's thread; dropped if the window is gone by then.
            QMetaObject::invokeMethod(
                this, [this, result] { showOutcome(result); }, Qt::QueuedConnection);
            if (!result->failure.empty()) {
                return;
            }
            // The whole drawing is shown without the index; it is built meanwhile, from the model
            // the window only reads, for views of a part.
            auto indexed =
                std::make_shared<preview::PathsIndexed>(preview::indexPathsOf(result->model, stop));
            if (!stop.stop_requested()) {
                QMetaObject::invokeMethod(
                    this, [this, result, indexed] { useIndex(*result, std::move(*indexed)); },
                    Qt::QueuedConnection);
            }
        });
}

void PreviewWindow::stopRun() {
    if (m_run.joinable()) {
        m_run.request_stop();
        m_run.join();
    }
    m_isRunning = false;
}

void PreviewWindow::showOutcome(std::shared_ptr<preview::Preview> result) {
    m_isRunning = false;
    m_shown = std::move(result);
    m_canvas->showPreview(m_shown.get());
    updateLegend();
    showStatus(0, 0);
    emit shownChanged();
}

void PreviewWindow::useIndex(preview::Preview& indexedOf, preview::PathsIndexed indexed) {
    if (m_shown.get() == &indexedOf) {
        m_shown->model.useIndex(std::move(indexed));
    }
}

void PreviewWindow::updateLegend() {
    const auto counts = m_shown ? m_shown->verdicts : std::array<int, 13>{};
    for (const auto& [verdict, row] : m_legend) {
        row->setText(preview::verdictCaption(verdict) +
                     QString(" %1").arg(counts[static_cast<std::size_t>(verdict)]) +
                     QString::fromUtf8(caption::kCountSuffix));
    }
}

void PreviewWindow::updateStyle() {
    preview::SceneStyle style;
    style.isDark = !m_light->isChecked();
    style.view = static_cast<preview::View>(m_views->checkedId());
    for (const auto& [verdict, row] : m_legend) {
        if (!row->isChecked()) {
            style.hidden.insert(verdict);
        }
    }
    m_canvas->setSceneStyle(style);
}

void PreviewWindow::showStatus(double x, double y) {
    if (m_isRunning) {
        return;
    }
    if (!m_shown || !m_shown->failure.empty()) {
        m_status->setText(m_shown ? utf8(m_shown->failure) : QString());
        return;
    }
    QString text = QString("X %1  Y %2").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
    text += "    " + utf8(preview::cutLengthText(m_shown->cut, m_shown->model.insUnits));
    const std::string notDrawn = preview::notDrawnLine(m_shown->model);
    if (!notDrawn.empty()) {
        text += "    " + utf8(notDrawn);
    }
    m_status->setText(text);
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    stopRun();
    event->accept();
}

}  // namespace lintrel
