// A loopback HTTP server for tests (127.0.0.1, a free port) that answers with scripted responses and
// records every request target it received. Handlers run on the server's own threads.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace zelvano::test {

struct ScriptedAnswer {
    int status = 200;
    QByteArray body;
    std::string contentType = "image/jpeg";
    int delayMs = 0;          // the server waits this long before answering
    bool dropHalfway = false; // announces the whole body, sends half of it and closes the connection
    std::vector<std::pair<std::string, std::string>> headers = {}; // sent besides the content type
};

class TestTileServer {
public:
    TestTileServer();
    ~TestTileServer();

    int port() const { return port_; }
    QString base() const; // "http://127.0.0.1:<port>"

    // The answer to one request target (path and query); other targets get 404 unless a fallback is set.
    void answer(const QString& target, ScriptedAnswer a);
    void setFallback(std::function<ScriptedAnswer(const std::string& target)> fallback);

    QStringList requests() const;
    int count(const QString& target) const;
    // A header of every request received, in order ("" where a request lacked it).
    QStringList headers(const std::string& name) const;

private:
    ScriptedAnswer answerFor(const std::string& target, const std::multimap<std::string, std::string>& headers);

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, ScriptedAnswer> answers_;
    std::function<ScriptedAnswer(const std::string&)> fallback_;
    QStringList requests_;
    std::vector<std::multimap<std::string, std::string>> headers_;
};

} // namespace zelvano::test
