// SPDX-License-Identifier: GPL-3.0-or-later
// quarnel-ta: the reference authority server.
//
//   quarnel-ta init --code CODE --dir DIR
//   quarnel-ta serve --dir DIR [--listen ADDRESS] [--port N] [limits] [DATABASE]
//   quarnel-ta register --dir DIR NUMBER [--off] [DATABASE]
//   quarnel-ta migrate --from DIR --db URL

#include <QCoreApplication>

#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "crypto/datetime.h"
#include "ta/server/http_listener.h"
#include "ta/service/authority_service.h"
#include "ta/service/storage.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  quarnel-ta init --code CODE --dir DIR\n"
    "      draws a private exponent and writes QuarnelTaPr.CODE (give it to the\n"
    "      holders' programs) and private-exponent-CODE.txt (keep it) into DIR\n"
    "  quarnel-ta serve --dir DIR [--listen ADDRESS] [--port N]\n"
    "      answers POST /QuarnelSys/ on ADDRESS (default 127.0.0.1), port N\n"
    "      (default 50000 + CODE read as hexadecimal; 0 picks a free port);\n"
    "      prints \"listening on ADDRESS:PORT\" once ready, then one line per request\n"
    "      limits (a connection past them is answered 503 at once):\n"
    "        --max-connections N    open at once in all (default 256)\n"
    "        --max-per-address N    open at once from one address (default 64)\n"
    "        --time-limit-ms N      for a whole request, then 408 (default 15000)\n"
    "        --max-buffered BYTES   requests held in memory in all (default 64 MiB)\n"
    "  quarnel-ta register --dir DIR NUMBER [--off]\n"
    "      marks an affiliate registered (or not) for the seals and keys issued next\n"
    "  serve and register keep the affiliates in DIR/quarnel-ta.sqlite, or with\n"
    "      --db postgresql://USER@HOST:PORT/DBNAME [--db-password-file FILE]\n"
    "      [--exponent-file FILE] in a PostgreSQL database that several instances\n"
    "      share (password in FILE or in QUARNEL_TA_DB_PASSWORD; the exponent file\n"
    "      must be readable by its owner only)\n"
    "  quarnel-ta migrate --from DIR --db URL\n"
    "      copies the SQLite authority of DIR into an empty PostgreSQL database\n";

// A password file holds one line.
constexpr std::size_t kMaxPasswordFileSize = 1024;

struct Args {
    std::string command;
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;
};

bool Parse(int argc, char** argv, Args& args) {
    if (argc < 2) return false;
    args.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--off") {
            args.options[a] = "1";
        } else if (a.rfind("--", 0) == 0) {
            if (i + 1 >= argc) return false;
            args.options[a] = argv[++i];
        } else {
            args.positional.push_back(a);
        }
    }
    return true;
}

std::string Option(const Args& args, const std::string& name) {
    const auto i = args.options.find(name);
    return i == args.options.end() ? std::string() : i->second;
}

