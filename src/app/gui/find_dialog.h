#pragma once
// The Find dialog of both result lists: the text to find and a "Find Next"
// button. Each press searches on from the row after the current one and
// wraps round to the top; when no row holds the text, the selection stays
// and the dialog says "Not Found!" under the text.
//
// Thread-safety: UI thread only.
#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;

namespace lexicrawl::gui {

// The row after `current` (wrapping round) whose text, A-Z lower-cased,
// holds the lower-cased needle; -1 when none does. textOf gives a row's text.
int FindNextRow(const QString& needle, int current, int rowCount, const std::function<QString(int)>& textOf);

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);
    QString Text() const;
    void SetText(const QString& text);
    // After a search: whether a row held the text.
    void ShowFound(bool found);
    QString Result() const;

signals:
    void findNext(const QString& text);

private:
    QLineEdit* text_ = nullptr;
    QLabel* result_ = nullptr;
};

}  // namespace lexicrawl::gui
