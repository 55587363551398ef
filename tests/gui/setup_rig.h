// The main dialog wired to a simulated terminal on a real pseudo-terminal, for end-to-end tests.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QStringList>
#include <QTimer>

#include "app/setup_dlg.h"
#include "sim/terminal_simulator.h"

// The clock every rig's dialog reads: Thursday 14 May 2026, 10:30:00.
inline constexpr LocalTime RIG_TODAY = {2026, 5, 14, 10, 30, 0};

class SetupRig {
public:
    // Starts the simulator, shows the dialog with the simulator's port and model preset (as
    // --simulate does) and opens the port. Message boxes are collected in `messages`.
    explicit SetupRig(int model, const SimulatorFaults& faults = {}, LocalTime today = RIG_TODAY);

    bool started = false;
    CTerminalSimulator sim;
    CSetupDlg dlg;
    QStringList messages;

    // Frame texts the terminal received, delimiters stripped (ZEFA-101 frames keep their '#').
    QStringList Frames() const;
    QString Text(int id) const { return dlg.GetDlgItemAs<QLabel>(id)->text(); }
    // The progress line under the status as the operator reads it; empty while it is hidden.
    QString Progress() const;
    void Click(int id);
    // Clicks a day in its month's calendar, toggling its mark.
    void ClickDay(int month, int day);
    // Connects and waits for "연결 성공".
    bool Connect();
    // Marks days by clicking them, unsets Sundays and the national holidays: only they count.
    void OnlyMarkedDays(const QList<QPair<int, int>>& days);
};

// Runs `answer` on the modal dialog of type T as soon as one opens.
template <class T, class Answer>
void WhenModal(Answer answer)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = dynamic_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
        }
    });
    poll->start();
}

// Total caption as the operator reads it.
QString TotalText(int total);
