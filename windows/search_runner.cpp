#include "windows/search_runner.h"

#include "platform/escape_monitor.h"
#include "circuits/solve.h"
#include "platform/platform.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace ohmtrim {

bool SearchRunner::Run(double relTol, const Work& work, const ProgressArea& area) {
    if (m_busy)
        return false;
    m_busy = true;

    std::atomic<double> progress{0.0};
    SearchContext ctx;
    ctx.relTol = relTol;
    ctx.escape = &m_platform.EscapeFlag();
    ctx.tables = m_tables;
    ctx.threads = SearchThreads();
    ctx.progress = &progress;

    // Most searches end long before anyone would read a bar.
    std::unique_ptr<SearchProgress> panel;
    if (area.window != nullptr) {
        panel = std::make_unique<SearchProgress>(area, progress);
        QTimer::singleShot(kProgressDelayMs, Qt::PreciseTimer, panel.get(),
                           &SearchProgress::Reveal);
    }

    QEventLoop loop;
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    {
        EscapeMonitor monitor(m_platform.EscapeFlag());
        std::thread worker([&] {
            try {
                work(ctx);
            } catch (...) {
                failure = std::current_exception();
            }
            done.store(true);
            // Queued: the loop may not have started yet; the call waits in
            // its event queue until it has.
            QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
        });
        // A quit request for the whole application also ends this loop; the
        // search is still running then, so wait on in a fresh loop.
        while (!done.load())
            loop.exec();
        worker.join();
    }
    m_busy = false;
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

} // namespace ohmtrim
