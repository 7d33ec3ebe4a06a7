#pragma once
// Platform services without a display: messages go to standard error,
// confirmations answer "no", the clipboard is kept in memory, and the
// "open" action and new instances use the desktop's opener and the
// program's own executable. Locale facts come from the POSIX locale.
//
// Thread-safety: every member may be called from any thread.
#include <QMutex>

#include "platform/platform.h"

namespace lexicrawl {

class HeadlessPlatform : public Platform {
public:
    HeadlessPlatform();

    void ShowMessage(const QString& text) override;
    void MessageBox(const QString& title, const QString& text, MessageIcon icon) override;
    bool Confirm(const QString& title, const QString& text, const QString& yes,
                 const QString& no) override;
    bool OpenDocument(const QString& target) override;
    bool StartNewInstance(const QString& commandLine) override;
    bool RestartWhenEnded() override;
    void SetClipboardText(const QString& text) override;
    void Beep() override;
    QChar DecimalSeparator() const override;
    QChar ListSeparator() const override;
    int UiLanguageId() const override;
    QString ProgramFolder() const override;
    bool IsInstalled() const override;
    QString RoamingDataFolder() const override;

    QString ClipboardText() const;
    // Silences ShowMessage/MessageBox (fuzzers and tests that provoke failures).
    void SetQuiet(bool quiet);

private:
    mutable QMutex mutex_;
    QString clipboard_;
    bool quiet_ = false;
};

// The locale name the system's messages use, from LC_ALL, LC_MESSAGES or LANG
// (in that order), e.g. "de_DE"; "C" when none is set.
QString PosixMessagesLocale();

}  // namespace lexicrawl
