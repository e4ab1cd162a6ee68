// SPDX-License-Identifier: GPL-3.0-or-later
// The crash harness: saves the key store, the employees' list, the outgoing
// queue (on a thread of its own, as the program's save runner does) and
// appends to the sent and received logs in a loop with the program's own
// save functions, each save a new version, until it is killed.
//
//   quarnel-crash-saver DIR FIRST_VERSION
//
// Writes "begin FILE VERSION" before and "end FILE VERSION" after each save
// straight to stdout (no buffering: a kill loses nothing that was said).

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "holder/holder_context.h"
#include "mail/incoming.h"
#include "mail/mail_state.h"
#include "mail/sent_log.h"
#include "versions.h"

namespace {

using namespace quarnel;
using crash::File;

void Say(const std::string& what, File f, long version) {
    const std::string line = what + " " + crash::FileName(f) + " " + std::to_string(version) + "\n";
    if (::write(1, line.data(), line.size()) != ssize_t(line.size())) std::_Exit(3);
}

SaveResult Save(HolderContext& ctx, MailState& mail, File f, long v) {
    switch (f) {
        case File::KeyStore:
            ctx.keyStore = crash::KeyStoreOf(v);
            return ctx.SaveKeyStore();
        case File::List: {
            const RecordList all = crash::ContentOf(f, v);
            ctx.correspondents.f.assign(all.begin(), all.end() - 1);
            return StoreCorrespondent(ctx.correspondents, 'F', all.back(), ctx.dataFolder,
                                      ctx.Hooks().onSaveFailure, nullptr, ctx.Hooks().saveRunner);
        }
        case File::Queue: {
            const RecordList all = crash::ContentOf(f, v);
            mail.outgoingQueue.assign(all.begin(), all.end() - 1);
            return QueueMessage(ctx, mail, crash::MessageOf(v, crash::kQueued - 1));
        }
        case File::SentLog:
            return LogSentMessage(ctx, mail, crash::SentOf(v));
        case File::ReceivedLog:
            mail.receivedLog.Add(crash::ReceivedOf(v));
            return SaveLog(ctx, mail.receivedLog, ReceivedLogPath(ctx));
    }
    return SaveResult::Refused;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quarnel-crash-saver DIR FIRST_VERSION\n";
        return 2;
    }
    HolderContext ctx;
    MailState mail;
    ctx.dataFolder = argv[1];
    const std::string folder = std::string(argv[1]) + "/";
    ctx.settings.keyFolder = ctx.settings.sentEncryptedFolder =
        ctx.settings.receivedEncryptedFolder = folder;
    WindowHooks hooks;
    hooks.onSaveFailure = [](const std::filesystem::path& path, const std::string& reason) {
        std::cerr << "cannot save " << path << ": " << reason << "\n";
        return SaveChoice::Abort;
    };
    // As the program runs long saves: on another thread, the caller waiting.
    hooks.saveRunner = [](const std::filesystem::path&, const SaveWork& work) {
        bool done = false;
        std::thread([&] { done = work({}); }).join();
        return done;
    };
    ctx.LendHooks(&hooks);
    for (long v = std::atol(argv[2]); v > 0; ++v) {
        for (const File f : crash::kFiles) {
            Say("begin", f, v);
            if (Save(ctx, mail, f, v) != SaveResult::Saved) return 1;
            Say("end", f, v);
        }
    }
    return 2;
}
