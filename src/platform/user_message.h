#pragma once
// Messages for the user from code below the front ends (a failed statement,
// a damaged dictionary package). That code never opens a window: it hands a
// UserMessage to the reporter of its thread, and each front end shows it in
// its own way.
//
// A thread with no reporter of its own (start-up, the tests of one module)
// goes to the process's platform, which must not wait for another thread to
// show it. A crawl installs its own reporter on the threads it runs, which
// passes the message to the front end as a crawl event.
//
// Thread-safety: ReportMessage may be called from any thread; a
// ScopedMessageReporter belongs to the thread that made it.
#include <QString>

#include "platform/platform.h"

namespace lexicrawl {

struct UserMessage {
    QString title;  // empty: the program's own title (a plain message)
    QString text;
    MessageIcon icon = MessageIcon::None;
};

class MessageReporter {
public:
    virtual ~MessageReporter() = default;
    // Must not wait for a front end's thread; it may wait on a condition of
    // its own that a front end releases.
    virtual void Report(const UserMessage& message) = 0;
};

// Sends message to the calling thread's reporter.
void ReportMessage(const UserMessage& message);
// A plain message: the program's title, no icon.
void ReportMessage(const QString& text);

// Makes reporter the calling thread's reporter until it goes out of scope
// (the previous one is restored then).
class ScopedMessageReporter {
public:
    explicit ScopedMessageReporter(MessageReporter* reporter);
    ~ScopedMessageReporter();
    ScopedMessageReporter(const ScopedMessageReporter&) = delete;
    ScopedMessageReporter& operator=(const ScopedMessageReporter&) = delete;

private:
    MessageReporter* previous_;
};

// Makes reporter the calling thread's reporter for the thread's life (a
// long-lived worker thread); nullptr restores the platform.
void SetThreadMessageReporter(MessageReporter* reporter);

}  // namespace lexicrawl
