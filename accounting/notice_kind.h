// The four kinds of notice. Each number is at once the kind, the id of the
// timer that animates it and the value of noticeTimerId while it is shown.
#pragma once

#include <cstdint>

enum class NoticeKind : std::uint32_t {
    NoticeFinish = 5499,
    NoticeHour = 6100,
    NoticeMilestone = 6684,
    NoticeAlarm = 6811,
};

constexpr std::uint32_t TimerIdOf(NoticeKind kind) { return static_cast<std::uint32_t>(kind); }

constexpr bool IsNoticeTimer(std::uintptr_t id)
{
    return id == TimerIdOf(NoticeKind::NoticeFinish) || id == TimerIdOf(NoticeKind::NoticeHour) ||
           id == TimerIdOf(NoticeKind::NoticeMilestone) || id == TimerIdOf(NoticeKind::NoticeAlarm);
}

inline constexpr std::int16_t kNoticeStartTicks = 300;
inline constexpr std::int16_t kNoticeLeaveTicks = 30;  // at or below: leaving
inline constexpr std::uint32_t kNoticeHoldMs = 5000;
inline constexpr unsigned kNoticeStepMs = 16;
