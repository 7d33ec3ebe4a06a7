#include "crawl/form_post.h"

#include <curl/curl.h>

#include <memory>

#include "crawl/url_text.h"

namespace lexicrawl {

namespace {

struct Easy {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct List {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

size_t Collect(char* data, size_t size, size_t count, void* target)
{
    auto* body = static_cast<QByteArray*>(target);
    const size_t length = size * count;
    if (body->size() + qsizetype(length) > 1024 * 1024)
        return 0;  // an answer to a form is short
    body->append(data, qsizetype(length));
    return length;
}

}  // namespace

QString EncodeForm(const FormFields& fields)
{
    QString form;
    for (const auto& [name, value] : fields) {
        if (!form.isEmpty())
            form += QLatin1Char('&');
        form += FormEncode(name) + QLatin1Char('=') + FormEncode(value);
    }
    return form;
}

PostAnswer PostForm(const QString& url, const FormFields& fields, int connectTimeoutMs, int readTimeoutMs)
{
    PostAnswer answer;
    std::unique_ptr<CURL, Easy> easy(curl_easy_init());
    std::unique_ptr<curl_slist, List> headers(curl_slist_append(nullptr, "Connection: close"));
    if (!easy || !headers) {
        answer.error = QStringLiteral("The HTTP client could not be created");
        return answer;
    }
    const QByteArray target = url.toUtf8();
    const QByteArray form = EncodeForm(fields).toLatin1();  // all ASCII once encoded
    QByteArray body;
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(easy.get(), CURLOPT_URL, target.constData());
    curl_easy_setopt(easy.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDS, form.constData());
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE, long(form.size()));
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_CONNECTTIMEOUT_MS, long(connectTimeoutMs));
    curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT_MS, long(connectTimeoutMs) + long(readTimeoutMs));
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(easy.get(), CURLOPT_ERRORBUFFER, errorText);
    const CURLcode result = curl_easy_perform(easy.get());
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status > 0) {
        answer.answered = true;
        answer.statusCode = int(status);
        answer.body = QString::fromUtf8(body);
    }
    if (result != CURLE_OK && !answer.answered)
        answer.error = QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(result));
    return answer;
}

}  // namespace lexicrawl
