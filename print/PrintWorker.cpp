#include "print/PrintWorker.h"

#include <QElapsedTimer>

namespace print {

namespace {

// Asked after every row, the progress reaches the window when the page changes or a
// moment has passed, so that the window is not flooded with repaints.
constexpr qint64 reportEvery = 40; // ms

} // namespace

PrintWorker::PrintWorker(QObject* parent) : QObject(parent) {}

PrintWorker::~PrintWorker()
{
    if (thread) {
        cancel();
        thread->wait();
    }
}

bool PrintWorker::start(Job job)
{
    if (thread)
        return false;
    error = nullptr;
    cancelled = std::make_shared<std::atomic<bool>>(false);
    thread.reset(QThread::create([this, job = std::move(job), cancelled = cancelled] {
        int lastStage = -1;
        int lastPage = -1;
        QElapsedTimer sinceReported;
        const auto report = [&](int stage, int page, int pages) {
            if (cancelled->load())
                return false;
            if (stage != lastStage || page != lastPage || sinceReported.elapsed() >= reportEvery) {
                lastStage = stage;
                lastPage = page;
                sinceReported.start();
                QMetaObject::invokeMethod(
                    this, [this, stage, page, pages] { emit progressed(stage, page, pages); }, Qt::QueuedConnection);
            }
            return true;
        };
        std::exception_ptr raised;
        try {
            job({[&](int page, int pages) { return report(0, page, pages); },
                 [&](int page, int pages) { return report(1, page, pages); }});
        } catch (...) {
            raised = std::current_exception();
        }
        // The end is handed over on the window's thread, after every report before it.
        QMetaObject::invokeMethod(
            this,
            [this, raised, cancelled] {
                thread->wait();
                thread.reset();
                if (!cancelled->load())
                    error = raised;
                emit finished();
            },
            Qt::QueuedConnection);
    }));
    thread->setObjectName(QStringLiteral("Print job"));
    thread->start();
    return true;
}

void PrintWorker::cancel()
{
    if (cancelled)
        cancelled->store(true);
}

} // namespace print
