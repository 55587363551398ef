// The dialog's holiday files: the folder read at start, whose days count as marked in every year
// shown, and the context menu's import into it and export of the year.
#include <ctime>
#include <fstream>

#include "base/printable_text.h"
#include "date/holidays.h"
#include "date/mark_names.h"
#include "dialog/setup_behaviour.h"
#include "holiday_files/exported_holidays.h"
#include "holiday_files/holiday_folder.h"
#include "holiday_files/holiday_ics_writer.h"
#include "holiday_files/holiday_json.h"
#include "holiday_files/imported_holidays.h"

struct CSetupBehaviour::HolidayFiles {
    std::vector<HolidayFile> files;
};

void CSetupBehaviour::HolidayFilesDeleter::operator()(HolidayFiles* files) const
{
    delete files;
}

namespace {

bool EndsWithJson(const std::string& path)
{
    if (path.size() < 5) return false;
    std::string ending = path.substr(path.size() - 5);
    for (char& c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ending == ".json";
}

}  // namespace

void CSetupBehaviour::LoadHolidayFolder()
{
    HolidayFolderRead read = ReadHolidayFolder(HolidayFolderPath());
    for (const OperatorMessage& skipped : read.skipped) WriteConsole(skipped.korean + "\n");
    for (const OperatorMessage& refusal : read.refusals) ShowRefusal(refusal);
    m_pHolidayFiles.reset(new HolidayFiles{std::move(read.files)});
}

void CSetupBehaviour::ResetMarks()
{
    ClearHolidayMarks();
    MarkHolidayFileDaysAgain();
}

void CSetupBehaviour::MarkHolidayFileDaysAgain()
{
    if (!m_pHolidayFiles) return;
    // A file whose days of this year cannot be known is said so, as a file that cannot be read.
    for (const OperatorMessage& refusal :
         MarkHolidayFileDays(m_pHolidayFiles->files, m_nYear, g_holidaySettings, g_markNames)) {
        ShowRefusal(refusal);
    }
}

void CSetupBehaviour::ShowRefusal(const OperatorMessage& refusal)
{
    WriteConsole(refusal.korean + "\n");
    m_view.TellOperator(refusal.korean);
}

void CSetupBehaviour::OnImportHolidays()
{
    const std::string path = m_view.ChooseHolidayFile(false, {});
    if (path.empty()) return;
    const std::filesystem::path folder = HolidayFolderPath();
    if (folder.empty()) {
        m_view.TellOperator("휴일 폴더를 정할 수 없습니다 (HOME 과 XDG_CONFIG_HOME 이 없습니다).");
        return;
    }
    // Copied into the folder, so that it applies at every start from now on.
    std::optional<HolidayFileRead> read =
        ImportIntoHolidayFolder(path, folder, [this](const std::filesystem::path& target) {
            return m_view.AskOperator("휴일 폴더에 같은 이름의 파일(" + PrintableText(target.filename().string()) +
                                      ")이 있습니다. 바꾸시겠습니까?");
        });
    if (!read) return;
    for (const OperatorMessage& skipped : read->skipped) WriteConsole(skipped.korean + "\n");
    if (!read->file) {
        ShowRefusal(read->refusal);
        return;
    }
    if (!m_pHolidayFiles) m_pHolidayFiles.reset(new HolidayFiles);
    // A file of that name read before gives way to its new copy.
    std::vector<HolidayFile>& files = m_pHolidayFiles->files;
    std::erase_if(files, [&](const HolidayFile& file) { return file.name == read->file->name; });
    files.push_back(std::move(*read->file));
    for (const OperatorMessage& refusal :
         MarkHolidayFileDays({files.back()}, m_nYear, g_holidaySettings, g_markNames)) {
        ShowRefusal(refusal);
    }
    CountHolidays(0);
    Repaint();
}

void CSetupBehaviour::OnExportHolidays()
{
    const std::string path = m_view.ChooseHolidayFile(true, std::to_string(m_nYear) + ".ics");
    if (path.empty()) return;
    const std::vector<ExportedHoliday> days = ExportedHolidays(m_nYear, g_holidaySettings, g_markNames);
    std::string text;
    if (EndsWithJson(path)) {
        text = HolidayJsonText(m_nYear, days);
    } else if (OperatorMessage refusal; !HolidayCalendarText(m_nYear, days, std::time(nullptr), text, refusal)) {
        m_view.TellOperator(refusal.korean);
        return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) m_view.TellOperator("파일을 쓸 수 없습니다: " + PrintableText(path));
}
