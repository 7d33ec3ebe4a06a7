#include "app/gui/feedback_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/core/app_identity.h"
#include "app/gui/background.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

namespace {

// A 32 by 32 face, smiling or not.
QIcon Face(const QColor& colour, bool smile)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(QPen(colour.darker(140), 1.5));
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(11, 12), 2, 2);
    painter.drawEllipse(QPointF(21, 12), 2, 2);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(9, smile ? 12 : 19, 14, 10), smile ? 200 * 16 : 20 * 16, 140 * 16);
    return QIcon(pixmap);
}

}  // namespace

FeedbackWindow::FeedbackWindow(const QString& host, QWidget* parent) : QDialog(parent), host_(host)
{
    setWindowTitle(ProductName() + QLatin1Char(' ') + Tr(QStringLiteral("feedback")));
    like_ = ChoicePanel(Tr(QStringLiteral("I like it!")));
    like_->setObjectName(QStringLiteral("like"));
    like_->setIcon(Face(QColor(0xff, 0xd5, 0x4f), true));
    dislike_ = ChoicePanel(Tr(QStringLiteral("I dislike it!")));
    dislike_->setObjectName(QStringLiteral("dislike"));
    dislike_->setIcon(Face(QColor(0xff, 0xb7, 0x4d), false));
    auto* choices = new QButtonGroup(this);  // at most one selected; a click on it keeps it
    choices->addButton(like_);
    choices->addButton(dislike_);

    auto* intro = new QLabel(Tr(QStringLiteral("We would really appreciate your feedback.")), this);
    auto* question = new QLabel(Tr(QStringLiteral("What did you like or dislike?")), this);
    QFont bold = question->font();
    bold.setBold(true);
    question->setFont(bold);
    message_ = new QPlainTextEdit(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setAccessibleName(question->text());
    message_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(message_, &QPlainTextEdit::textChanged, this, [this] {
        if (message_->toPlainText().size() > 10000)  // at most 10000 characters
            message_->setPlainText(message_->toPlainText().left(10000));
    });
    question->setBuddy(message_);
    auto* emailLabel = new QLabel(Tr(QStringLiteral("Include my e-mail:")), this);
    email_ = new QLineEdit(this);
    email_->setObjectName(QStringLiteral("email"));
    email_->setMaxLength(100);
    email_->setAccessibleName(emailLabel->text());
    emailLabel->setBuddy(email_);
    send_ = new QPushButton(Tr(QStringLiteral("Send")), this);
    send_->setObjectName(QStringLiteral("send"));
    send_->setAccessibleName(send_->text());
    connect(send_, &QPushButton::clicked, this, &FeedbackWindow::Send);

    auto* panels = new QHBoxLayout;
    panels->addWidget(like_);
    panels->addWidget(dislike_);
    auto* emailRow = new QHBoxLayout;
    emailRow->addWidget(emailLabel);
    emailRow->addWidget(email_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panels);
    layout->addWidget(intro);
    layout->addWidget(question);
    layout->addWidget(message_, 1);
    layout->addLayout(emailRow);
    layout->addWidget(send_, 0, Qt::AlignRight);
    resize(460, 400);
}

QToolButton* FeedbackWindow::ChoicePanel(const QString& caption)
{
    auto* panel = new QToolButton(this);
    panel->setText(caption);
    panel->setAccessibleName(caption);
    panel->setCheckable(true);
    panel->setAutoRaise(false);
    panel->setIconSize(QSize(32, 32));
    panel->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    panel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    panel->setCursor(Qt::PointingHandCursor);
    panel->setStyleSheet(QStringLiteral("QToolButton:checked { background: palette(highlight); "
                                        "color: palette(highlighted-text); }"));
    return panel;
}

FeedbackForm FeedbackWindow::Form() const
{
    FeedbackForm form;
    form.choice = like_->isChecked() ? FeedbackChoice::Like
                  : dislike_->isChecked() ? FeedbackChoice::Dislike
                                          : FeedbackChoice::None;
    form.likeCaption = like_->text();
    form.dislikeCaption = dislike_->text();
    form.message = message_->toPlainText();
    form.email = email_->text();
    return form;
}

void FeedbackWindow::Send()
{
    const FeedbackForm form = Form();
    switch (CheckFeedback(form)) {
    case FeedbackProblem::EmptyMessage:
        message_->setFocus();
        Platform::Current().Beep();
        return;
    case FeedbackProblem::InvalidEmail:
        email_->setFocus();
        Platform::Current().MessageBox(Tr(QStringLiteral("Failure")), Tr(QStringLiteral("Invalid e-mail address!")),
                                       MessageIcon::Error);
        return;
    case FeedbackProblem::None:
        break;
    }
    send_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const QString host = host_;
    const FormFields fields = FeedbackFields(form);
    RunInBackground<bool>(
        this, [host, fields] { return SendFeedback(host, fields); },
        [this](const bool& delivered) {
            QApplication::restoreOverrideCursor();
            send_->setEnabled(true);
            if (delivered) {
                Platform::Current().MessageBox(
                    Tr(QStringLiteral("Success")),
                    Tr(QStringLiteral("Your feedback is received.")) + QStringLiteral("\r\r") +
                        Tr(QStringLiteral("Thank you!")),
                    MessageIcon::Information);
            } else {
                Platform::Current().MessageBox(
                    Tr(QStringLiteral("Failure")),
                    Tr(QStringLiteral("Something went wrong. Your feedback could not be delivered.")) +
                        QStringLiteral("\r\r") + Tr(QStringLiteral("Please try again later.")),
                    MessageIcon::Error);
            }
            emit sent(delivered);
            if (delivered)
                accept();
        });
}

}  // namespace lexicrawl::gui
