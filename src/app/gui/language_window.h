#pragma once
// The Language window: the interface languages (English and every language
// file beside the program), each with a small flag, the translators of the
// one selected, a link for contributors, and OK, which restarts the program
// in the chosen language after asking.
//
// Thread-safety: UI thread only.
#include <QDialog>
#include <QIcon>

class QComboBox;
class QPlainTextEdit;

namespace lexicrawl {
class Language;
class Settings;
}

namespace lexicrawl::gui {

// A small flag picture for a language name ("German", "Turkish"); a neutral
// badge with the language's code for names without a flag of their own.
QIcon LanguageFlag(const QString& languageName);

class LanguageWindow : public QDialog {
    Q_OBJECT
public:
    LanguageWindow(const Language& language, Settings& settings, const QString& languagesFolder,
                   QWidget* parent = nullptr);

    QComboBox* Languages() const { return languages_; }
    QString Credits() const;
    // OK: answers true when the program should end for its restart.
    bool Confirm();

signals:
    void restartRequested();

private:
    void ShowCredits(const QString& name);

    Settings& settings_;
    QString folder_;
    QString atOpen_;
    QComboBox* languages_ = nullptr;
    QPlainTextEdit* credits_ = nullptr;
};

}  // namespace lexicrawl::gui
