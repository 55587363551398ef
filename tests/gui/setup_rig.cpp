#include "setup_rig.h"

#include <QProgressBar>
#include <QtTest>

#include "calendar_test_util.h"
#include "protocol/protocol.h"
#include "res/resource.h"
#include "tests/support/test_globals.h"
#include "tests/support/test_simulator.h"

SetupRig::SetupRig(int model, const SimulatorFaults& faults, LocalTime today) : sim(model, faults)
{
    ResetTestGlobals();
    PrepareTestSimulator(sim);
    std::string error;
    if (!sim.Start(error)) {
        qWarning("simulator: %s", error.c_str());
        return;
    }
    dlg.SetMessageSink([this](const QString& text) { messages << text; });
    dlg.SetClock([today] { return today; });
    // Long enough for any reply of the simulator, short enough for the silence tests.
    dlg.SetSilenceTimeout(1000);
    dlg.PresetPort(sim.RegisterPort(), model);
    dlg.show();
    dlg.grab();  // one paint, so the calendars know where their days are
    Click(IDC_PORT_OPEN);
    started = dlg.m_comm.m_bRunning != 0;
}

QStringList SetupRig::Frames() const
{
    QStringList frames;
    for (const ReceivedFrame& received : sim.Received()) frames << QString::fromStdString(received.frame);
    return frames;
}

QString SetupRig::Progress() const
{
    const auto* bar = dlg.GetDlgItemAs<QProgressBar>(IDC_PROGRESS);
    return bar->isVisible() ? bar->text() : QString();
}

void SetupRig::Click(int id)
{
    QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton);
}

void SetupRig::ClickDay(int month, int day)
{
    CCalendarCtrl& calendar = dlg.m_calendar[month - 1];
    QTest::mouseClick(&calendar, Qt::LeftButton, {}, DayPoint(calendar, day));
}

bool SetupRig::Connect()
{
    Click(IDC_SYSTEM_CONNECT);
    return QTest::qWaitFor([this] { return Text(IDC_STATUS) == QString::fromUtf8(TEXT_CONNECTED); }, 5000);
}

void SetupRig::OnlyMarkedDays(const QList<QPair<int, int>>& days)
{
    Click(IDC_UNSET_SUNDAY);
    Click(IDC_UNSET_HOLIDAY);
    for (const auto& [month, day] : days) ClickDay(month, day);
}

QString TotalText(int total)
{
    return QStringLiteral("    총휴일수 : %1 일").arg(total, 5);
}
