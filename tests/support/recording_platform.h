#pragma once
// A platform for tests: records every user message instead of printing it.
#include <QMutex>
#include <QStringList>

#include "platform/headless_platform.h"

namespace lexicrawl::testing {

class RecordingPlatform : public HeadlessPlatform {
public:
    RecordingPlatform() { Platform::SetCurrent(this); }
    ~RecordingPlatform() override { Platform::SetCurrent(nullptr); }

    void ShowMessage(const QString& text) override
    {
        QMutexLocker lock(&m_);
        messages_ << text;
    }
    void MessageBox(const QString& title, const QString& text, MessageIcon) override
    {
        QMutexLocker lock(&m_);
        messages_ << title + QStringLiteral(": ") + text;
    }
    QStringList Messages() const
    {
        QMutexLocker lock(&m_);
        return messages_;
    }

private:
    mutable QMutex m_;
    QStringList messages_;
};

}  // namespace lexicrawl::testing
