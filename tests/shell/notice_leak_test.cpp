#include "accounting/notice_kind.h"
#include "accounting/reading_state.h"
#include "shell/notice_window.h"
#include "tests/shell/notice_test_window.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace notice_test;

namespace {

// Wine answers GetGuiResources with 0. Its GDI handle table then tells the
// count: a handle's low word alone names a live object.
DWORD GdiObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        return reported;
    }
    DWORD live = 0;
    for (std::uintptr_t handle = 1; handle <= 0xFFFF; ++handle) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0) {
            ++live;
        }
    }
    return live;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<DWORD*>(count);
        EnumChildWindows(window, CountWindow, count);
    }
    return TRUE;
}

// Where GetGuiResources is not answered, the windows of this process.
DWORD UserObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0) {
        return reported;
    }
    DWORD windows = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

const NoticeKind kKinds[] = {NoticeKind::NoticeFinish, NoticeKind::NoticeHour,
                             NoticeKind::NoticeMilestone, NoticeKind::NoticeAlarm};

// One notice from start to end, painted as the window manager asks.
void ShowOneNotice(HWND window, int i)
{
    const NoticeKind kind = kKinds[i % 4];
    BeginNotice(window, kind, L"1000回表示しても何も失われない。");
    while (readingState.noticeTimerId != 0) {
        StepNotice(window, TimerIdOf(kind));
        UpdateWindow(window);
    }
}

// The same notice with only the steps that show, paint and end it: the steps
// between them only move the window and change its alpha, and take wine a
// millisecond or two each.
void FlashOneNotice(HWND window, int i)
{
    const NoticeKind kind = kKinds[i % 4];
    BeginNotice(window, kind, L"1000回表示しても何も失われない。");
    StepNotice(window, TimerIdOf(kind));
    UpdateWindow(window);
    readingState.noticeTicks = 1;
    StepNotice(window, TimerIdOf(kind));
}

TEST(NoticeResources, CountersSeeAnObjectMadeAndDeleted)
{
    const DWORD before = GdiObjects();
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(GdiObjects(), before + 1);
    DeleteObject(brush);
    EXPECT_EQ(GdiObjects(), before);
}

TEST(NoticeResources, AThousandNoticesLeaveGdiAndUserObjectsWhereTheyWere)
{
    const HWND window = CreateNoticeWindow(96, false);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PrepareImageFromResource(window));
    ShowOneNotice(window, 0);  // first-use allocations (fonts, caches) happen here
    const DWORD gdi = GdiObjects();
    const DWORD user = UserObjects();
    ASSERT_GT(gdi, 0u);
    for (int i = 1; i <= 20; ++i) {
        ShowOneNotice(window, i);
    }
    for (int i = 21; i <= 1000; ++i) {
        FlashOneNotice(window, i);
    }
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
    DestroyNoticeWindow(window);
}

TEST(NoticeResources, PreparingAndReleasingTheImageLeavesNoObject)
{
    const HWND window = CreateNoticeWindow(120, false);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PrepareImageFromResource(window));
    ReleaseNoticeImage();
    const DWORD gdi = GdiObjects();
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(PrepareImageFromResource(window));
        ReleaseNoticeImage();
    }
    // Preparing twice without a release in between replaces the image.
    ASSERT_TRUE(PrepareImageFromResource(window));
    ASSERT_TRUE(PrepareImageFromResource(window));
    ReleaseNoticeImage();
    EXPECT_EQ(GdiObjects(), gdi);
    DestroyNoticeWindow(window);
}

}  // namespace
