#pragma once
// One HTTP or HTTPS POST of form fields (UTF-8, URL-encoded as a browser
// encodes a form), for the program's own requests such as the feedback form.
// Unlike page fetches, certificates are verified: what is posted may hold
// the user's e-mail address.
//
// Thread-safety: may run on several threads at once; blocks the caller
// until the answer or a failure, within the two time-outs.
#include <QString>

#include <utility>
#include <vector>

namespace lexicrawl {

struct PostAnswer {
    bool answered = false;  // a status line arrived
    int statusCode = -1;
    QString body;           // the answer's body as text (UTF-8)
    QString error;          // why no answer came, or the status line of an error status
};

using FormFields = std::vector<std::pair<QString, QString>>;

// "name=value&..." with FormEncode applied to names and values.
QString EncodeForm(const FormFields& fields);

PostAnswer PostForm(const QString& url, const FormFields& fields, int connectTimeoutMs, int readTimeoutMs);

}  // namespace lexicrawl
