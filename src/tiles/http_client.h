// HTTP GET into memory on libcurl, for tile downloads. One connection-reusing handle per thread
// (keep-alive across the tiles a thread fetches); calls block the calling thread, never the UI. A stop
// requested on the caller's token ends the transfer at once, from any thread.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <stop_token>

namespace zelvano {

struct ProxySettings {
    bool use = false;
    QString host;
    QString port; // a decimal number; 0 when it is not one
    QString user;
    QString password;
};

// The limits of one request, named in one place.
struct HttpLimits {
    int connectTimeoutMs = 10'000;
    int totalTimeoutMs = 60'000;
    qint64 maxBodyBytes = 16 * 1024 * 1024; // a larger body is a fetch error
};

enum class HttpFailure {
    None,
    Status,    // the server answered with a status outside 200-299
    Transport, // no whole answer: connection, timeout, a broken transfer
    TooLarge,  // the body passed the cap
    Stopped,   // the caller asked to stop
};

struct HttpResult {
    bool ok = false;
    HttpFailure failure = HttpFailure::None;
    int status = 0;             // the HTTP status, 0 when no answer came
    QByteArray body;            // the body of a successful answer
    QString responseText;       // on failure: "404 Not Found", or what went wrong on the way
    int retryAfterSeconds = -1; // a 429 or 503 answer's Retry-After, in seconds from now; -1 without one
};

// A Retry-After value: delay seconds or an HTTP date, as seconds after `now`; -1 when it is neither.
int parseRetryAfter(const QByteArray& value, const QDateTime& now);

// "Zelvano/<version>"
QString userAgent();

// Closes the calling thread's open connections (a job at its end; tests before their server stops).
void closeThreadConnections();

// GETs the URL with the calling thread's handle. A status outside 200-299 is a failure.
HttpResult httpGet(const QString& url, const ProxySettings& proxy, const HttpLimits& limits = {},
                   std::stop_token stop = {});

} // namespace zelvano
