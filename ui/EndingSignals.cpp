#include "EndingSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <csignal>

namespace lintrel {
namespace {

constexpr std::array<int, 2> kEndingSignals = {SIGTERM, SIGHUP};

// The handler may only write: the event loop reads the other end.
std::array<int, 2> g_pair = {-1, -1};

extern "C" void onEndingSignal(int) {
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(g_pair[0], &byte, 1);
}

}  // namespace

EndingSignals::EndingSignals(QObject* parent) : QObject(parent) {
    ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pair.data());
    m_notifier = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_pair[1], bytes, sizeof bytes) > 0) {
        }
        emit received();
    });
    for (int signal : kEndingSignals) {
        std::signal(signal, onEndingSignal);
    }
}

EndingSignals::~EndingSignals() {
    for (int signal : kEndingSignals) {
        std::signal(signal, SIG_DFL);
    }
    delete m_notifier;
    ::close(g_pair[0]);
    ::close(g_pair[1]);
    g_pair = {-1, -1};
}

}  // namespace lintrel
