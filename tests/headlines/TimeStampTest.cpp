#include "headlines/TimeStamp.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <locale>
#include <ostream>
#include <string>

using namespace tickerlux;
using namespace tickerlux::headlines;
using namespace tickerlux::test;

// glibc's newlocale() never frees the search path it builds from LOCPATH (GermanLocale below
// sets it). LeakSanitizer builds read this and let that allocation be; its stack shows only the
// glibc helper that made it.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:__argz_add_sep\n";
}

namespace {

std::time_t LocalTime(int year, int month, int day, int hour, int minute)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

struct StampCase {
    const char* name;
    int year, month, day, hour, minute;
    const char* expected;
};

void PrintTo(const StampCase& c, std::ostream* os)
{
    *os << c.name;
}

class TimeStampTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(TimeStampTest, FormatsTwelveHourEnglishTime)
{
    const StampCase& c = GetParam();
    EXPECT_EQ(FormatUpdateTimeStamp(LocalTime(c.year, c.month, c.day, c.hour, c.minute)),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Times, TimeStampTest,
    ::testing::Values(
        StampCase{"Afternoon", 2008, 2, 23, 15, 7, " -- Last Update: Feb 23, 2008 at 03:07 PM "},
        StampCase{"Midnight", 2010, 1, 5, 0, 0, " -- Last Update: Jan 05, 2010 at 12:00 AM "},
        StampCase{"LastMinuteOfMorning", 2015, 7, 9, 11, 59, " -- Last Update: Jul 09, 2015 at 11:59 AM "},
        StampCase{"Noon", 2024, 12, 31, 12, 30, " -- Last Update: Dec 31, 2024 at 12:30 PM "},
        StampCase{"LastMinuteOfDay", 2031, 5, 17, 23, 59, " -- Last Update: May 17, 2031 at 11:59 PM "}),
    [](const ::testing::TestParamInfo<StampCase>& row) { return row.param.name; });

// Switches the process to German, building the locale into a private folder when the system has
// none installed. Restores the "C" locale afterwards.
class GermanLocale {
public:
    GermanLocale()
    {
        m_active = Use("de_DE.UTF-8");
        if (m_active)
            return;
        // Latin-1 compiles in a fraction of UTF-8's time and names the months just as well.
        const std::string command = "localedef -i de_DE -f ISO-8859-1 '" +
                                    m_dir.File("de_DE.ISO-8859-1") + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        setenv("LOCPATH", m_dir.Path().c_str(), 1);
        m_active = Use("de_DE.ISO-8859-1");
        if (!m_active)
            m_why = "no German locale is installed and localedef failed (status " +
                    std::to_string(status) + "); the 'locales' package provides it";
    }
    ~GermanLocale()
    {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
        unsetenv("LOCPATH");
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    bool Active() const { return m_active; }
    const std::string& Why() const { return m_why; }

private:
    static bool Use(const char* name)
    {
        if (!std::setlocale(LC_ALL, name))
            return false;
        std::locale::global(std::locale(name));
        return true;
    }

    CTempDir m_dir;
    bool m_active = false;
    std::string m_why;
};

TEST(TimeStampLocaleTest, StaysEnglishUnderAGermanLocale)
{
    GermanLocale german;
    if (!german.Active())
        GTEST_SKIP() << german.Why();

    const std::time_t when = LocalTime(2008, 3, 3, 15, 7);
    // The locale is really in force: the C library now names the month in German.
    std::tm local{};
    localtime_r(&when, &local);
    char month[32] = "";
    std::strftime(month, sizeof month, "%b %p", &local);
    ASSERT_STRNE(month, "Mar PM");

    EXPECT_EQ(FormatUpdateTimeStamp(when), " -- Last Update: Mar 03, 2008 at 03:07 PM ");
}

} // namespace
