#include "tiles/fetch_fixture.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace zelvano;
using namespace zelvano::test;

namespace {

int freeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

// A real tinyproxy on a free loopback port that asks for basic authentication. Another program may take
// the port between its choice and tinyproxy's bind: then tinyproxy ends, and it starts again on another.
class Tinyproxy {
public:
    Tinyproxy() {
        for (int attempt = 0; attempt < 5 && !running(); ++attempt)
            start(freeLoopbackPort());
    }
    ~Tinyproxy() { stop(); }
    bool running() const { return process_.state() == QProcess::Running && accepts(port_); }
    int port() const { return port_; }

private:
    void start(int port) {
        stop();
        port_ = port;
        const QString conf = dir_.filePath(QStringLiteral("tinyproxy.conf"));
        QFile file(conf);
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("Port %1\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\nAllow 127.0.0.1\n"
                                  "BasicAuth zelvano s3cret\nLogLevel Info\n")
                       .arg(port_)
                       .toUtf8());
        file.close();
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QStringLiteral("tinyproxy"), {QStringLiteral("-d"), QStringLiteral("-c"), conf});
        // The process counts as Running only once QProcess has noticed its start, and tinyproxy may accept
        // connections before that: wait for the start first, then for the port.
        QDeadlineTimer deadline(10000);
        if (!process_.waitForStarted(10000)) return;
        while (process_.state() != QProcess::NotRunning && !accepts(port_) && !deadline.hasExpired())
            process_.waitForReadyRead(50);
    }
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished();
    }

    QTemporaryDir dir_;
    int port_ = 0;
    QProcess process_;
};

} // namespace

class ProxyTest : public FetchFixture {};

TEST_F(ProxyTest, DownloadsThroughAnAuthenticatingProxy) {
    Tinyproxy proxy;
    ASSERT_TRUE(proxy.running()) << "tinyproxy did not start (scripts/setup installs it)";
    struct Case {
        const char* password;
        bool ok;
    };
    int level = 4;
    for (const Case c : {Case{"s3cret", true}, Case{"wrong", false}}) {
        SCOPED_TRACE(c.password);
        settings.proxy = {true, QStringLiteral("127.0.0.1"), QString::number(proxy.port()), QStringLiteral("zelvano"),
                          QString::fromLatin1(c.password)};
        refreshContext();
        jtype r = record(++level, 30, 40);
        server.answer(target(r.satRequest), {200, jpegTile(level)});
        job.log.clear();
        counters = {};
        EXPECT_EQ(fetch(r, jobOptions(), &job).usable, c.ok);
        if (c.ok) {
            EXPECT_EQ(fileBytes(r.satPath), jpegTile(level));
            ASSERT_EQ(server.headers("Via").size(), 1);
            EXPECT_TRUE(server.headers("Via")[0].contains(QLatin1String("tinyproxy")));
        } else {
            EXPECT_EQ(counters.fetchErrors, 1);
            ASSERT_EQ(job.log.size(), 1);
            EXPECT_TRUE(job.log[0].startsWith(text(24) + QStringLiteral(" 401"))) << job.log[0].toStdString();
            EXPECT_EQ(server.requests().size(), 1); // the proxy let nothing through
        }
    }
}
