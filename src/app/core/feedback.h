#pragma once
// The feedback form's rules: what is checked before sending, which fields
// are posted in which order, and where they are delivered (over https
// only). The window only collects the
// user's input and shows the outcome.
//
// Thread-safety: pure functions, except SendFeedback, which blocks on the
// network (3000 ms + 3000 ms at most) and may run on any thread.
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
// Posts the fields to https://host/php/feedback.php (host may name its own
// scheme, "http://127.0.0.1:8080", for a test server), once: a failed https
// attempt is never repeated over plain http. Delivered exactly when the
// answer has no error status and, trimmed, is "OK".
bool SendFeedback(const QString& host, const FormFields& fields);

}  // namespace lexicrawl
