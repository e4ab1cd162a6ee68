// SPDX-License-Identifier: GPL-3.0-or-later
// Rich message text: reading a 10 MiB RTF file into a text document, writing
// a document's canonical RTF, and both as `quarnel-tool rtf --canonical` does.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextDocument>
#include <string>

#include "rtf/rtf.h"

namespace quarnel {
namespace {

constexpr std::size_t kSize = std::size_t{10} << 20;

// A message as a rich-edit control saves it: fonts, sizes, colours, bold and
// italic runs, accents, bullets, centred lines, a few characters outside
// code page 1252.
std::string Message() {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 "
        "Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    for (int i = 0; rtf.size() < kSize - 64; ++i) {
        switch (i % 4) {
            case 0:
                rtf += "\\pard\\qc\\f1\\fs28\\b Objet n\\'b0" + std::to_string(i) + "\\b0\\par\r\n";
                break;
            case 1:
                rtf +=
                    "\\pard\\f0\\fs20 Madame, Monsieur, nous avons bien re\\'e7u votre demande "
                    "du \\i 7 d\\'e9cembre\\i0  et vous confirmons que la \\cf1 facture\\cf0  "
                    "de 1\\~250 \\'80 est r\\'e9gl\\'e9e ; \\u945?\\u946? et \\{accolades\\}."
                    "\\par\r\n";
                break;
            case 2:
                rtf +=
                    "\\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb"
                    "\\'B7}}\\fi-720\\li720 premier point \\ul soulign\\'e9\\ulnone\\tab fin"
                    "\\line suite\\par\r\n";
                break;
            default:
                rtf += "\\pard\\qr\\cf3\\fs24 Cordialement, \\cf2 l'\\'e9quipe\\cf0\\par\r\n";
        }
    }
    return rtf + "}";
}

const std::string& Input() {
    static const std::string input = Message();
    return input;
}

void BM_ReadRtf10MiB(benchmark::State& state) {
    const std::string& rtf = Input();
    for (auto _ : state) {
        QTextDocument doc;
        if (!ReadRtf(rtf, doc)) state.SkipWithError("not read");
        benchmark::DoNotOptimize(doc.blockCount());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}
BENCHMARK(BM_ReadRtf10MiB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_WriteRtf10MiB(benchmark::State& state) {
    QTextDocument doc;
    if (!ReadRtf(Input(), doc)) state.SkipWithError("not read");
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string out = WriteRtf(doc);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
}
BENCHMARK(BM_WriteRtf10MiB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// What the tool's --canonical does after reading the file.
void BM_CanonicalRtf10MiB(benchmark::State& state) {
    const std::string& rtf = Input();
    for (auto _ : state) {
        QTextDocument doc;
        if (!ReadRtf(rtf, doc)) state.SkipWithError("not read");
        const std::string out = WriteRtf(doc);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
}
BENCHMARK(BM_CanonicalRtf10MiB)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
}  // namespace quarnel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
