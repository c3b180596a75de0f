#include "reports/calendar.h"
#include "tests/reports/registry_fixture.h"

#include <gtest/gtest.h>

namespace {

struct ValidityCase {
    unsigned year, month, day;
    bool valid;
};

TEST(IsValidDate, FollowsTheGregorianCalendar)
{
    const ValidityCase cases[] = {
        {2012, 2, 29, true},   {2011, 2, 29, false}, {2000, 2, 29, true},
        {1900, 2, 29, false},  {2100, 2, 29, false}, {2100, 2, 28, true},
        {2012, 1, 31, true},   {2012, 4, 31, false}, {2012, 4, 30, true},
        {2012, 6, 31, false},  {2012, 9, 31, false}, {2012, 11, 31, false},
        {2012, 12, 31, true},  {2012, 12, 32, false}, {2012, 1, 0, false},
        {2012, 0, 1, false},   {2012, 13, 1, false}, {2012, 2, 30, false},
    };
    for (const ValidityCase& c : cases) {
        EXPECT_EQ(IsValidDate(c.month, c.day, c.year), c.valid)
            << c.year << "/" << c.month << "/" << c.day;
    }
}

struct StepCase {
    SYSTEMTIME from;
    SYSTEMTIME to;
};

TEST(StepBackOneDay, ReachesThePreviousCalendarDay)
{
    const StepCase cases[] = {
        {Date(2012, 3, 15), Date(2012, 3, 14)}, {Date(2012, 3, 1), Date(2012, 2, 29)},
        {Date(2011, 3, 1), Date(2011, 2, 28)},  {Date(2000, 3, 1), Date(2000, 2, 29)},
        {Date(1900, 3, 1), Date(1900, 2, 28)},  {Date(2100, 3, 1), Date(2100, 2, 28)},
        {Date(2012, 1, 1), Date(2011, 12, 31)}, {Date(2012, 5, 1), Date(2012, 4, 30)},
        {Date(2012, 8, 1), Date(2012, 7, 31)},  {Date(2012, 12, 1), Date(2012, 11, 30)},
    };
    for (const StepCase& c : cases) {
        SYSTEMTIME date = c.from;
        date.wHour = 13;  // the time fields are neither read nor changed
        ASSERT_TRUE(StepBackOneDay(date)) << DayKeyOf(c.from).c_str();
        EXPECT_EQ(DayKeyOf(date), DayKeyOf(c.to));
        EXPECT_EQ(date.wHour, 13);
    }
}

TEST(StepBackOneDay, FailsOnADateThatDoesNotExistAndLeavesIt)
{
    for (const SYSTEMTIME& bad : {Date(2012, 2, 30), Date(2012, 0, 1), Date(2012, 13, 1),
                                  Date(2012, 5, 0), Date(2011, 2, 29)}) {
        SYSTEMTIME date = bad;
        EXPECT_FALSE(StepBackOneDay(date)) << DayKeyOf(bad).c_str();
        EXPECT_EQ(DayKeyOf(date), DayKeyOf(bad));
    }
}

}  // namespace
