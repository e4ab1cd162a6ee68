// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Date-time values of the system: doubles counting days since 30 December
// 1899, the fraction being the local time of day; and their fixed text form.

#include <functional>
#include <string>

namespace quarnel {

struct LocalDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    bool operator==(const LocalDateTime&) const = default;
};

/// The local date and time, from the system clock unless tests fixed it.
LocalDateTime LocalNow();
/// Replaces the local clock (tests); an empty function restores the system's.
void SetLocalClock(std::function<LocalDateTime()> clock);

double OleFromLocal(const LocalDateTime& t);
/// Rounded to the nearest millisecond.
LocalDateTime OleToLocal(double value);
double OleNow();

/// "dd/mm/yyyy hh:nn:ss" (24-hour): the same on every machine, so that both
/// ends of a message render one moment identically.
std::string DateTimeText(double value);
/// "dd/mm/yyyy".
std::string DateText(double value);

}  // namespace quarnel
