#include "reports/calendar.h"

namespace {

bool IsLeapYear(unsigned year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

unsigned DaysInMonth(unsigned month, unsigned year)
{
    switch (month) {
    case 4: case 6: case 9: case 11:
        return 30;
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    default:
        return 31;
    }
}

}  // namespace

bool IsValidDate(unsigned month, unsigned day, unsigned year)
{
    if (month < 1 || month > 12) {
        return false;
    }
    return day >= 1 && day <= DaysInMonth(month, year);
}

bool StepBackOneDay(SYSTEMTIME& date)
{
    if (!IsValidDate(date.wMonth, date.wDay, date.wYear)) {
        return false;
    }
    SYSTEMTIME step = date;
    --step.wDay;
    if (step.wDay == 0) {
        // Into the previous month: try its 31st, then 30th, 29th and 28th.
        step.wDay = 31;
        --step.wMonth;
        if (step.wMonth == 0) {
            step.wMonth = 12;
            --step.wYear;
        }
    }
    for (int tries = 0; tries < 4; ++tries) {
        if (IsValidDate(step.wMonth, step.wDay, step.wYear)) {
            date = step;
            return true;
        }
        --step.wDay;
    }
    return false;
}
