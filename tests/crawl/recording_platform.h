#pragma once
// A headless platform that keeps every user message, for tests that check
// what the user was told.
#include <QMutex>
#include <QStringList>

#include "platform/headless_platform.h"

namespace lexicrawl::test {

class RecordingPlatform : public HeadlessPlatform {
public:
    RecordingPlatform() { Platform::SetCurrent(this); }
    ~RecordingPlatform() override { Platform::SetCurrent(nullptr); }

    void ShowMessage(const QString& text) override
    {
        QMutexLocker lock(&mutex_);
        messages_ << text;
    }
    void MessageBox(const QString& title, const QString& text, MessageIcon icon) override
    {
        QMutexLocker lock(&mutex_);
        messages_ << title + u": "_qs + text;
    }
    void Beep() override
    {
        QMutexLocker lock(&mutex_);
        ++beeps_;
    }
    QChar DecimalSeparator() const override { return u'.'; }

    QStringList Messages() const
    {
        QMutexLocker lock(&mutex_);
        return messages_;
    }
    int Beeps() const
    {
        QMutexLocker lock(&mutex_);
        return beeps_;
    }

private:
    mutable QMutex mutex_;
    QStringList messages_;
    int beeps_ = 0;
};

}  // namespace lexicrawl::test
