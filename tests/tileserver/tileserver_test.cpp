#include "support/tile_fixtures.h"
#include "tiles/http_client.h"

#include <gtest/gtest.h>

#include <QProcess>

using namespace zelvano;

namespace {

// The real zelvano-tileserver on a free loopback port.
class TileServerProcess {
public:
    explicit TileServerProcess(const QStringList& extra = {}) {
        process_.start(QStringLiteral(ZELVANO_TILESERVER),
                       QStringList{QStringLiteral("--port"), QStringLiteral("0")} + extra);
        while (process_.waitForReadyRead(10000)) {
            output_ += process_.readAllStandardOutput();
            const qsizetype colon = output_.lastIndexOf(':');
            if (output_.endsWith('\n') && colon > 0) {
                port_ = output_.mid(colon + 1).trimmed().toInt();
                break;
            }
        }
    }
    ~TileServerProcess() {
        closeThreadConnections();
        process_.kill();
        process_.waitForFinished();
    }
    int port() const { return port_; }
    HttpResult get(const QString& target) const {
        return httpGet(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(target), {});
    }

private:
    QProcess process_;
    QByteArray output_;
    int port_ = 0;
};

} // namespace

TEST(TileServer, AnswersEveryRequestFormWithATile) {
    TileServerProcess server;
    ASSERT_GT(server.port(), 0);
    struct Case {
        const char* target;
        const char* format;
    };
    const Case cases[] = {
        {"/kh?v=99&n=404&t=tq", "jpeg"},
        {"/kh?v=99&n=404&t=tsrrtsqrssqqttsrsrq", "jpeg"},
        {"/mt?n=404&v=w2.70&x=1&y=1&zoom=15", "png"},
        {"/mt?n=404&v=w2t.70&x=120591&y=78650&zoom=0", "png"},
        {"/mt?n=404&v=w2.70&x=3&y=3&zoom=-7", "png"},
        {"/tiles/a0123.jpeg?g=66", "jpeg"},
        {"/tiles/h03.jpeg?g=66", "jpeg"},
        {"/tiles/r3.jpeg?g=66", "png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const HttpResult r = server.get(QString::fromLatin1(c.target));
        ASSERT_TRUE(r.ok) << r.responseText.toStdString();
        EXPECT_EQ(r.body.startsWith("\xFF\xD8"), QByteArray(c.format) == "jpeg");
        EXPECT_EQ(r.body.startsWith("\x89PNG"), QByteArray(c.format) == "png");
        EXPECT_EQ(test::decoded(r.body).size(), QSize(256, 256));
    }
    // The north-west quarter of the world: the mid-Atlantic is water.
    const QImage quarter = test::decoded(server.get(QStringLiteral("/kh?t=tq")).body);
    const QColor atlantic = quarter.pixelColor(200, 180);
    EXPECT_GT(atlantic.blue(), atlantic.red() + 20);
    // A hybrid overlay is transparent away from its lines.
    const QImage overlay = test::decoded(server.get(QStringLiteral("/mt?v=w2t.70&x=1&y=1&zoom=15")).body);
    EXPECT_EQ(overlay.pixelColor(100, 100).alpha(), 0);

    for (const char* bad :
         {"/kh?t=tx", "/kh?t=", "/mt?v=w2.70&x=9&y=0&zoom=15", "/mt?x=1&y=1", "/tiles/a4.jpeg", "/other"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(server.get(QString::fromLatin1(bad)).status, 404);
    }
}

TEST(TileServer, FailsEveryNthRequestWhenAsked) {
    TileServerProcess server({QStringLiteral("--fail-every"), QStringLiteral("3")});
    ASSERT_GT(server.port(), 0);
    QList<int> statuses;
    for (int i = 0; i < 6; ++i)
        statuses.append(server.get(QStringLiteral("/kh?t=tqr")).status);
    EXPECT_EQ(statuses, (QList<int>{200, 200, 503, 200, 200, 503}));
    EXPECT_EQ(server.get(QStringLiteral("/kh?t=tqr")).ok, true);
    EXPECT_EQ(server.get(QStringLiteral("/kh?t=tqr")).ok, true);
    EXPECT_EQ(server.get(QStringLiteral("/kh?t=tqr")).responseText, QStringLiteral("503 Service Unavailable"));
}