// The database password: from --db-password-file, else from the environment.
bool DatabasePassword(const Args& args, std::string& password, std::string& error) {
    const std::string file = Option(args, "--db-password-file");
    if (file.empty()) {
        const char* env = std::getenv(quarnel::ta::kDatabasePasswordVariable);
        password = env ? env : "";
        return true;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read " + file;
        return false;
    }
    std::string text(kMaxPasswordFileSize + 1, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    if (std::size_t(in.gcount()) > kMaxPasswordFileSize) {
        error = file + " is larger than " + std::to_string(kMaxPasswordFileSize) + " bytes";
        return false;
    }
    text.resize(std::size_t(in.gcount()));
    password = text.substr(0, text.find_first_of("\r\n"));
    return true;
}

// The authority of --dir (and --db); nothing (and the reason on stderr) when
// it cannot open.
std::unique_ptr<quarnel::ta::AuthorityService> OpenService(const Args& args) {
    std::string error;
    quarnel::ta::ServiceOptions options;
    options.dir = Option(args, "--dir");
    options.databaseUrl = Option(args, "--db");
    options.exponentFile = Option(args, "--exponent-file");
    std::unique_ptr<quarnel::ta::AuthorityService> service;
    if (DatabasePassword(args, options.databasePassword, error)) {
        service = quarnel::ta::AuthorityService::Open(options, error);
    }
    if (!service) std::cerr << "quarnel-ta: " << error << "\n";
    return service;
}

int Migrate(const Args& args) {
    std::string error, summary, password;
    const std::filesystem::path from = Option(args, "--from");
    auto source =
        quarnel::ta::Storage::OpenSqlite(from / quarnel::ta::kDatabaseFileName, true, error);
    if (source && DatabasePassword(args, password, error)) {
        auto target = quarnel::ta::Storage::OpenPostgres(Option(args, "--db"), password, error);
        if (target && target->CopyFrom(*source, summary, error)) {
            std::cout << "copied " << summary << " from " << from.string() << "\n";
            return 0;
        }
    }
    std::cerr << "quarnel-ta: " << error << "\n";
    return 1;
}

void Log(const std::string& line) {
    std::cout << quarnel::DateTimeText(quarnel::OleNow()) << " " << line << std::endl;
}

int Serve(int argc, char** argv, const Args& args) {
    QCoreApplication app(argc, argv);
    std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
    std::signal(SIGINT, [](int) { QCoreApplication::quit(); });
    const auto service = OpenService(args);
    if (!service) return 1;
    int port = service->DefaultPort();
    if (args.options.count("--port")) {
        try {
            port = std::stoi(args.options.at("--port"));
        } catch (...) {
            port = -1;
        }
        if (port < 0 || port > 65535) {
            std::cerr << "quarnel-ta: not a port: " << args.options.at("--port") << "\n";
            return 2;
        }
    }
    quarnel::ta::ConnectionLimits limits;
    const auto limit = [&args](const char* name, auto& value) {
        if (!args.options.count(name)) return true;
        const std::string& v = args.options.at(name);
        if (v.empty() || v.size() > 10 || !std::all_of(v.begin(), v.end(), ::isdigit) ||
            std::stoull(v) == 0 || std::stoull(v) > 1ULL << 31) {
            std::cerr << "quarnel-ta: not a limit: " << name << " " << v << "\n";
            return false;
        }
        value = decltype(+value)(std::stoull(v));
        return true;
    };
    if (!limit("--max-connections", limits.maxConnections) ||
        !limit("--max-per-address", limits.maxPerAddress) ||
        !limit("--time-limit-ms", limits.timeLimitMs) ||
        !limit("--max-buffered", limits.maxBufferedTotal)) {
        return 2;
    }
    const QString address = QString::fromStdString(
        args.options.count("--listen") ? args.options.at("--listen") : "127.0.0.1");
    quarnel::ta::HttpListener listener(
        [&service](std::string_view body) { return service->Handle(body); }, Log, limits);
    QString listenError;
    if (!listener.Listen(address, quint16(port), listenError)) {
        std::cerr << "quarnel-ta: cannot listen on " << address.toStdString() << ":" << port << ": "
                  << listenError.toStdString() << "\n";
        return 1;
    }
    std::cout << "listening on " << address.toStdString() << ":" << listener.port() << " (TA code "
              << service->code() << ")" << std::endl;
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    Args args;
    const bool parsed = Parse(argc, argv, args);
    if (parsed && args.command == "migrate" && args.options.count("--from") &&
        args.options.count("--db")) {
        QCoreApplication app(argc, argv);
        return Migrate(args);
    }
    if (!parsed || !args.options.count("--dir")) {
        std::cerr << kUsage;
        return 2;
    }
    // The exponent and the store hold secrets: nobody else reads what we write.
    ::umask(077);
    std::string error;
    if (args.command == "init") {
        if (!args.options.count("--code")) {
            std::cerr << kUsage;
            return 2;
        }
        if (!quarnel::ta::InitialiseAuthority(args.options.at("--dir"), args.options.at("--code"),
                                              error)) {
            std::cerr << "quarnel-ta: " << error << "\n";
            return 1;
        }
        std::cout << "authority " << args.options.at("--code") << " initialised in "
                  << args.options.at("--dir") << "\n";
        return 0;
    }
    if (args.command == "serve") return Serve(argc, argv, args);
    if (args.command == "register" && args.positional.size() == 1) {
        const auto service = OpenService(args);
        if (!service) return 1;
        if (!service->SetRegistered(args.positional[0], !args.options.count("--off"))) {
            std::cerr << "quarnel-ta: unknown affiliate " << args.positional[0] << "\n";
            return 1;
        }
        return 0;
    }
    std::cerr << kUsage;
    return 2;
}
