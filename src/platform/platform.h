#pragma once
// The operating-system services the program uses, behind one small interface
// so that the core runs without a display. The GUI installs an implementation
// that shows real message boxes; the command line and the tests install the
// headless one (or one of their own that records what was said).
//
// Thread-safety: Current() may be called from any thread; SetCurrent() only
// during start-up or in tests, before other threads run. Implementations must
// accept ShowMessage() from any thread.
#include <QString>
#include <QStringList>

namespace lexicrawl {

enum class MessageIcon { None, Information, Warning, Error, Question };

class Platform {
public:
    virtual ~Platform() = default;

    // User messages. ShowMessage is the plain box with the application title;
    // MessageBox carries its own title and icon.
    virtual void ShowMessage(const QString& text) = 0;
    virtual void MessageBox(const QString& title, const QString& text, MessageIcon icon) = 0;
    // A yes/no confirmation; answers true for yes.
    virtual bool Confirm(const QString& title, const QString& text, const QString& yes,
                         const QString& no) = 0;

    // The desktop's "open" action for a URL or a file; false when nothing opened it.
    virtual bool OpenDocument(const QString& target) = 0;
    // Starts a new, independent instance of this program with the given
    // command-line text (passed as it is, not quoted).
    virtual bool StartNewInstance(const QString& commandLine) = 0;
    // Arranges for this program to start again, without a command line,
    // about a second after the current process has ended (a restart that
    // takes a new interface language).
    virtual bool RestartWhenEnded() = 0;
    virtual void SetClipboardText(const QString& text) = 0;
    virtual void Beep() = 0;

    // The user's number formatting.
    virtual QChar DecimalSeparator() const = 0;
    virtual QChar ListSeparator() const = 0;
    // The system's user-interface language as a Windows language identifier
    // (1033 for English (United States)); 0 when unknown.
    virtual int UiLanguageId() const = 0;

    // The folder of the program's run-time files (empty.db, Languages,
    // Dictionaries): the executable's own folder, or where they are
    // installed beside it. With a trailing separator.
    virtual QString ProgramFolder() const = 0;
    // True when the run-time files are installed apart from the executable
    // (<prefix>/share/lexicrawl): the program then writes nothing there and
    // keeps its own files in the per-user folder.
    virtual bool IsInstalled() const { return false; }
    // The per-user application data folder (XDG data home on Linux), with a
    // trailing separator.
    virtual QString RoamingDataFolder() const = 0;

    static Platform& Current();
    // Installs p (not owned); nullptr restores the headless default.
    static void SetCurrent(Platform* p);
};

// Derives the list separator from the decimal separator where the system has
// none of its own: ";" when decimals use ",", else ",".
QChar ListSeparatorFor(QChar decimalSeparator);

}  // namespace lexicrawl
