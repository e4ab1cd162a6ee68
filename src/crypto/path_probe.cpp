// SPDX-License-Identifier: GPL-3.0-or-later
#include "crypto/path_probe.h"

#include <utility>

namespace quarnel::probe {
namespace {

thread_local bool g_recording = false;
thread_local std::vector<Mark> g_marks;

}  // namespace

void Start() {
    g_marks.clear();
    g_recording = true;
}

std::vector<Mark> Stop() {
    g_recording = false;
    return std::move(g_marks);
}

void Record(Step step, std::uint32_t detail) {
    if (g_recording) g_marks.push_back({step, detail});
}

}  // namespace quarnel::probe
