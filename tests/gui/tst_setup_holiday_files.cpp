// The dialog with holiday files: the folder's days marked in every year shown, an import copied
// into the folder (asking before it replaces one), the year exported.
#include <fstream>

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "date/holidays.h"
#include "protocol/terminal_model.h"
#include "res/resource.h"
#include "setup_rig.h"

namespace {

const char* const kAnniversary =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Library//Closures//KO\r\nBEGIN:VEVENT\r\nUID:anniversary\r\n"
    "SUMMARY:개관기념일\r\nDTSTART;VALUE=DATE:20200520\r\nRRULE:FREQ=YEARLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
const char* const kInventory =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Library//Closures//KO\r\nBEGIN:VEVENT\r\nUID:inventory\r\n"
    "DTSTART;VALUE=DATE:20260804\r\nDTEND;VALUE=DATE:20260807\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

void Write(const QString& path, const char* text)
{
    QDir().mkpath(QFileInfo(path).path());
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestSetupHolidayFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void folderDaysCountInEveryYear();
    void importAndExport();

private:
    QTemporaryDir m_config;
    QByteArray m_oldConfig;
};

void TestSetupHolidayFiles::init()
{
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
}

void TestSetupHolidayFiles::cleanup()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    QDir(m_config.path() + "/dorvane").removeRecursively();
}

void TestSetupHolidayFiles::folderDaysCountInEveryYear()
{
    Write(m_config.path() + "/dorvane/holidays/anniversary.ics", kAnniversary);
    SetupRig rig(MODEL_ZEFA101);
    QVERIFY(rig.started);
    QCOMPARE(g_holidaySettings.marks[5][20], 1);
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(73));  // 2026's 72 and a Wednesday
    rig.ClickDay(5, 20);                           // a click still toggles it for the session
    QCOMPARE(g_holidaySettings.marks[5][20], 0);
    rig.Click(IDC_PREV_YEAR);
    QCOMPARE(g_holidaySettings.marks[5][20], 1);
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(71));  // 2025's 70 and a Tuesday
}

void TestSetupHolidayFiles::importAndExport()
{
    const QString inventory = m_config.path() + "/inventory.ics";
    Write(inventory, kInventory);
    const QString exported = m_config.path() + "/2026.json";
    SetupRig rig(MODEL_ZEFA101);
    QVERIFY(rig.started);
    rig.dlg.SetFileChooser([&](bool save) { return save ? exported : inventory; });
    rig.Click(IDC_UNSET_SUNDAY);
    rig.Click(IDC_UNSET_HOLIDAY);
    rig.dlg.OnImportHolidays();
    QVERIFY(QFile::exists(m_config.path() + "/dorvane/holidays/inventory.ics"));
    QCOMPARE(rig.Text(IDC_TOTAL), TotalText(3));

    rig.dlg.OnExportHolidays();
    QFile json(exported);
    QVERIFY(json.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(json.readAll()).count(QStringLiteral("\"kind\": \"marked\"")), 3);
    QVERIFY(rig.messages.isEmpty());

    // The same name again: asked before, 아니요 keeps the copy, 예 replaces it.
    Write(inventory, kAnniversary);
    const QString copy = m_config.path() + "/dorvane/holidays/inventory.ics";
    QStringList asked;
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        WhenModal<QMessageBox>([&asked, answer](QMessageBox& box) {
            asked << box.text() + " " + box.button(QMessageBox::Yes)->text() + "/" + box.button(QMessageBox::No)->text();
            box.button(answer)->click();
        });
        rig.dlg.OnImportHolidays();
        QCOMPARE(Read(copy), QByteArray(answer == QMessageBox::Yes ? kAnniversary : kInventory));
    }
    QCOMPARE(asked, QStringList(2, QStringLiteral("휴일 폴더에 같은 이름의 파일(inventory.ics)이 있습니다. 바꾸시겠습니까? 예/아니요")));
    QCOMPARE(g_holidaySettings.marks[5][20], 1);
}

QTEST_MAIN(TestSetupHolidayFiles)
#include "tst_setup_holiday_files.moc"
