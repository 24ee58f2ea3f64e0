#include "tiles/http_client.h"

#include "base/number_text.h"

#include <QList>

#include <curl/curl.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <mutex>

namespace zelvano {

namespace {

// One transfer handle in a multi handle of its own: the multi handle keeps the connections open between
// requests, and its poll can be woken from another thread when the caller asks to stop.
struct CurlHandle {
    CurlHandle() {
        static std::once_flag once;
        std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        multi = curl_multi_init();
        easy = curl_easy_init();
    }
    ~CurlHandle() {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
    }
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
};

// The calling thread's handles.
std::unique_ptr<CurlHandle>& threadSlot() {
    thread_local std::unique_ptr<CurlHandle> slot;
    return slot;
}

CurlHandle* threadHandle() {
    auto& slot = threadSlot();
    if (!slot) slot = std::make_unique<CurlHandle>();
    return slot->multi && slot->easy ? slot.get() : nullptr;
}

// Runs the transfer until it ends or a stop is requested; the stop wakes the poll at once.
CURLcode perform(CurlHandle& curl, const std::stop_token& stop, bool& stopped) {
    if (curl_multi_add_handle(curl.multi, curl.easy) != CURLM_OK) return CURLE_FAILED_INIT;
    const std::stop_callback wake(stop, [multi = curl.multi] { curl_multi_wakeup(multi); });
    CURLcode code = CURLE_OK;
    for (int running = 1;;) {
        if (stop.stop_requested()) {
            stopped = true;
            break;
        }
        if (curl_multi_perform(curl.multi, &running) != CURLM_OK) {
            code = CURLE_RECV_ERROR;
            break;
        }
        if (running == 0) {
            int left = 0;
            while (const CURLMsg* message = curl_multi_info_read(curl.multi, &left))
                if (message->msg == CURLMSG_DONE && message->easy_handle == curl.easy) code = message->data.result;
            break;
        }
        if (curl_multi_poll(curl.multi, nullptr, 0, 1000, nullptr) != CURLM_OK) {
            code = CURLE_RECV_ERROR;
            break;
        }
    }
    curl_multi_remove_handle(curl.multi, curl.easy); // an unfinished transfer's connection is closed
    return code;
}

struct Transfer {
    QByteArray body;
    qint64 cap = 0;
    bool overCap = false;
    QString reason;        // the reason phrase of the last status line
    QByteArray retryAfter; // the last answer's Retry-After header
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (t->body.size() + static_cast<qint64>(n) > t->cap) {
        t->overCap = true;
        return 0; // aborts the transfer
    }
    t->body.append(data, static_cast<qsizetype>(n));
    return n;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    const QByteArray line = QByteArray(data, static_cast<qsizetype>(n)).trimmed();
    if (line.startsWith("HTTP/")) {
        const QList<QByteArray> parts = line.split(' ');
        t->reason = parts.size() > 2 ? QString::fromLatin1(line.mid(parts[0].size() + parts[1].size() + 2)) : QString();
        t->body.clear(); // a new answer (after a redirect or a 100 Continue) starts here
        t->retryAfter.clear();
    } else if (line.size() > 12 && line.first(12).toLower() == "retry-after:") {
        t->retryAfter = line.mid(12).trimmed();
    }
    return n;
}

} // namespace

void closeThreadConnections() {
    threadSlot().reset();
}

int parseRetryAfter(const QByteArray& value, const QDateTime& now) {
    bool isNumber = false;
    const qlonglong seconds = value.toLongLong(&isNumber);
    if (isNumber) return seconds < 0 ? -1 : static_cast<int>(std::min<qlonglong>(seconds, INT_MAX));
    QString date = QString::fromLatin1(value);
    if (date.endsWith(QLatin1StringView(" GMT")))
        date = date.chopped(4) + QStringLiteral(" +0000"); // as HTTP writes it
    const QDateTime at = QDateTime::fromString(date, Qt::RFC2822Date);
    if (!at.isValid()) return -1;
    return static_cast<int>(std::clamp<qint64>(now.secsTo(at), 0, INT_MAX));
}

QString userAgent() {
    return QStringLiteral("Zelvano/" ZELVANO_VERSION);
}

HttpResult httpGet(const QString& url, const ProxySettings& proxy, const HttpLimits& limits, std::stop_token stop) {
    HttpResult result;
    CurlHandle* handles = threadHandle();
    if (!handles) {
        result.failure = HttpFailure::Transport;
        result.responseText = QStringLiteral("HTTP client unavailable");
        return result;
    }
    CURL* curl = handles->easy;
    curl_easy_reset(curl); // keeps the open connections, forgets the previous request's options
    const QByteArray urlBytes = url.toUtf8();
    const QByteArray agent = userAgent().toUtf8();
    Transfer transfer;
    transfer.cap = limits.maxBodyBytes;
    char error[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_URL, urlBytes.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);

    const QByteArray proxyHost = proxy.host.toUtf8();
    const QByteArray proxyUser = proxy.user.toUtf8();
    const QByteArray proxyPassword = proxy.password.toUtf8();
    if (proxy.use) {
        curl_easy_setopt(curl, CURLOPT_PROXY, proxyHost.constData());
        curl_easy_setopt(curl, CURLOPT_PROXYPORT, static_cast<long>(parseInt32(proxy.port).value_or(0)));
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, proxyUser.constData());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, proxyPassword.constData());
        curl_easy_setopt(curl, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
    } else {
        curl_easy_setopt(curl, CURLOPT_PROXY, ""); // not even one from the environment
    }

    bool stopped = false;
    const CURLcode code = perform(*handles, stop, stopped);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    result.status = static_cast<int>(status);
    if (stopped) {
        result.failure = HttpFailure::Stopped;
        result.responseText = QStringLiteral("stopped");
        return result;
    }
    if (code != CURLE_OK) {
        if (transfer.overCap || code == CURLE_FILESIZE_EXCEEDED) {
            result.failure = HttpFailure::TooLarge;
            result.responseText = QStringLiteral("answer larger than %1 bytes").arg(limits.maxBodyBytes);
        } else {
            result.failure = HttpFailure::Transport;
            result.responseText = QString::fromUtf8(error[0] ? error : curl_easy_strerror(code));
        }
        return result;
    }
    if (status < 200 || status > 299) {
        result.failure = HttpFailure::Status;
        result.responseText = QString::number(status);
        if (!transfer.reason.isEmpty()) result.responseText += u' ' + transfer.reason;
        if ((status == 429 || status == 503) && !transfer.retryAfter.isEmpty())
            result.retryAfterSeconds = parseRetryAfter(transfer.retryAfter, QDateTime::currentDateTimeUtc());
        return result;
    }
    result.ok = true;
    result.body = std::move(transfer.body);
    return result;
}

} // namespace zelvano
