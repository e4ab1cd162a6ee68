// SPDX-License-Identifier: GPL-3.0-or-later
// rtf: the plain text of an RTF file, or the canonical RTF of what was read,
// with the program's own reader and writer.

#include <QGuiApplication>
#include <QStringList>
#include <QTextDocument>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

#include "rtf/rtf.h"
#include "tool_support.h"

namespace quarnel::tool {
namespace {

// Text documents need a GUI application (fonts); no display is needed.
void EnsureGuiApplication() {
    if (QGuiApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the platform would mix with the command's output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "quarnel-tool: " << message.toStdString() << '\n';
    });
    static int argc = 1;
    static char name[] = "quarnel-tool";
    static char* argv[] = {name, nullptr};
    static const std::unique_ptr<QGuiApplication> app =
        std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int RunRtfCommand(Args& args) {
    const bool canonical = args.Flag("--canonical");
    const auto files = args.Positional(1, 1);
    const std::filesystem::path path = files[0];
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxRtfBytes) {
        throw UsageError(path.string() + ": larger than " + std::to_string(kMaxRtfBytes) +
                         " bytes");
    }
    const std::string rtf = ReadFile(path);
    EnsureGuiApplication();
    QTextDocument doc;
    RtfError error;
    if (!ReadRtf(rtf, doc, &error)) {
        throw UsageError(path.string() + ": malformed RTF at byte " + std::to_string(error.offset) +
                         ": " + error.reason);
    }
    if (canonical) {
        WriteOutput(std::nullopt, WriteRtf(doc));
        return 0;
    }
    // One line per paragraph or line break; tabs kept, other controls escaped.
    std::string out;
    for (const QString& line : doc.toPlainText().split('\n')) {
        const QStringList pieces = line.split('\t');
        for (qsizetype i = 0; i < pieces.size(); ++i)
            out += (i > 0 ? "\t" : "") + Escaped(pieces[i].toStdString());
        out += '\n';
    }
    WriteOutput(std::nullopt, out);
    return 0;
}

}  // namespace quarnel::tool
