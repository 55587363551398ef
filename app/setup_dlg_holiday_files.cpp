// The dialog's holiday files: the folder read at start, whose days count as marked in every year
// shown, and the context menu's import into it and export of the year.
#include <ctime>
#include <fstream>

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/setup_dlg.h"
#include "base/printable_text.h"
#include "holiday_files/exported_holidays.h"
#include "holiday_files/holiday_folder.h"
#include "holiday_files/holiday_ics_writer.h"
#include "holiday_files/imported_holidays.h"
#include "holiday_files/holiday_json.h"
#include "date/holidays.h"
#include "date/mark_names.h"

void CSetupDlg::LoadHolidayFolder()
{
    HolidayFolderRead read = ReadHolidayFolder(HolidayFolderPath());
    for (const OperatorMessage& skipped : read.skipped) WriteConsole(skipped.korean + "\n");
    for (const OperatorMessage& refusal : read.refusals) ShowRefusal(refusal);
    m_holidayFiles = std::move(read.files);
}

void CSetupDlg::ResetMarks()
{
    ClearHolidayMarks();
    // A file whose days of this year cannot be known is said so, as a file that cannot be read.
    for (const OperatorMessage& refusal : MarkHolidayFileDays(m_holidayFiles, m_nYear, g_holidaySettings, g_markNames)) {
        ShowRefusal(refusal);
    }
}

void CSetupDlg::ShowRefusal(const OperatorMessage& refusal)
{
    WriteConsole(refusal.korean + "\n");
    ShowMessageBox(QString::fromStdString(refusal.korean));
}

QString CSetupDlg::ChooseFile(bool save)
{
    if (m_fileChooser) return m_fileChooser(save);
    const QString filter = QStringLiteral("iCalendar (*.ics)");
    if (!save) return QFileDialog::getOpenFileName(this, QString::fromUtf8(TEXT_IMPORT_HOLIDAYS), {}, filter);
    return QFileDialog::getSaveFileName(this, QString::fromUtf8(TEXT_EXPORT_HOLIDAYS),
                                        QStringLiteral("%1.ics").arg(m_nYear),
                                        filter + QStringLiteral(";;JSON (*.json)"));
}

bool CSetupDlg::MayReplaceHolidayFile(const std::filesystem::path& target)
{
    const QString text = QString::fromUtf8(TEXT_REPLACE_HOLIDAY_FILE)
                             .arg(QString::fromStdString(PrintableText(target.filename().string())));
    QMessageBox ask(QMessageBox::Question, QStringLiteral("Dorvane"), text, QMessageBox::Yes | QMessageBox::No, this);
    ask.button(QMessageBox::Yes)->setText(QStringLiteral("예"));
    ask.button(QMessageBox::No)->setText(QStringLiteral("아니요"));
    ask.setDefaultButton(QMessageBox::No);
    return ask.exec() == QMessageBox::Yes;
}

void CSetupDlg::OnImportHolidays()
{
    const QString path = ChooseFile(false);
    if (path.isEmpty()) return;
    const std::filesystem::path folder = HolidayFolderPath();
    if (folder.empty()) {
        ShowMessageBox(QStringLiteral("휴일 폴더를 정할 수 없습니다 (HOME 과 XDG_CONFIG_HOME 이 없습니다)."));
        return;
    }
    // Copied into the folder, so that it applies at every start from now on.
    std::optional<HolidayFileRead> read = ImportIntoHolidayFolder(
        path.toStdString(), folder, [this](const std::filesystem::path& target) { return MayReplaceHolidayFile(target); });
    if (!read) return;
    for (const OperatorMessage& skipped : read->skipped) WriteConsole(skipped.korean + "\n");
    if (!read->file) {
        ShowRefusal(read->refusal);
        return;
    }
    // A file of that name read before gives way to its new copy.
    std::erase_if(m_holidayFiles, [&](const HolidayFile& file) { return file.name == read->file->name; });
    m_holidayFiles.push_back(std::move(*read->file));
    for (const OperatorMessage& refusal :
         MarkHolidayFileDays({m_holidayFiles.back()}, m_nYear, g_holidaySettings, g_markNames)) {
        ShowRefusal(refusal);
    }
    CountHolidays(0);
    Repaint();
}

void CSetupDlg::OnExportHolidays()
{
    const QString path = ChooseFile(true);
    if (path.isEmpty()) return;
    const std::vector<ExportedHoliday> days = ExportedHolidays(m_nYear, g_holidaySettings, g_markNames);
    std::string text;
    if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
        text = HolidayJsonText(m_nYear, days);
    } else if (OperatorMessage refusal; !HolidayCalendarText(m_nYear, days, std::time(nullptr), text, refusal)) {
        ShowMessageBox(QString::fromStdString(refusal.korean));
        return;
    }
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) ShowMessageBox(QStringLiteral("파일을 쓸 수 없습니다: %1").arg(path));
}
