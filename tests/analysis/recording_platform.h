#pragma once
// A platform that keeps the user messages instead of printing them, installed
// for the life of the object.
#include <QStringList>

#include "platform/headless_platform.h"

class RecordingPlatform : public lexicrawl::HeadlessPlatform {
public:
    RecordingPlatform() { lexicrawl::Platform::SetCurrent(this); }
    ~RecordingPlatform() override { lexicrawl::Platform::SetCurrent(nullptr); }
    void ShowMessage(const QString& text) override { messages << text; }
    QChar ListSeparator() const override { return separator; }

    QStringList messages;
    QChar separator = QLatin1Char(',');
};
