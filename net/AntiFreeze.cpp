// The anti-freeze: event processing for the GUI thread while it waits on the network.
#include "net/AntiFreeze.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <stdexcept>

namespace {
std::atomic<int> instances{0};
}

TIdAntiFreeze::TIdAntiFreeze() {
    if (instances.fetch_add(1) != 0) {
        instances.fetch_sub(1);
        throw std::runtime_error("Only one TIdAntiFreeze can exist per application.");
    }
}

TIdAntiFreeze::~TIdAntiFreeze() {
    instances.fetch_sub(1);
}

void TIdAntiFreeze::process() {
    auto* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents, IdleTimeoutMs);
}
