#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/template_dialog.h"
#include "res/resource.h"
#include "widgets/color_label.h"

namespace {

constexpr int RADIO_A = 10, RADIO_B = 11, CHECK = 12, COMBO = 13, RADIO_C = 14, RADIO_D = 15, FRAME = 16, CAPTION = 17;

// Two radio groups with a check box between, a sorted combobox, a frame listed after the
// controls it surrounds (as in the main dialog), and the main dialog's base units.
constexpr DialogControl CONTROLS[] = {
    {RADIO_A, ControlKind::RadioButton, "A", 10, 10, 30, 10, STYLE_GROUP},
    {RADIO_B, ControlKind::RadioButton, "B", 10, 22, 30, 10, STYLE_NONE},
    {CHECK, ControlKind::CheckBox, "check", 10, 34, 40, 10, STYLE_NONE},
    {COMBO, ControlKind::ComboBox, "", 10, 46, 48, 74, STYLE_SORT},
    {RADIO_C, ControlKind::RadioButton, "C", 60, 10, 30, 10, STYLE_GROUP},
    {RADIO_D, ControlKind::RadioButton, "D", 60, 22, 30, 10, STYLE_NONE},
    {FRAME, ControlKind::GroupBox, "frame", 5, 3, 56, 60, STYLE_NONE},
    {CAPTION, ControlKind::Static, "2009 년", 100, 7, 136, 24, STYLE_CENTER},
    {IDOK, ControlKind::DefPushButton, "OK", 100, 60, 50, 14, STYLE_NONE},
    {IDCANCEL, ControlKind::PushButton, "Cancel", 160, 60, 50, 14, STYLE_NONE},
};

constexpr DialogTemplate TEMPLATE = {999, "Test", "굴림", 10, 511, 449, 8, 13, CONTROLS};

}  // namespace

class TestTemplateDialog : public QObject {
    Q_OBJECT
private slots:
    void placesControlsInDialogUnits();
    void findsControlsById();
    void radioGroupsAreSeparate();
    void sortedComboBox();
    void frameLetsClicksThrough();
    void tabOrderFollowsTheTemplate();
    void subclassTakesThePlace();
    void okAndCancelEndTheModalRun_data();
    void okAndCancelEndTheModalRun();
};

void TestTemplateDialog::placesControlsInDialogUnits()
{
    CTemplateDialog dlg(TEMPLATE);
    QCOMPARE(dlg.size(), QSize(1022, 730));  // 449 * 13 / 8 = 729.6 rounds up
    QCOMPARE(dlg.GetDlgItem(CAPTION)->geometry(), QRect(200, 11, 272, 39));
    QCOMPARE(dlg.GetDlgItem(IDOK)->geometry(), QRect(200, 98, 100, 23));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Test"));
}

void TestTemplateDialog::findsControlsById()
{
    CTemplateDialog dlg(TEMPLATE);
    QVERIFY(dlg.GetDlgItemAs<QRadioButton>(RADIO_A));
    QVERIFY(dlg.GetDlgItemAs<QComboBox>(COMBO));
    QVERIFY(dlg.GetDlgItemAs<QLabel>(CAPTION));
    QCOMPARE(dlg.GetDlgItemAs<QLabel>(CAPTION)->text(), QStringLiteral("2009 년"));
    QVERIFY(!dlg.GetDlgItemAs<QCheckBox>(RADIO_A));  // wrong kind
    QVERIFY(!dlg.GetDlgItem(IDC_STATIC));
    QVERIFY(!dlg.GetDlgItem(12345));
}

