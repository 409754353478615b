#pragma once

#include "print/FontCatalogue.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

namespace print {

// Runs one print job at a time on a thread of its own, so that the window answers
// while the pages are laid out and drawn. The job's progress reaches the window's
// thread through progressed, its end (and the error it raised) through finished. A
// cancelled job stops at its next question and ends in the background: cancel()
// returns at once, and the next job starts only once it has ended.
class PrintWorker : public QObject {
    Q_OBJECT
public:
    // The job, given its progress: laid out and drawn pages, each answering false once
    // the job is cancelled.
    using Job = std::function<void(const CatalogueProgress& progress)>;

    explicit PrintWorker(QObject* parent = nullptr);
    ~PrintWorker() override; // cancels the job and waits for its end

    // Starts the job; false while another is still running.
    bool start(Job job);
    void cancel();
    // Until finished has reached the window's thread.
    bool running() const { return thread != nullptr; }
    // The error the last job raised, once: nothing when it ended well or was cancelled.
    std::exception_ptr takeError() { return std::exchange(error, nullptr); }

signals:
    // The page being laid out (stage 0) or drawn (stage 1), of so many.
    void progressed(int stage, int page, int pages);
    void finished();

private:
    std::unique_ptr<QThread> thread;
    std::shared_ptr<std::atomic<bool>> cancelled;
    std::exception_ptr error;
};

} // namespace print
