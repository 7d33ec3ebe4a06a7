#include "platform/user_message.h"

namespace lexicrawl {

namespace {

thread_local MessageReporter* threadReporter = nullptr;

}  // namespace

void ReportMessage(const UserMessage& message)
{
    if (threadReporter) {
        threadReporter->Report(message);
        return;
    }
    Platform& platform = Platform::Current();
    if (message.title.isEmpty() && message.icon == MessageIcon::None)
        platform.ShowMessage(message.text);
    else
        platform.MessageBox(message.title, message.text, message.icon);
}

void ReportMessage(const QString& text)
{
    ReportMessage(UserMessage{QString(), text, MessageIcon::None});
}

ScopedMessageReporter::ScopedMessageReporter(MessageReporter* reporter) : previous_(threadReporter)
{
    threadReporter = reporter;
}

ScopedMessageReporter::~ScopedMessageReporter()
{
    threadReporter = previous_;
}

void SetThreadMessageReporter(MessageReporter* reporter)
{
    threadReporter = reporter;
}

}  // namespace lexicrawl
