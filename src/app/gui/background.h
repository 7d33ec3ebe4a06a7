#pragma once
// Work that may take longer than a frame (a query, a fetch, an export, a
// copy) runs on Qt's thread pool; its result comes back to the UI thread and
// goes to the object that asked, unless that object is gone by then.
//
// Thread-safety: call from the UI thread; work runs on a pool thread, done
// on the UI thread.
#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <memory>

namespace lexicrawl::gui {

template <class Result>
void RunInBackground(QObject* context, std::function<Result()> work, std::function<void(const Result&)> done)
{
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start([guard, work = std::move(work), done = std::move(done)] {
        auto result = std::make_shared<Result>(work());
        // Delivered through the application object, which outlives every
        // window; the guard is read on the UI thread only.
        QMetaObject::invokeMethod(
            qApp, [guard, done, result] {
                if (guard)
                    done(*result);
            },
            Qt::QueuedConnection);
    });
}

// Waits until every background task has ended (before the objects they use
// go), serving the UI thread's events meanwhile: a task may be waiting for a
// message box on it.
inline void WaitForBackgroundWork()
{
    while (!QThreadPool::globalInstance()->waitForDone(10))
        QCoreApplication::processEvents();
}

}  // namespace lexicrawl::gui
