// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/gf127.h"

#include <memory>

#include "crypto/random.h"

namespace quarnel::gf {
namespace {

bool BitOf(U128 k, int i) {
    return ((k >> i) & 1) != 0;
}

PowSchedule ScheduleForWindow(U128 k, int width) {
    PowSchedule s;
    s.entries = 1 << (width - 1);
    int i = 127;
    while (!BitOf(k, i))
        --i;
    int pending = 0;
    bool first = true;
    while (i >= 0) {
        if (!BitOf(k, i)) {
            ++pending;
            --i;
            continue;
        }
        int j = i - width + 1 > 0 ? i - width + 1 : 0;
        while (!BitOf(k, j))
            ++j;
        const int digit = int((k >> j) & ((kOne << (i - j + 1)) - 1)) >> 1;
        if (first) {
            s.first = digit;
            first = false;
        } else {
            s.squarings[s.count] = std::uint8_t(pending + i - j + 1);
            s.digit[s.count] = std::int8_t(digit);
            ++s.count;
        }
        pending = 0;
        i = j - 1;
    }
    if (pending > 0) {
        s.squarings[s.count] = std::uint8_t(pending);
        s.digit[s.count] = -1;
        ++s.count;
    }
    return s;
}

void FillMap(MapTable& t, const U128* images) {
    for (int b = 0; b < 16; ++b) {
        t[b][0] = 0;
        for (int x = 1; x < 256; ++x) {
            t[b][x] = t[b][x & (x - 1)] ^ images[8 * b + std::countr_zero(unsigned(x))];
        }
    }
}

U128 Apply(const MapTable& t, U128 z) {
    U128 r = 0;
    for (int b = 0; b < 16; ++b)
        r ^= t[b][(z >> (8 * b)) & 0xFF];
    return r;
}

template <Variant V>
void BuildMaps(MapTable (&out)[3]) {
    U128 images[128];
    for (int i = 0; i < 127; ++i) {
        U128 x = kOne << i;
        for (int q = 0; q < 32; ++q)
            x = SqrPortable<V>(x);
        images[i] = FullReduce<V>(x);
    }
    // x^127 = x^t + 1: lazily reduced elements map as they are.
    images[127] = images[kShift<V> - 1] ^ images[0];
    FillMap(out[0], images);
    for (int j = 1; j < 3; ++j) {
        for (U128& e : images)
            e = Apply(out[0], e);
        FillMap(out[j], images);
    }
}

}  // namespace

const PowerMaps& BuildPowerMaps() {
    static const std::unique_ptr<PowerMaps> maps = [] {
        auto m = std::make_unique<PowerMaps>();
        BuildMaps<Variant::A>(m->table[0]);
        BuildMaps<Variant::B>(m->table[1]);
        return m;
    }();
    return *maps;
}

PowCost CostOf(const PowSchedule& s) {
    PowCost c;
    if (s.entries > 1) {  // the table: one squaring, entries - 1 products
        c.squarings = 1;
        c.products = s.entries - 1;
    }
    for (int i = 0; i < s.count; ++i) {
        c.squarings += s.squarings[i];
        c.products += s.digit[i] >= 0 ? 1 : 0;
    }
    return c;
}

namespace {
// The table's squaring with the products: what the width changes.
int TableAndProducts(const PowSchedule& s) {
    return CostOf(s).products + (s.entries > 1 ? 1 : 0);
}
}  // namespace

PowSchedule MakeSchedule(U128 k) {
    PowSchedule best = ScheduleForWindow(k, 1);
    for (int width = 2; (1 << (width - 1)) <= kMaxEntries; ++width) {
        PowSchedule s = ScheduleForWindow(k, width);
        if (TableAndProducts(s) < TableAndProducts(best)) best = s;
    }
    return best;
}

Scratch::~Scratch() {
    WipeBytes(lone, sizeof(Lone) * std::size_t(tablesUsed));
    if (workUsed > 0) {
        WipeBytes(work, sizeof(U128) * std::size_t(workUsed));
        WipeBytes(even, std::size_t(workUsed));
    }
    if (hasSchedule) {
        for (auto& table : batchTable)
            WipeBytes(table, sizeof(U128) * kBatch * std::size_t(schedule.entries));
        WipeBytes(&schedule, sizeof schedule);
        WipeBytes(&scheduleKey, sizeof scheduleKey);
    }
    SkipDraws(draws);
}

}  // namespace quarnel::gf
