#include "app/core/feedback.h"

#include <QRegularExpression>

#include "app/core/app_identity.h"
#include "platform/text.h"

namespace lexicrawl {

namespace {

constexpr int kTimeoutMs = 3000;
const QString kPath = QStringLiteral("/php/feedback.php");

// The English text always reaches the server, followed by the translation
// the user saw when there is one.
QString ChoiceText(const QString& english, const QString& caption)
{
    return caption == english ? english : english + QStringLiteral(" (") + caption + QLatin1Char(')');
}

}  // namespace

bool IsValidEmail(const QString& address)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[a-zA-Z0-9_.+-]+@[a-zA-Z0-9-]+\\.[a-zA-Z0-9-.]*[a-zA-Z0-9]+$"));
    return pattern.match(address).hasMatch();
}

FeedbackProblem CheckFeedback(const FeedbackForm& form)
{
    if (TrimCtl(form.message).isEmpty())
        return FeedbackProblem::EmptyMessage;
    const QString email = TrimCtl(form.email);
    if (!email.isEmpty() && !IsValidEmail(email))
        return FeedbackProblem::InvalidEmail;
    return FeedbackProblem::None;
}

FormFields FeedbackFields(const FeedbackForm& form)
{
    QString feedback;
    if (form.choice == FeedbackChoice::Like)
        feedback = ChoiceText(QStringLiteral("I like it!"), form.likeCaption) + QLatin1Char('\r');
    else if (form.choice == FeedbackChoice::Dislike)
        feedback = ChoiceText(QStringLiteral("I dislike it!"), form.dislikeCaption) + QLatin1Char('\r');
    feedback += TrimCtl(form.message);
    FormFields fields{{QStringLiteral("cmd"), QStringLiteral("feedback")},
                      {QStringLiteral("appname"), ApplicationTitle()},
                      {QStringLiteral("version"), VersionText()},
                      {QStringLiteral("feedback"), feedback}};
    const QString email = TrimCtl(form.email);
    if (!email.isEmpty())
        fields.push_back({QStringLiteral("email"), email});
    return fields;
}

bool SendFeedback(const QString& host, const FormFields& fields)
{
    // Never again in plain text when https fails: whoever made it fail could
    // then read the message and the address.
    const QString origin = host.contains(QLatin1String("://")) ? host : QStringLiteral("https://") + host;
    const PostAnswer answer = PostForm(origin + kPath, fields, kTimeoutMs, kTimeoutMs);
    return answer.answered && answer.statusCode < 400 && answer.body.trimmed() == QLatin1String("OK");
}

}  // namespace lexicrawl
