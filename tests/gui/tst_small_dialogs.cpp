#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "app/about_dlg.h"
#include "app/loan_period_dlg.h"
#include "app/weekday_dlg.h"
#include "modal_watch.h"
#include "res/resource.h"

class TestSmallDialogs : public QObject {
    Q_OBJECT
private slots:
    void weekdayDigits_data();
    void weekdayDigits();
    void weekdayCancelLeavesNothing();
    void loanPeriods_data();
    void loanPeriods();
    void aboutBox();
};

void TestSmallDialogs::weekdayDigits_data()
{
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QByteArray>("digits");

    QTest::newRow("none") << QList<int>{} << QByteArray("");
    QTest::newRow("Sunday and Monday") << QList<int>{IDC_WEEKDAY_SUN, IDC_WEEKDAY_MON} << QByteArray("21");
    QTest::newRow("Saturday and Sunday") << QList<int>{IDC_WEEKDAY_SUN, IDC_WEEKDAY_SAT} << QByteArray("71");
    QTest::newRow("all seven") << QList<int>{IDC_WEEKDAY_SUN, IDC_WEEKDAY_SAT, IDC_WEEKDAY_FRI, IDC_WEEKDAY_THU,
                                             IDC_WEEKDAY_WED, IDC_WEEKDAY_TUE, IDC_WEEKDAY_MON}
                               << QByteArray("2345671");
}

void TestSmallDialogs::weekdayDigits()
{
    QFETCH(QList<int>, ticked);
    QFETCH(QByteArray, digits);

    CWeekdayDlg dlg;
    QTimer::singleShot(0, &dlg, [&] {
        for (int id : ticked) QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton);
        QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
    });
    QCOMPARE(dlg.DoModal(), IDOK);
    QCOMPARE(QByteArray(dlg.m_strWeekdays), digits);
}

void TestSmallDialogs::weekdayCancelLeavesNothing()
{
    CWeekdayDlg dlg;
    QTimer::singleShot(0, &dlg, [&] {
        QTest::mouseClick(dlg.GetDlgItem(IDC_WEEKDAY_MON), Qt::LeftButton);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    QCOMPARE(dlg.DoModal(), IDCANCEL);
    QCOMPARE(QByteArray(dlg.m_strWeekdays), QByteArray());
}

void TestSmallDialogs::loanPeriods_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("prompt");  // empty: accepted
    QTest::addColumn<int>("refusedId");

    const QString first = QStringLiteral("0에서 255 사이의 정수를 입력하십시오.");
    const QString second = QStringLiteral("0에서 250 사이의 정수를 입력하십시오.");
    QTest::newRow("zero and zero") << "0"
                                   << "0" << QString() << 0;
    QTest::newRow("largest values") << "255"
                                    << "250" << QString() << 0;
    QTest::newRow("251 fits the first") << "251"
                                        << "0" << QString() << 0;
    QTest::newRow("blanks around") << " 12 "
                                   << "+7" << QString() << 0;
    QTest::newRow("251 in the second") << "255"
                                       << "251" << second << IDC_LOAN_PERIOD2;
    QTest::newRow("256 in the first") << "256"
                                      << "0" << first << IDC_LOAN_PERIOD1;
    QTest::newRow("negative") << "-1"
                              << "0" << first << IDC_LOAN_PERIOD1;
    QTest::newRow("7일") << "7일"
                         << "0" << first << IDC_LOAN_PERIOD1;
    QTest::newRow("empty") << ""
                           << "0" << first << IDC_LOAN_PERIOD1;
    QTest::newRow("beyond int") << "99999999999"
                                << "0" << first << IDC_LOAN_PERIOD1;
    QTest::newRow("first checked first") << "x"
                                         << "x" << first << IDC_LOAN_PERIOD1;
}

void TestSmallDialogs::loanPeriods()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, prompt);
    QFETCH(int, refusedId);

    CLoanPeriodDlg dlg;
    ModalWatch watch;
    bool stayedOpen = false;
    QWidget* focus = nullptr;
    QTimer::singleShot(0, &dlg, [&] {
        QCOMPARE(dlg.GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD1)->text(), QStringLiteral("0"));
        dlg.GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD1)->setText(first);
        dlg.GetDlgItemAs<QLineEdit>(IDC_LOAN_PERIOD2)->setText(second);
        QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton);
        stayedOpen = dlg.isVisible();
        focus = dlg.focusWidget();
        if (stayedOpen) dlg.reject();
    });
    const int result = dlg.DoModal();

    if (prompt.isEmpty()) {
        QCOMPARE(result, IDOK);
        QVERIFY(watch.texts.isEmpty());
        QCOMPARE(dlg.m_nLoanPeriod1, first.trimmed().toInt());
        QCOMPARE(dlg.m_nLoanPeriod2, second.trimmed().toInt());
    } else {
        QCOMPARE(result, IDCANCEL);  // closed by the test after the refusal
        QVERIFY(stayedOpen);
        QCOMPARE(watch.texts, QStringList{prompt});
        QCOMPARE(focus, dlg.GetDlgItem(refusedId));
    }
}

void TestSmallDialogs::aboutBox()
{
    CAboutDlg dlg;
    const QList<QLabel*> labels = dlg.findChildren<QLabel*>();
    QStringList texts;
    bool icon = false;
    for (QLabel* label : labels) {
        texts << label->text();
        icon = icon || !label->pixmap().isNull();
    }
    QVERIFY(icon);
    QVERIFY(texts.contains(QStringLiteral("Dorvane 버전 1.0")));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Dorvane 정보"));
    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Return); });
    QCOMPARE(dlg.DoModal(), IDOK);
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_small_dialogs.moc"
