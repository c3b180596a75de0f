// The main of every test executable: a private profile for the whole process,
// emptied before each test, and a message-box hook so that no test waits.
#include "tests/support/message_box_capture.h"
#include "tests/support/private_profile.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class FreshProfilePerTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { ResetPrivateProfile(); }
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // Crashes must end the process with a code, not with a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    CreatePrivateProfile();
    InstallMessageBoxHook();
    testing::UnitTest::GetInstance()->listeners().Append(new FreshProfilePerTest);
    const int result = RUN_ALL_TESTS();
    RemoveMessageBoxHook();
    DeletePrivateProfile();
    return result;
}
