#include "holiday_files/holiday_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include "holiday_files/imported_holidays.h"

namespace {

namespace fs = std::filesystem;

const char* const kMay3 =
    "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270503\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
const char* const kJune1 = "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270601\nEND:VEVENT\nEND:VCALENDAR\n";
const char* const kBroken = "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270631\nEND:VEVENT\nEND:VCALENDAR\n";

// A fresh folder of its own per test, removed afterwards.
class HolidayFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("dorvane-holidays-" + std::to_string(getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path Write(const fs::path& name, const char* text)
    {
        std::ofstream(m_root / name, std::ios::binary) << text;
        return m_root / name;
    }

    fs::path m_root;
};

}  // namespace

TEST(HolidayFolderPath, XdgConfigHomeElseHome)
{
    struct Case {
        const char* xdg;
        const char* home;
        const char* folder;
    } const cases[] = {
        {"/cfg", "/home/u", "/cfg/dorvane/holidays"},
        {nullptr, "/home/u", "/home/u/.config/dorvane/holidays"},
        {"", "/home/u", "/home/u/.config/dorvane/holidays"},
        {"relative", "/home/u", "/home/u/.config/dorvane/holidays"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(HolidayFolderPath(c.xdg, c.home), fs::path(c.folder)) << c.folder;
}

TEST_F(HolidayFolder, EveryCalendarFileByNameWhileABrokenOneIsRefused)
{
    Write("b.ics", kJune1);
    Write("A.ICS", kMay3);
    Write("c.ics", kBroken);
    ASSERT_EQ(::mkfifo((m_root / "d.ics").c_str(), 0600), 0);  // said, not passed over nor waited on
    Write("notes.txt", kJune1);
    const HolidayFolderRead read = ReadHolidayFolder(m_root);
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_EQ(read.files[0].name, (m_root / "A.ICS").string());
    EXPECT_EQ(read.files[1].name, (m_root / "b.ics").string());
    ASSERT_EQ(read.refusals.size(), 2u);
    EXPECT_NE(read.refusals[0].english.find("c.ics, line 3"), std::string::npos) << read.refusals[0].english;
    EXPECT_NE(read.refusals[1].english.find("d.ics: not a regular file (a FIFO)"), std::string::npos);

    const HolidayFolderRead missing = ReadHolidayFolder(m_root / "none");
    EXPECT_TRUE(missing.files.empty());
    EXPECT_TRUE(missing.refusals.empty());
}

TEST_F(HolidayFolder, ImportCopiesAnAcceptedFileUnderACalendarNameWithoutFollowingALink)
{
    const fs::path folder = m_root / "config" / "dorvane" / "holidays";
    fs::create_directories(folder);
    // A link standing where the copy goes: it is replaced, what it points to is left alone.
    const fs::path elsewhere = Write("elsewhere", "untouched");
    fs::create_symlink(elsewhere, folder / "closures.ics");
    std::vector<fs::path> asked;
    const auto answer = [&](bool yes) {
        return [&asked, yes](const fs::path& taken) {
            asked.push_back(taken);
            return yes;
        };
    };
    const std::optional<HolidayFileRead> imported = ImportIntoHolidayFolder(Write("closures", kMay3), folder, answer(true));
    ASSERT_TRUE(imported && imported->file) << (imported ? imported->refusal.english : "declined");
    EXPECT_EQ(imported->file->name, (folder / "closures.ics").string());
    EXPECT_EQ(asked, std::vector<fs::path>{folder / "closures.ics"});
    EXPECT_FALSE(fs::is_symlink(folder / "closures.ics"));
    std::ifstream copy(folder / "closures.ics", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), kMay3);
    std::ifstream untouched(elsewhere, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(untouched), {}), "untouched");

    // Asked again before replacing: no keeps the copy there.
    EXPECT_FALSE(ImportIntoHolidayFolder(Write("closures.ics", kJune1), folder, answer(false)));
    EXPECT_EQ(asked.size(), 2u);
    ASSERT_EQ(ReadHolidayFolder(folder).files.size(), 1u);
    EXPECT_EQ(ImportedHolidays(ReadHolidayFolder(folder).files, 2027).days[0].date.month, 5);
    ASSERT_TRUE(ImportIntoHolidayFolder(Write("closures.ics", kJune1), folder, answer(true)));
    EXPECT_EQ(ImportedHolidays(ReadHolidayFolder(folder).files, 2027).days[0].date.month, 6);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "no copy left behind";

    EXPECT_FALSE(ImportIntoHolidayFolder(Write("broken.ics", kBroken), folder, answer(true))->file);
    EXPECT_FALSE(fs::exists(folder / "broken.ics"));
    const std::optional<HolidayFileRead> absent = ImportIntoHolidayFolder(m_root / "absent.ics", folder, answer(true));
    EXPECT_EQ(absent->refusal.english,
              "cannot read holiday file " + (m_root / "absent.ics").string() + ": No such file or directory");
    EXPECT_EQ(asked.size(), 3u);
}
