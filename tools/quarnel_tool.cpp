// SPDX-License-Identifier: GPL-3.0-or-later
// quarnel-tool: checks and dumps the holder's files and runs each primitive
// of the cryptographic core on hexadecimal input, so that another
// implementation can be checked against this one.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cmd_messages.h"
#include "crypto/secret_memory.h"
#include "tool_support.h"

namespace {

constexpr const char* kUsage = R"(usage: quarnel-tool COMMAND ...

  digest-ta FILE                      check a TA parameter file, print its digest
  check-store FILE [--category A|D|F] check a key store or a correspondent list
  dump FILE                           print a record-list file, record by record
  crypto cipher BLOCK KEY [--mask M] [--decipher]
  crypto exp-block BLOCK KEY --variant A|B
  crypto mul-mod-p A B
  crypto condense-text [FILE|-]
  crypto condense-hex HEX
  crypto encipher-text --key K --mask M --date HEX16 --code C --field1 F --field2 F [FILE|-]
  crypto decipher-text --key K --mask M [FILE|-] [--out FILE]
  crypto modpow BASE EXP MOD
  encrypt --data DIR --to NUMBER [--rich] [--subject TEXT] [--out FILE] MESSAGEFILE [ATTACHMENT...]
                                      encrypt a message (its bytes as they stand: code page
                                      1252 text, or RTF source with --rich) for a correspondent
                                      of the holder whose data folder is DIR; writes the body
                                      and the encrypted attachment files (sent folder)
  decrypt --data DIR BODYFILE [ATTACHMENTFILE...]
                                      check and decrypt a received message for that holder;
                                      writes the message (decrypted-messages folder) and the
                                      attachments (decrypted-files folder), prints the verdicts;
                                      attachments not given are read from the received folder
  send --data DIR [--smtp HOST[:PORT]] [--to ADDRESS|NUMBER] [--subject TEXT] [--password-stdin]
       BODYFILE [ATTACHMENT...]
                                      send a body made by encrypt and its encrypted attachments
                                      by SMTP as that holder: relay of its settings unless
                                      --smtp; to the correspondent the body is for unless --to
                                      (NUMBER: a correspondent's address); attachments named by
                                      the body from the sent folder unless given; prints one
                                      log line per step, exit code 1 when the relay did not
                                      take it; the SMTP password on standard input with
                                      --password-stdin
  receive --data DIR [--pop3 HOST[:PORT]] [--password-stdin]
                                      fetch that holder's mail by POP3 (server and account of its
                                      settings; the stored mail password unless given on standard
                                      input), keep and delete on the server only its encrypted
                                      messages, then decrypt each; one log line per step, exit
                                      code 1 when the retrieval or a decryption failed
  rtf [--canonical] FILE              print the plain text of an RTF file, or with --canonical
                                      the RTF this program writes for what it read

Numbers are hexadecimal. Exit codes: 0 success, 1 a check failed (decrypt: the message
was refused, its digest not verified, or an attachment could not be saved), 2 bad
arguments or input, or the holder's program (or another command writing the holder's
files) is open on DIR.
)";

}  // namespace

int main(int argc, char** argv) {
    using namespace quarnel::tool;
    // Keys and decrypted text never go to a core file.
    (void)quarnel::KeepOutOfCoreDumps();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    try {
        if (command == "crypto") {
            if (args.empty())
                throw UsageError("crypto needs a primitive (see quarnel-tool --help)");
            const std::string sub = args[0];
            args.erase(args.begin());
            Args a(std::move(args), {"--decipher"});
            return RunCryptoCommand(sub, a);
        }
        if (command == "digest-ta" || command == "check-store" || command == "dump") {
            Args a(std::move(args), {});
            return RunStoreCommand(command, a);
        }
        if (command == "encrypt" || command == "decrypt") {
            Args a(std::move(args), {"--rich"});
            return RunMessageCommand(command, a);
        }
        if (command == "receive") {
            Args a(std::move(args), {"--password-stdin"});
            return RunReceiveCommand(a);
        }
        if (command == "send") {
            Args a(std::move(args), {"--password-stdin"});
            return RunSendCommand(a);
        }
        if (command == "rtf") {
            Args a(std::move(args), {"--canonical"});
            return RunRtfCommand(a);
        }
        throw UsageError("unknown command \"" + command + "\" (see quarnel-tool --help)");
    } catch (const std::exception& e) {  // UsageError and any other failure alike
        std::cerr << "quarnel-tool: " << e.what() << '\n';
        return 2;
    }
}
