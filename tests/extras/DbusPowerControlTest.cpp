// The power-off request travels over a private D-Bus daemon started here, to a stand-in for
// logind registered by the test. The real system bus is never reached: the test main points
// DBUS_SYSTEM_BUS_ADDRESS nowhere, this suite points it at its own daemon before anything
// opens the system bus, and every case checks who owns the logind name before it asks.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <atomic>
#include <memory>

#include "extras/DbusPowerControl.h"
#include "support/PrivateBus.h"
#include "support/TestSupport.h"

namespace orvalis {
namespace {

constexpr const char* kLogin1 = "org.freedesktop.login1";

class FakeLogin1 : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    std::atomic<int> calls{0};
    std::atomic<int> interactiveCalls{0};
    std::atomic<bool> refuse{false};

public slots:
    void PowerOff(bool interactive) {
        ++calls;
        if (interactive) ++interactiveCalls;
        if (refuse) sendErrorReply(QDBusError::AccessDenied, QStringLiteral("not allowed"));
    }
};

// logind lives in another process; here it lives in another thread with a connection of
// its own, so that a caller blocking on its answer does not block the answer.
class Login1Thread : public QThread {
public:
    explicit Login1Thread(QString address) : address_(std::move(address)) {}
    FakeLogin1* service() { return service_.get(); }
    QString owner;
    std::atomic<bool> ready{false};

protected:
    void run() override {
        service_ = std::make_unique<FakeLogin1>();
        {
            QDBusConnection bus = QDBusConnection::connectToBus(address_, "fake-login1");
            if (bus.registerService(kLogin1) &&
                bus.registerObject("/org/freedesktop/login1", service_.get(),
                                   QDBusConnection::ExportAllSlots)) {
                owner = bus.baseService();
                ready = true;
            }
        }
        exec();
        QDBusConnection::disconnectFromBus("fake-login1");
    }

private:
    QString address_;
    std::unique_ptr<FakeLogin1> service_;
};

class DbusPowerControlTest : public ::testing::Test {
protected:
    static inline test::PrivateBus* bus = nullptr;
    static inline Login1Thread* login1 = nullptr;
    static inline QString address;

    static void SetUpTestSuite() {
        bus = new test::PrivateBus("system");
        address = bus->address();
        ASSERT_FALSE(address.isEmpty()) << bus->error;
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8().constData(), 1);
        login1 = new Login1Thread(address);
        login1->start();
        ASSERT_TRUE(test::waitUntil([] { return login1->ready.load(); }, 10000));
    }

    static void TearDownTestSuite() {
        if (login1) {
            login1->quit();
            login1->wait();
            delete login1;
            login1 = nullptr;
        }
        delete bus;
        bus = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(login1 && login1->ready);
        // The one safety that matters: logind's name on "the system bus" is our stand-in.
        QDBusConnection system = QDBusConnection::systemBus();
        ASSERT_TRUE(system.isConnected());
        ASSERT_EQ(system.interface()->serviceOwner(kLogin1).value(), login1->owner);
        login1->service()->calls = 0;
        login1->service()->interactiveCalls = 0;
        login1->service()->refuse = false;
    }
};

// Asked without waiting, logind answers over the bus; a refusal is answered too, and the end
// of the program can wait for it and say why nothing happened.
TEST_F(DbusPowerControlTest, AsksLogindToPowerOffAndHearsItsAnswer) {
    std::vector<std::pair<bool, QString>> answers;
    auto ask = [&](DbusPowerControl& power) {
        QObject::connect(&power, &DbusPowerControl::answered, [&](bool ok, const QString& message) {
            answers.emplace_back(ok, message);
        });
        power.powerOff();
        EXPECT_TRUE(power.requestSent());
    };
    DbusPowerControl power;
    ask(power);
    ASSERT_TRUE(test::waitUntil([&] { return answers.size() == 1; }));
    EXPECT_TRUE(answers[0].first);
    EXPECT_EQ(login1->service()->calls, 1);
    EXPECT_EQ(login1->service()->interactiveCalls, 0);

    login1->service()->refuse = true;
    DbusPowerControl refused;
    ask(refused);
    // What main does once its event loop has ended.
    testing::internal::CaptureStderr();
    finishPowerOff(refused);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("not allowed"), std::string::npos) << said;
    EXPECT_EQ(refused.errorText(), "not allowed");
    EXPECT_FALSE(refused.waitForAnswer());
    EXPECT_EQ(login1->service()->calls, 2);
    ASSERT_TRUE(test::waitUntil([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers[1], std::make_pair(false, QString("not allowed")));
}

TEST(DbusPowerControlNoBus, WithoutABusNothingHappens) {
    QDBusConnection nowhere = QDBusConnection::connectToBus(
        QString::fromStdString("unix:path=" + test::privateHome() + "/no-such-bus"), "nowhere");
    ASSERT_FALSE(nowhere.isConnected());
    DbusPowerControl power(nowhere);
    bool answered = false;
    bool accepted = true;
    QObject::connect(&power, &DbusPowerControl::answered, [&](bool ok, const QString&) {
        answered = true;
        accepted = ok;
    });
    power.powerOff();
    EXPECT_TRUE(answered);
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(power.requestSent());
    EXPECT_FALSE(power.waitForAnswer());
    testing::internal::CaptureStderr();
    finishPowerOff(power);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    QDBusConnection::disconnectFromBus("nowhere");
}

}  // namespace
}  // namespace orvalis

#include "DbusPowerControlTest.moc"
