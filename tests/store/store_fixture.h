// A clean process state for store tests: fresh reading state and Settings,
// today fixed to one date, alarm texts released afterwards.
#pragma once

#include "accounting/reading_state.h"
#include "store/settings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

class StoreTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// n consecutive day keys ("%04d%02d%02d") starting at the given date.
std::vector<std::wstring> DayKeys(int year, int month, int day, int count);
