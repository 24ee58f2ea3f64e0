#include "support/test_tile_server.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

namespace zelvano::test {

TestTileServer::TestTileServer() : server_(std::make_unique<httplib::Server>()) {
    server_->Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
        const ScriptedAnswer a =
            answerFor(req.target, std::multimap<std::string, std::string>(req.headers.begin(), req.headers.end()));
        if (a.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(a.delayMs));
        res.status = a.status;
        for (const auto& [name, value] : a.headers)
            res.set_header(name, value);
        if (a.dropHalfway) {
            const auto body = std::make_shared<std::string>(a.body.toStdString());
            res.set_content_provider(body->size(), a.contentType,
                                     [body](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (offset > 0) return false;
                                         sink.write(body->data(), body->size() / 2);
                                         return false; // closes the connection
                                     });
        } else {
            res.set_content(a.body.toStdString(), a.contentType);
        }
    });
    server_->set_keep_alive_timeout(1);
    server_->set_tcp_nodelay(true);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("test tile server cannot bind");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
}

TestTileServer::~TestTileServer() {
    // The socket listens from bind on; stopping before the accept loop runs would leave it running.
    while (!server_->is_running())
        std::this_thread::yield();
    server_->stop();
    thread_.join();
}

QString TestTileServer::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

void TestTileServer::answer(const QString& target, ScriptedAnswer a) {
    std::lock_guard lock(mutex_);
    answers_[target.toStdString()] = std::move(a);
}

void TestTileServer::setFallback(std::function<ScriptedAnswer(const std::string&)> fallback) {
    std::lock_guard lock(mutex_);
    fallback_ = std::move(fallback);
}

QStringList TestTileServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int TestTileServer::count(const QString& target) const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(requests_.count(target));
}

QStringList TestTileServer::headers(const std::string& name) const {
    std::lock_guard lock(mutex_);
    QStringList values;
    for (const auto& h : headers_) {
        const auto it = h.find(name);
        values.append(it == h.end() ? QString() : QString::fromStdString(it->second));
    }
    return values;
}

ScriptedAnswer TestTileServer::answerFor(const std::string& target,
                                         const std::multimap<std::string, std::string>& headers) {
    std::lock_guard lock(mutex_);
    requests_.append(QString::fromStdString(target));
    headers_.push_back(headers);
    if (const auto it = answers_.find(target); it != answers_.end()) return it->second;
    if (fallback_) return fallback_(target);
    return {404, "not here", "text/plain"};
}

} // namespace zelvano::test
