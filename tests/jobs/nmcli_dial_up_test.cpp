#include "jobs/nmcli_dial_up.h"

#include "support/qt_printers.h"
#include "support/stub_nmcli.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace zelvano;

namespace {

class NmcliTest : public ::testing::Test {
protected:
    QStringList calls() const { return stub.calls(); }

    test::StubNmcli stub;
    const test::TempProgramFolder& folder = stub.folder();
    NmcliDialUp dialUp;
};

} // namespace

TEST(NmcliTerse, EscapedColons) {
    EXPECT_EQ(splitTerseLine(QStringLiteral("My\\:Modem:bluetooth")), (QStringList{"My:Modem", "bluetooth"}));
    EXPECT_EQ(splitTerseLine(QStringLiteral("a\\\\b:gsm")), (QStringList{"a\\b", "gsm"}));
}

// Only the dial-up kinds are entries, in nmcli's order.
TEST_F(NmcliTest, EntriesAreTheDialUpProfiles) {
    EXPECT_EQ(dialUp.entryNames(), (QStringList{"Home DSL", "Phone", "My:Modem"}));
}

// The user name goes into the profile, the password only through a private file, never as an argument.
TEST_F(NmcliTest, DialPassesThePasswordThroughAFile) {
    const DialResult ok = dialUp.dial(QStringLiteral("Home DSL"), QStringLiteral("anna"), QStringLiteral("s3cret"));
    EXPECT_TRUE(ok.ok()) << ok.errorText.toStdString();
    const QStringList c = calls();
    ASSERT_EQ(c.size(), 3);
    EXPECT_EQ(c[1], QStringLiteral("connection modify id Home DSL pppoe.username anna"));
    EXPECT_TRUE(c[2].startsWith(QStringLiteral("--wait 120 connection up id Home DSL passwd-file ")))
        << c[2].toStdString();
    EXPECT_FALSE(c.join(u'\n').contains(QStringLiteral("s3cret")));
    EXPECT_EQ(folder.read(QStringLiteral("secrets")), "pppoe.password:s3cret\n");
    const QString passwordFile = c[2].section(u' ', -1);
    EXPECT_FALSE(QFile::exists(passwordFile)); // removed after the call
}

TEST_F(NmcliTest, FailuresCarryNmclisText) {
    stub.failDials();
    const DialResult failed = dialUp.dial(QStringLiteral("Phone"), QString(), QString());
    EXPECT_EQ(failed.code, 4);
    EXPECT_EQ(failed.errorText, QStringLiteral("Error: Connection activation failed: No modem found."));
    const DialResult unknown = dialUp.dial(QStringLiteral("Office VPN"), QString(), QString()); // not a dial-up kind
    EXPECT_FALSE(unknown.ok());
    EXPECT_TRUE(unknown.errorText.contains(QStringLiteral("Office VPN")));
}

TEST_F(NmcliTest, HangUpAllTakesEveryActiveDialUpDown) {
    folder.write(QStringLiteral("active"), "Phone:gsm\nWired:802-3-ethernet\n");
    EXPECT_EQ(dialUp.activeConnections(), QStringList{"Phone"});
    hangUpAll(dialUp);
    EXPECT_TRUE(calls().contains(QStringLiteral("connection down id Phone")));
    EXPECT_TRUE(dialUp.activeConnections().isEmpty());
}

// Without NetworkManager the error says so plainly.
TEST(NmcliMissing, NoNetworkManager) {
    NmcliDialUp dialUp(QStringLiteral("/nonexistent/nmcli"));
    EXPECT_TRUE(dialUp.entryNames().isEmpty());
    const DialResult r = dialUp.dial(QStringLiteral("Phone"), QString(), QString());
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.errorText.contains(QStringLiteral("NetworkManager"))) << r.errorText.toStdString();
}
