// SPDX-License-Identifier: GPL-3.0-or-later
// digest-ta, check-store and dump.

#include <filesystem>
#include <iostream>

#include "crypto/bignum.h"
#include "crypto/cp1252.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "store/key_store.h"
#include "store/record_list.h"
#include "store/ta_parameters.h"
#include "tool_support.h"

namespace quarnel::tool {
namespace {

int DigestTa(Args& args) {
    const std::filesystem::path file = args.Positional(1, 1)[0];
    TaParameters p;
    std::string problem;
    bool ok;
    if (file.filename().string().rfind(kTaParameterPrefix, 0) == 0) {
        ok = ReadTaParameterFile(file, p, &problem);
    } else {
        ok = ParseTaParameters(SplitLines(ReadFile(file)), p, &problem);
    }
    if (!ok) throw UsageError(file.string() + ": " + problem);
    std::cout << QuadToHex(p.digest) << '\n';
    return 0;
}

std::string LoadProblem(const std::filesystem::path& file, const LoadError& e) {
    if (e.missing) return e.reason;
    return file.string() + ": line " + std::to_string(e.line) + ": " + e.reason;
}

int CheckStore(Args& args) {
    auto category = args.Option("--category");
    const std::filesystem::path file = args.Positional(1, 1)[0];
    if (category && (category->size() != 1 || !LayoutFor((*category)[0]))) {
        throw UsageError("--category must be A, D or F");
    }
    if (!category) {
        // A correspondent list is known by its name; anything else is read
        // as a key store.
        for (char c : {'A', 'D', 'F'}) {
            if (file.filename() == CorrespondentFileName(c)) category = std::string(1, c);
        }
    }
    RecordList list;
    LoadError error;
    if (!LoadRecordList(file, list, &error)) {
        if (error.missing) throw UsageError(error.reason);
        std::cout << LoadProblem(file, error) << '\n';
        return 1;
    }
    std::vector<std::string> problems;
    const bool ok = category ? CheckCorrespondentList(list, (*category)[0], &problems)
                             : CheckKeyStore(list, &problems);
    const std::string kind = category ? "correspondent list " + *category : "key store";
    for (const auto& p : problems)
        std::cout << file.string() << ": " << p << '\n';
    std::cout << file.string() << ": " << list.size() << " record(s), " << kind << ' '
              << (ok ? "ok" : "FAILED") << '\n';
    if (ok && !category) {
        std::cout << "key generation digit " << KeyGenerationDigit(list.size()) << '\n';
    }
    return ok ? 0 : 1;
}

int Dump(Args& args) {
    const std::filesystem::path file = args.Positional(1, 1)[0];
    RecordList list;
    LoadError error;
    const bool ok = LoadRecordList(file, list, &error);
    if (!ok && error.missing) throw UsageError(error.reason);
    for (std::size_t r = 0; r < list.size(); ++r) {
        std::cout << "record " << r + 1 << " (" << list[r].size() << " lines)\n";
        for (std::size_t i = 0; i < list[r].size(); ++i) {
            std::cout << "  " << i << ": " << Cp1252ToUtf8(list[r][i]) << '\n';
        }
    }
    if (!ok) throw UsageError(LoadProblem(file, error));
    return 0;
}

}  // namespace

int RunStoreCommand(const std::string& command, Args& args) {
    if (command == "digest-ta") return DigestTa(args);
    if (command == "check-store") return CheckStore(args);
    return Dump(args);
}

}  // namespace quarnel::tool
