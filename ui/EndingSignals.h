#pragma once

#include <QObject>

class QSocketNotifier;

namespace lintrel {

// SIGTERM and SIGHUP (a logout, a shutdown, kill) turned into a Qt signal the window closes on,
// so that a run is interrupted and cleaned up and the program ends as by its close box.
class EndingSignals : public QObject {
    Q_OBJECT

public:
    explicit EndingSignals(QObject* parent = nullptr);
    ~EndingSignals() override;
    EndingSignals(const EndingSignals&) = delete;
    EndingSignals& operator=(const EndingSignals&) = delete;

signals:
    void received();

private:
    QSocketNotifier* m_notifier;
};

}  // namespace lintrel
