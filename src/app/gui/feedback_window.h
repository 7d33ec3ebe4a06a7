#pragma once
// The feedback window: "I like it!" or "I dislike it!", a message, an
// optional e-mail address, and Send. The form's rules (what is checked,
// what is posted, how delivery is tried) are the core's; the window shows
// the outcome and closes after a delivery. Sending runs in the background.
//
// Thread-safety: UI thread only.
#include <QDialog>

#include "app/core/feedback.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace lexicrawl::gui {

class FeedbackWindow : public QDialog {
    Q_OBJECT
public:
    // host: the maker's server the form is posted to.
    explicit FeedbackWindow(const QString& host, QWidget* parent = nullptr);

    QToolButton* LikePanel() const { return like_; }
    QToolButton* DislikePanel() const { return dislike_; }
    QPlainTextEdit* Message() const { return message_; }
    QLineEdit* Email() const { return email_; }
    void Send();

signals:
    // Delivered or not; the window closes itself after a delivery.
    void sent(bool delivered);

private:
    QToolButton* ChoicePanel(const QString& caption);
    FeedbackForm Form() const;

    QString host_;
    QToolButton* like_ = nullptr;
    QToolButton* dislike_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    QLineEdit* email_ = nullptr;
    QPushButton* send_ = nullptr;
};

}  // namespace lexicrawl::gui
