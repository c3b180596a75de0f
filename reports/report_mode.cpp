#include "reports/report_mode.h"

std::uint32_t reportMode = kReportWeek;
