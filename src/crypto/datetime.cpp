// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/datetime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace quarnel {
namespace {

using namespace std::chrono;

constexpr long long kMsPerDay = 24LL * 60 * 60 * 1000;

std::function<LocalDateTime()>& LocalClock() {
    static std::function<LocalDateTime()> clock;
    return clock;
}

sys_days Epoch() {
    return sys_days{year{1899} / December / 30};
}

}  // namespace

LocalDateTime LocalNow() {
    if (const auto& clock = LocalClock()) return clock();
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    LocalDateTime out;
    out.year = tm.tm_year + 1900;
    out.month = tm.tm_mon + 1;
    out.day = tm.tm_mday;
    out.hour = tm.tm_hour;
    out.minute = tm.tm_min;
    out.second = tm.tm_sec;
    out.millisecond = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return out;
}

void SetLocalClock(std::function<LocalDateTime()> clock) {
    LocalClock() = std::move(clock);
}

double OleFromLocal(const LocalDateTime& t) {
    const sys_days d{year{t.year} / month{unsigned(t.month)} / day{unsigned(t.day)}};
    const double days = double((d - Epoch()).count());
    const double frac =
        double(((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond) / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight.
    return days >= 0 ? days + frac : days - frac;
}

LocalDateTime OleToLocal(double value) {
    LocalDateTime out;
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6) return out;
    double whole = std::trunc(value);
    long long ms = std::llround(std::fabs(value - whole) * kMsPerDay);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += value >= 0 ? 1 : -1;
    }
    const year_month_day ymd{Epoch() + days{static_cast<long long>(whole)}};
    out.year = int(ymd.year());
    out.month = int(unsigned(ymd.month()));
    out.day = int(unsigned(ymd.day()));
    out.hour = int(ms / 3600000);
    out.minute = int(ms / 60000 % 60);
    out.second = int(ms / 1000 % 60);
    out.millisecond = int(ms % 1000);
    return out;
}

double OleNow() {
    return OleFromLocal(LocalNow());
}

std::string DateTimeText(double value) {
    const LocalDateTime t = OleToLocal(value);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour,
                  t.minute, t.second);
    return buf;
}

std::string DateText(double value) {
    const LocalDateTime t = OleToLocal(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", t.day, t.month, t.year);
    return buf;
}

}  // namespace quarnel
