#pragma once
// The feedback form's rules: what is checked before sending, which fields
// are posted in which order, and how the delivery is tried (https first,
// http only when https gave no answer at all). The window only collects the
// user's input and shows the outcome.
//
// Thread-safety: pure functions, except SendFeedback, which blocks on the
// network (up to two attempts of 3000 ms + 3000 ms) and may run on any thread.
#include <QString>

#include "crawl/form_post.h"

namespace lexicrawl {

enum class FeedbackChoice { None, Like, Dislike };

struct FeedbackForm {
    FeedbackChoice choice = FeedbackChoice::None;
    QString likeCaption;     // the panels' captions as shown (translated)
    QString dislikeCaption;
    QString message;
    QString email;
};

enum class FeedbackProblem { None, EmptyMessage, InvalidEmail };

// The whole address must match ^[a-zA-Z0-9_.+-]+@[a-zA-Z0-9-]+\.[a-zA-Z0-9-.]*[a-zA-Z0-9]+$
bool IsValidEmail(const QString& address);
// An empty message (spaces only count as empty) or a malformed address.
FeedbackProblem CheckFeedback(const FeedbackForm& form);
// cmd, appname, version, feedback (the choice line, then the message) and,
// when an address was given, email.
FormFields FeedbackFields(const FeedbackForm& form);
// Posts the fields to https://host/php/feedback.php, and to http:// when the
// first attempt got no answer. Delivered exactly when the answer, trimmed, is "OK".
bool SendFeedback(const QString& host, const FormFields& fields);

}  // namespace lexicrawl
