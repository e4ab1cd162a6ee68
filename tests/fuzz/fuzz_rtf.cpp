// SPDX-License-Identifier: GPL-3.0-or-later
// Rich message text: what reads is written canonically, and that reads again.

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "rtf/rtf.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarnel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    QTextDocument doc;
    if (!ReadRtf(bytes, doc)) return 0;
    const std::string written = WriteRtf(doc);
    QTextDocument again;
    if (!ReadRtf(written, again)) std::abort();
    return 0;
}