void TestTemplateDialog::radioGroupsAreSeparate()
{
    CTemplateDialog dlg(TEMPLATE);
    dlg.show();
    auto* a = dlg.GetDlgItemAs<QRadioButton>(RADIO_A);
    auto* b = dlg.GetDlgItemAs<QRadioButton>(RADIO_B);
    auto* c = dlg.GetDlgItemAs<QRadioButton>(RADIO_C);
    auto* d = dlg.GetDlgItemAs<QRadioButton>(RADIO_D);
    QTest::mouseClick(a, Qt::LeftButton);
    QTest::mouseClick(c, Qt::LeftButton);
    QVERIFY(a->isChecked() && c->isChecked());
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isChecked() && !a->isChecked());
    QVERIFY(c->isChecked());
    QTest::mouseClick(d, Qt::LeftButton);
    QVERIFY(d->isChecked() && !c->isChecked() && b->isChecked());
}

void TestTemplateDialog::sortedComboBox()
{
    CTemplateDialog dlg(TEMPLATE);
    auto* combo = dlg.GetDlgItemAs<QComboBox>(COMBO);
    combo->addItem(QStringLiteral("COM3"));
    combo->addItem(QStringLiteral("COM1"));
    combo->addItems({QStringLiteral("COM10"), QStringLiteral("COM2")});
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    QCOMPARE(items, (QStringList{"COM1", "COM10", "COM2", "COM3"}));
}

void TestTemplateDialog::frameLetsClicksThrough()
{
    CTemplateDialog dlg(TEMPLATE);
    dlg.show();
    auto* check = dlg.GetDlgItemAs<QCheckBox>(CHECK);
    QCOMPARE(dlg.childAt(check->geometry().center()), check);
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(check->isChecked());
}

void TestTemplateDialog::tabOrderFollowsTheTemplate()
{
    CTemplateDialog dlg(TEMPLATE);
    QList<int> order;
    QWidget* w = dlg.GetDlgItem(RADIO_A);
    do {
        for (int id : {RADIO_A, RADIO_B, CHECK, COMBO, RADIO_C, RADIO_D, IDOK, IDCANCEL}) {
            if (dlg.GetDlgItem(id) == w) order << id;
        }
        w = w->nextInFocusChain();
    } while (w != dlg.GetDlgItem(RADIO_A));
    QCOMPARE(order.mid(0, 8), (QList<int>{RADIO_A, RADIO_B, CHECK, COMBO, RADIO_C, RADIO_D, IDOK, IDCANCEL}));
}

void TestTemplateDialog::subclassTakesThePlace()
{
    CTemplateDialog dlg(TEMPLATE);
    CColorLabel label;
    QWidget* old = dlg.GetDlgItem(CAPTION);
    const QRect where = old->geometry();
    QPointer<QWidget> watch(old);
    dlg.SubclassDlgItem(CAPTION, &label);
    QCOMPARE(dlg.GetDlgItem(CAPTION), &label);
    QCOMPARE(label.geometry(), where);
    QCOMPARE(label.parentWidget(), &dlg);
    QVERIFY(watch.isNull());
    dlg.show();
    QVERIFY(label.isVisible());
    label.setParent(nullptr);  // the owner keeps it
}

void TestTemplateDialog::okAndCancelEndTheModalRun_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK button") << 0 << IDOK;
    QTest::newRow("Enter") << 1 << IDOK;
    QTest::newRow("Cancel button") << 2 << IDCANCEL;
    QTest::newRow("Esc") << 3 << IDCANCEL;
}

void TestTemplateDialog::okAndCancelEndTheModalRun()
{
    QFETCH(int, how);
    QFETCH(int, result);
    CTemplateDialog dlg(TEMPLATE);
    QTimer::singleShot(0, &dlg, [&] {
        switch (how) {
        case 0: QTest::mouseClick(dlg.GetDlgItem(IDOK), Qt::LeftButton); break;
        case 1: QTest::keyClick(&dlg, Qt::Key_Return); break;
        case 2: QTest::mouseClick(dlg.GetDlgItem(IDCANCEL), Qt::LeftButton); break;
        default: QTest::keyClick(&dlg, Qt::Key_Escape); break;
        }
    });
    QCOMPARE(dlg.DoModal(), result);
}

QTEST_MAIN(TestTemplateDialog)
#include "tst_template_dialog.moc"
