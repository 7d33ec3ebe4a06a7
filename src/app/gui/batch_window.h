#pragma once
// "Check Multiple Websites": a list of start URLs, one per line; OK starts
// one new instance of the program per non-empty line, with the line as its
// whole command line, so each crawls its site in a window of its own. The
// starts are spread a few hundred milliseconds apart, so that fifty lines do
// not start fifty crawls in the same instant.
//
// Thread-safety: UI thread only.
#include <QDialog>
#include <QStringList>
#include <QTimer>

class QPlainTextEdit;

namespace lexicrawl::gui {

// Starts new instances of the program one after another, a little apart.
// Lives beyond the window that asked, so the starts go on after it closes.
class InstanceLauncher : public QObject {
    Q_OBJECT
public:
    explicit InstanceLauncher(int spacingMs = 300, QObject* parent = nullptr);
    void Launch(const QStringList& commandLines);
    bool Idle() const { return pending_.isEmpty(); }

private:
    void StartNext();

    QStringList pending_;
    QTimer timer_;
};

class BatchWindow : public QDialog {
    Q_OBJECT
public:
    BatchWindow(InstanceLauncher& launcher, QWidget* parent = nullptr);
    QPlainTextEdit* Lines() const { return lines_; }
    void Accept();

private:
    InstanceLauncher& launcher_;
    QPlainTextEdit* lines_ = nullptr;
};

}  // namespace lexicrawl::gui
