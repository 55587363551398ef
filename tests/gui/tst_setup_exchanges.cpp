// One exchange at a time, and every exchange ends clean: the dialog against a terminal played
// byte by byte on a pseudo-terminal, and against the simulator.
#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>

#include "protocol/protocol.h"
#include "protocol/terminal_model.h"
#include "res/resource.h"
#include "setup_rig.h"
#include "tests/support/pty_peer.h"
#include "tests/support/test_globals.h"

namespace {

const QString NO_REPLY = QString::fromUtf8(TEXT_NO_REPLY);

// The buttons that start an exchange, and controls that stay usable during one.
constexpr int COMMANDS[] = {IDC_SET_TIME,  IDC_DATA_READ,        IDC_DATA_DELETE,
                            IDC_DATA_SEND, IDC_HOLIDAY_WEEKDAYS, IDC_LOAN_PERIOD};
constexpr int ALWAYS[] = {IDC_NEXT_YEAR, IDC_PREV_YEAR, IDC_UNSET_SUNDAY, IDC_UNSET_HOLIDAY, IDC_MODEL_101};

bool Enabled(const CSetupDlg& dlg, std::initializer_list<int> ids)
{
    for (int id : ids) {
        if (!dlg.GetDlgItem(id)->isEnabled()) return false;
    }
    return true;
}

bool AnyEnabled(const CSetupDlg& dlg, const int (&ids)[6])
{
    for (int id : ids) {
        if (dlg.GetDlgItem(id)->isEnabled()) return true;
    }
    return false;
}

// The dialog on a port whose far end the test plays itself.
struct PeerRig {
    explicit PeerRig(int model)
    {
        ResetTestGlobals();
        dlg.SetMessageSink([this](const QString& text) { messages << text; });
        dlg.SetSilenceTimeout(150);
        dlg.PresetPort(g_portMap.Add(peer.SlavePath()), model);
        dlg.show();
        QTest::mouseClick(dlg.GetDlgItem(IDC_PORT_OPEN), Qt::LeftButton);
    }
    QString LastConsoleLine() const { return dlg.m_console.Lines().value(dlg.m_console.Lines().size() - 1); }

    PtyPeer peer;
    CSetupDlg dlg;
    QStringList messages;
};

}  // namespace

class TestSetupExchanges : public QObject {
    Q_OBJECT
private slots:
    void abandonedReplyLeavesNothingBehind_data();
    void abandonedReplyLeavesNothingBehind();
    void heldConnectWaitsForTheTerminal();
    void oneExchangeAtATime();
    void closingDuringAnUploadAsksFirst();
};

void TestSetupExchanges::abandonedReplyLeavesNothingBehind_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("cutReply");
    QTest::addColumn<QByteArray>("ok");
    QTest::newRow("ZEFA-101") << MODEL_ZEFA101 << QByteArray("#RD0101\r\n") << QByteArray("OK\r\n");
    QTest::newRow("ZEFA-102") << MODEL_ZEFA102 << QByteArray("\x02RD01") << QByteArray("\x02OK\x03");
}

void TestSetupExchanges::abandonedReplyLeavesNothingBehind()
{
    QFETCH(int, model);
    QFETCH(QByteArray, cutReply);
    QFETCH(QByteArray, ok);
    PeerRig rig(model);
    g_bConnected = 1;
    QTest::mouseClick(rig.dlg.GetDlgItem(IDC_DATA_READ), Qt::LeftButton);
    rig.peer.Send(cutReply.toStdString());
    QTRY_COMPARE(rig.messages.size(), 1);
    QVERIFY(rig.messages[0].startsWith(NO_REPLY));
    rig.peer.Send(ok.toStdString());
    QTRY_COMPARE(rig.LastConsoleLine(), QStringLiteral("[RX]=>(2)OK"));
}

void TestSetupExchanges::heldConnectWaitsForTheTerminal()
{
    PeerRig rig(MODEL_ZEFA101);
    QTest::mouseClick(rig.dlg.GetDlgItem(IDC_SYSTEM_CONNECT), Qt::LeftButton);
    QTest::qWait(1000);  // many time-outs long: a held connect has none
    QVERIFY(rig.messages.isEmpty());
    QVERIFY(!AnyEnabled(rig.dlg, COMMANDS));
    QVERIFY(Enabled(rig.dlg, {IDC_SYSTEM_CONNECT}));

    rig.peer.Send("#ZEFA-101 READY\r\n");
    std::string answer;  // read without blocking the dialog's event loop
    QTRY_VERIFY((answer += rig.peer.Receive(4 - answer.size(), std::chrono::milliseconds(10))).size() == 4);
    QCOMPARE(answer, std::string("#E\r\n"));
    rig.peer.Send("OK\r\n");
    QTRY_COMPARE(rig.dlg.GetDlgItemAs<QLabel>(IDC_STATUS)->text(), QString::fromUtf8(TEXT_CONNECTED));
    QVERIFY(Enabled(rig.dlg, {IDC_SET_TIME, IDC_DATA_READ, IDC_DATA_SEND}));
    QVERIFY(rig.messages.isEmpty());
}

void TestSetupExchanges::oneExchangeAtATime()
{
    SetupRig rig(MODEL_ZEFA102, {.baudRate = 1200});
    QVERIFY(rig.started);
    QVERIFY(rig.Connect());
    rig.Click(IDC_UNSET_HOLIDAY);  // the 52 Sundays
    rig.Click(IDC_DATA_SEND);
    QVERIFY(!AnyEnabled(rig.dlg, COMMANDS));
    QVERIFY(!rig.dlg.GetDlgItem(IDC_SYSTEM_CONNECT)->isEnabled());
    for (int id : ALWAYS) QVERIFY2(rig.dlg.GetDlgItem(id)->isEnabled(), qPrintable(QString::number(id)));
    QCOMPARE(rig.Progress().left(7), QStringLiteral("데이터 전송 "));

    QTRY_COMPARE_WITH_TIMEOUT(rig.Progress(), QStringLiteral("데이터 전송 완료 52 / 52"), 20000);
    QVERIFY(Enabled(rig.dlg, {IDC_SYSTEM_CONNECT, IDC_SET_TIME, IDC_DATA_READ, IDC_DATA_SEND}));
    rig.Click(IDC_NEXT_YEAR);  // another year: the line is cleared
    QCOMPARE(rig.Progress(), QString());
}

void TestSetupExchanges::closingDuringAnUploadAsksFirst()
{
    SetupRig rig(MODEL_ZEFA102, {.baudRate = 600});
    QVERIFY(rig.started);
    QVERIFY(rig.Connect());
    rig.Click(IDC_DATA_SEND);
    QString asked;
    WhenModal<QMessageBox>([&](QMessageBox& box) {
        asked = box.text();
        box.button(QMessageBox::No)->click();
    });
    rig.dlg.close();
    QCOMPARE(asked, QString::fromUtf8(TEXT_CLOSE_WHILE_SENDING));
    QVERIFY(rig.dlg.isVisible());
    QVERIFY(GetUploadProgress().running);

    WhenModal<QMessageBox>([&](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
    QTest::keyClick(&rig.dlg, Qt::Key_Escape);
    QVERIFY(!rig.dlg.isVisible());
}

QTEST_MAIN(TestSetupExchanges)
#include "tst_setup_exchanges.moc"
