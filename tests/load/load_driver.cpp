// The authority under load: concurrent holders affiliate and ask keys over
// HTTP with the program's own request building and reply processing, while
// slow connections are held open alongside; then the figures, and the check
// that no affiliation number was lost or given twice and no key issued twice
// for one request (from the replies, and from the authority's store: its
// SQLite file, or its PostgreSQL database with the password in
// QUARNEL_TA_DB_PASSWORD).
//
//   quarnel-load [--clients N] [--seconds S] [--slow M] [--ta HOST:PORT]...
//                [--params FILE] [--store FILE|postgresql://USER@HOST:PORT/DB]
//                [--from ADDRESS] [--slow-from ADDRESS]
//
// Without --ta it starts its own quarnel-ta in a temporary folder.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>

#include "authority/authority_state.h"
#include "authority/connection.h"
#include "authority/flows.h"
#include "authority/replies.h"
#include "crypto/generator.h"
#include "crypto/random.h"
#include "holder/holder_context.h"
#include "holder/settings.h"
#include "messages/message_state.h"
#include "protocol/lines.h"
#include "store/atomic_file.h"
#include "store/correspondents.h"
#include "store/ta_parameters.h"
#include "ta/service/storage.h"

namespace {

using namespace quarnel;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

struct Endpoint {
    std::string host;
    int port = 0;
};

struct Options {
    int clients = 50;
    int seconds = 60;
    int slow = 500;
    std::vector<Endpoint> tas;
    fs::path params;
    std::string store;  ///< a SQLite file or a postgresql:// address
    std::string from = "127.0.0.2";
    std::string slowFrom = "127.0.0.1";
};

// Limits on what the command line may ask.
constexpr int kMaxClients = 1000;
constexpr int kMaxSeconds = 24 * 3600;
constexpr int kMaxSlow = 10000;
// One affiliation for so many key requests, so that both kinds keep coming.
constexpr int kKeysPerAffiliation = 8;

[[noreturn]] void Usage(const std::string& why) {
    std::cerr << "quarnel-load: " << why
              << "\nusage: quarnel-load [--clients N] [--seconds S] [--slow M] [--ta HOST:PORT]... "
                 "[--params FILE] [--store FILE|postgresql://USER@HOST:PORT/DB] [--from ADDRESS] "
                 "[--slow-from ADDRESS]\n";
    std::exit(2);
}

int Number(const std::string& v, int max, const std::string& name) {
    if (v.empty() || v.size() > 6 || !std::all_of(v.begin(), v.end(), ::isdigit) ||
        std::stoi(v) > max)
        Usage("not a number up to " + std::to_string(max) + " for " + name + ": " + v);
    return std::stoi(v);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) Usage("missing value for " + a);
        const std::string v = argv[++i];
        if (a == "--clients") {
            o.clients = std::max(1, Number(v, kMaxClients, a));
        } else if (a == "--seconds") {
            o.seconds = std::max(1, Number(v, kMaxSeconds, a));
        } else if (a == "--slow") {
            o.slow = Number(v, kMaxSlow, a);
        } else if (a == "--ta") {
            const auto colon = v.rfind(':');
            if (colon == std::string::npos) Usage("not HOST:PORT: " + v);
            o.tas.push_back({v.substr(0, colon), Number(v.substr(colon + 1), 65535, a)});
        } else if (a == "--params") {
            o.params = v;
        } else if (a == "--store") {
            o.store = v;
        } else if (a == "--from") {
            o.from = v;
        } else if (a == "--slow-from") {
            o.slowFrom = v;
        } else {
            Usage("unknown option " + a);
        }
    }
    if (!o.tas.empty() && o.params.empty()) Usage("--ta needs --params (the authority's file)");
    return o;
}

sockaddr_in Address(const std::string& host, int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(std::uint16_t(port));
    if (::inet_pton(AF_INET, host.c_str(), &a.sin_addr) != 1) Usage("not an IPv4 address: " + host);
    return a;
}

/// A TCP socket from `from` to `to` (blocking unless `nonBlocking`); -1 on failure.
int Connect(const std::string& from, const Endpoint& to, bool nonBlocking = false) {
    const int fd =
        ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    if (fd < 0) return -1;
    const sockaddr_in local = Address(from, 0), remote = Address(to.host, to.port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        (::connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0 &&
         errno != EINPROGRESS)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

struct Posted {
    int status = 0;  // 0: no reply
    std::string body;
};

/// One POST of `data` and its reply, read with the program's reply reader.
Posted Post(const std::string& from, const Endpoint& ta, const std::string& data) {
    Posted out;
    const int fd = Connect(from, ta);
    if (fd < 0) return out;
    timeval limit{60, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    const std::string bytes = HttpRequestBytes(HttpTarget{ta.host, ta.port}, false, data);
    if (::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size())) {
        HttpReplyReader reader;
        char buf[16384];
        for (ssize_t n; reader.state() == HttpReplyReader::State::Reading &&
                        (n = ::recv(fd, buf, sizeof buf, 0)) > 0;)
            (void)reader.Feed({buf, std::size_t(n)});
        if (reader.reply().headerComplete) {
            out.status = reader.reply().status;
            out.body = std::string(reader.Body());
        }
    }
    ::close(fd);
    return out;
}

struct Holder : HolderContext {
    AuthorityState authority;
    MessageState messages;
};

/// Figures of one request kind.
struct Figures {
    std::vector<double> ms;  // answered with 200 and accepted
    int refused503 = 0;
    int failed = 0;  // no reply, another status, or a reply not accepted
};

struct Shared {
    Options options;
    TaParameters ta;
    fs::path root;
    Clock::time_point end;
    std::mutex mutex;  // the program's logic is run by one thread at a time
    std::map<std::string, Figures> figures;
    std::vector<std::string> numbers;  // affiliation numbers received
    int duplicateNumbers = 0;
    std::map<std::pair<std::string, std::string>, int> keys;  // accepted (holder, subject)
    std::uint32_t seed = 1;
    std::atomic<unsigned> next{0};
};

/// A new holder (private person) in state 0, key set-up done.
std::unique_ptr<Holder> NewHolder(Shared& s, const Endpoint& ta, int id) {
    auto h = std::make_unique<Holder>();
    h->dataFolder = h->programFolder = s.root / ("h" + std::to_string(id));
    std::error_code ec;
    fs::create_directories(h->dataFolder, ec);
    SetDefaultFolders(*h);
    if (ec || CreateFolders(h->settings)) return nullptr;
    Settings& st = h->settings;
    st.category = 'A';
    st.taAddress = ta.host;
    st.taPortChoice = 'A';
    st.versionCode = "D400F";
    st.identity = {"CHARGE" + std::to_string(id),
                   "jean",
                   "3 rue haute",
                   "75001",
                   "PARIS",
                   "-",
                   "FRANCE",
                   "+33 1 00",
                   "-",
                   "jean@example.org",
                   "x"};
    h->ta = s.ta;
    st.taCode = s.ta.code;
    Big exponent{};
    SetSeed(s.seed++);
    RandomWords(exponent);
    KeySetup setup = KeyInitialise(exponent, h->ta.publicValue);
    h->authority.publicHex = setup.publicHex;
    h->authority.publicDigest = setup.publicDigest;
    h->authority.taKey = std::move(setup.taKey);
    h->authority.pendingPassword = SecretString("secret");
    return h;
}

/// One client: affiliates a holder, asks keys for others' numbers, now and
/// then affiliates a new holder, until the end. Holds `lock` except on the wire.
void Client(Shared& s, int index) {
    std::unique_lock lock(s.mutex);
    std::mt19937 random(unsigned(index) * 7919u + 1);
    int made = 0;
    std::unique_ptr<Holder> h;
    auto hooks = [&](Holder& holder) {
        FlowHooks f;
        f.runExchange = [&s, &holder, &lock] {
            const std::string kind(KindText(*holder.authority.requestKind));
            const std::string data = RequestData(holder.authority.outgoingBody);
            const Endpoint ta = s.options.tas[s.next++ % s.options.tas.size()];
            lock.unlock();
            const auto t0 = Clock::now();
            const Posted reply = Post(s.options.from, ta, data);
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
            lock.lock();
            Figures& fig = s.figures[kind];
            const Lines lines = SplitLines(reply.body);
            const bool accepted = reply.status == 200 && ReplyCanBeAccepted(lines) &&
                                  ProcessTaReplyLines(holder, holder.authority, lines).accepted;
            if (accepted) {
                fig.ms.push_back(ms);
            } else if (reply.status == 503) {
                ++fig.refused503;
            } else {
                ++fig.failed;
            }
            return accepted;
        };
        f.saveSettings = [&holder] { return SaveSettings(holder, SettingsPath(holder)); };
        return f;
    };
    while (Clock::now() < s.end) {
        if (!h || made % kKeysPerAffiliation == 0) {
            h = NewHolder(s, s.options.tas[0], index * 100000 + made);
            if (!h) return;
            if (RunFirstAffiliation({*h, h->authority, h->messages}, hooks(*h)).status !=
                FlowStatus::Done) {
                h.reset();
                continue;
            }
            if (std::find(s.numbers.begin(), s.numbers.end(), h->ownNumber) != s.numbers.end())
                ++s.duplicateNumbers;
            s.numbers.push_back(h->ownNumber);
            ++made;
            continue;
        }
        ++made;
        const std::string other = s.numbers[random() % s.numbers.size()];
        if (other == h->ownNumber) continue;
        if (RunKeyRequest({*h, h->authority, h->messages}, hooks(*h), other, false).status ==
                FlowStatus::Done &&
            FindCorrespondent(h->correspondents, 'A', other) >= 0)
            ++s.keys[{h->ownNumber, other}];
    }
}

/// Slow connections: each sends the start of a request and holds; one the
/// authority closes is opened again a second later.
struct SlowFigures {
    std::atomic<int> open{0};
    std::atomic<int> refused503{0};
    std::atomic<int> timedOut408{0};
};

void HoldSlow(const Options& o, const std::atomic<bool>& stop, SlowFigures& fig) {
    struct Slot {
        int fd = -1;
        bool sent = false;
        Clock::time_point reopen{};
    };
    std::vector<Slot> slots(std::size_t(o.slow));
    const std::string start = "POST /QuarnelSys/ HTTP/1.0\r\nContent-Length: 100\r\n";
    while (!stop) {
        std::vector<pollfd> polls;
        std::vector<Slot*> owners;
        int open = 0;
        for (Slot& slot : slots) {
            if (slot.fd < 0 && Clock::now() >= slot.reopen)
                slot = {Connect(o.slowFrom, o.tas[0], true), false, Clock::now()};
            if (slot.fd < 0) continue;
            ++open;
            polls.push_back({slot.fd, short(slot.sent ? POLLIN : POLLOUT), 0});
            owners.push_back(&slot);
        }
        fig.open = open;
        ::poll(polls.data(), polls.size(), 50);
        for (std::size_t i = 0; i < polls.size(); ++i) {
            Slot& slot = *owners[i];
            if (polls[i].revents == 0) continue;
            if (!slot.sent && (polls[i].revents & POLLOUT) &&
                !(polls[i].revents & (POLLERR | POLLHUP))) {
                slot.sent = ::send(slot.fd, start.data(), start.size(), MSG_NOSIGNAL) > 0;
                if (slot.sent) continue;
            }
            char buf[256];
            const ssize_t n = ::recv(slot.fd, buf, sizeof buf - 1, 0);
            const std::string got = n > 0 ? std::string(buf, std::size_t(n)) : "";
            if (got.find(" 503 ") != std::string::npos) ++fig.refused503;
            if (got.find(" 408 ") != std::string::npos) ++fig.timedOut408;
            ::close(slot.fd);
            slot = {-1, false, Clock::now() + std::chrono::seconds(1)};
        }
    }
    for (Slot& slot : slots)
        if (slot.fd >= 0) ::close(slot.fd);
}

/// Its own authority in `dir`: initialised, serving on a free port; its log
/// is read (and its refusals counted) by a thread until it ends.
struct OwnAuthority {
    pid_t pid = -1;
    int port = 0;
    std::thread reader;
    std::atomic<int> refusals{0};
    std::atomic<int> timeouts{0};

    bool Start(const fs::path& dir) {
        const fs::path exe = fs::read_symlink("/proc/self/exe").parent_path() / "quarnel-ta";
        const std::string cmd =
            "'" + exe.string() + "' init --code 0FF --dir '" + dir.string() + "' >/dev/null";
        if (std::system(cmd.c_str()) != 0) return false;
        int out[2];
        if (::pipe(out) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string e = exe.string(), d = dir.string();
        const char* argv[] = {e.c_str(), "serve", "--dir", d.c_str(), "--port", "0", nullptr};
        const int spawned =
            posix_spawn(&pid, e.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (spawned != 0) return false;
        FILE* log = ::fdopen(out[0], "r");
        char line[1024];
        if (!std::fgets(line, sizeof line, log)) return false;
        const std::string first = line;
        const auto colon = first.rfind(':', first.find(" (TA"));
        if (first.rfind("listening on", 0) != 0 || colon == std::string::npos) return false;
        port = std::atoi(first.c_str() + colon + 1);
        reader = std::thread([this, log] {
            char l[1024];
            while (std::fgets(l, sizeof l, log)) {
                const std::string s = l;
                refusals += s.find("refused -> 503") != std::string::npos;
                timeouts += s.find("refused -> 408") != std::string::npos;
            }
            std::fclose(log);
        });
        return true;
    }
    /// Its resident memory at its highest so far (VmHWM).
    std::string PeakMemory() const {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmHWM:", 0) == 0) return line.substr(line.find_first_not_of(" \t", 6));
        return "unknown";
    }
    ~OwnAuthority() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        if (reader.joinable()) reader.join();
    }
};

double Percentile(std::vector<double>& v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::size_t(std::max(0.0, std::ceil(p * double(v.size())) - 1))];
}

/// The authority's store: a SQLite file, or a PostgreSQL address whose
/// password is in QUARNEL_TA_DB_PASSWORD as for quarnel-ta.
std::unique_ptr<ta::Storage> OpenStore(const std::string& store, std::string& error) {
    if (store.rfind("postgresql://", 0) != 0) return ta::Storage::OpenSqlite(store, true, error);
    const char* password = std::getenv(ta::kDatabasePasswordVariable);
    return ta::Storage::OpenPostgres(store, password ? password : "", error);
}

/// Compares the store with what the clients received; prints the faults.
int CheckStore(const std::string& store, const Shared& s) {
    std::string error;
    const auto db = OpenStore(store, error);
    std::set<std::string> stored;
    std::map<std::pair<std::string, std::string>, int> issued;
    // Each result read whole before the next query: on PostgreSQL a new
    // query on the connection ends the one still being read.
    auto numbers = db ? db->Run("SELECT number FROM affiliates") : std::nullopt;
    while (numbers && numbers->next())
        stored.insert(ta::Storage::Bytes(*numbers, 0));
    auto keys = numbers ? db->Run("SELECT holder, subject FROM issued_keys WHERE kind = ?", {"10"})
                        : std::nullopt;
    while (keys && keys->next())
        ++issued[{ta::Storage::Bytes(*keys, 0), ta::Storage::Bytes(*keys, 1)}];
    if (!keys) {
        std::cout << "cannot read the store " << store << ": " << (db ? db->lastError() : error)
                  << "\n";
        return 1;
    }
    int lost = 0, unknown = 0, keyMismatch = 0;
    for (const auto& n : s.numbers)
        lost += stored.count(n) == 0;
    const std::set<std::string> received(s.numbers.begin(), s.numbers.end());
    for (const auto& n : stored)
        unknown += received.count(n) == 0;
    for (const auto& [pair, count] : issued) {
        const auto it = s.keys.find(pair);
        keyMismatch += std::abs(count - (it == s.keys.end() ? 0 : it->second));
    }
    for (const auto& [pair, count] : s.keys)
        keyMismatch += issued.count(pair) ? 0 : count;
    std::cout << "store: " << stored.size() << " affiliates, " << lost
              << " received but not stored, " << unknown
              << " stored but never received (an exchange that failed);\n"
              << "       key issues that differ from the accepted key replies: " << keyMismatch
              << "\n";
    return lost + keyMismatch > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Shared s;
    s.options = Parse(argc, argv);
    Options& o = s.options;
    const QCoreApplication app(argc, argv);  // Qt SQL loads its drivers through it
    ::signal(SIGPIPE, SIG_IGN);
    char tmpl[] = "/tmp/quarnel-load-XXXXXX";
    if (!::mkdtemp(tmpl)) return 1;
    s.root = tmpl;
    OwnAuthority own;
    if (o.tas.empty()) {
        if (!own.Start(s.root / "ta")) {
            std::cerr << "quarnel-load: cannot start quarnel-ta in " << s.root << "\n";
            return 1;
        }
        o.tas.push_back({"127.0.0.1", own.port});
        o.params = s.root / "ta" / "QuarnelTaPr.0FF";
        if (o.store.empty()) o.store = (s.root / "ta" / "quarnel-ta.sqlite").string();
    }
    std::string problem;
    if (!ReadTaParameterFile(o.params, s.ta, &problem)) {
        std::cerr << "quarnel-load: " << o.params << ": " << problem << "\n";
        return 1;
    }
    std::atomic<bool> stop{false};
    SlowFigures slow;
    std::thread slowThread;
    if (o.slow > 0) {
        slowThread = std::thread([&] { HoldSlow(o, stop, slow); });
        std::this_thread::sleep_for(std::chrono::seconds(2));  // let them take their places
    }
    const auto t0 = Clock::now();
    s.end = t0 + std::chrono::seconds(o.seconds);
    std::vector<std::thread> clients;
    for (int i = 0; i < o.clients; ++i)
        clients.emplace_back(Client, std::ref(s), i);
    long slowSamples = 0, slowOpenSum = 0;
    while (Clock::now() < s.end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ++slowSamples;
        slowOpenSum += slow.open.load();
    }
    for (auto& c : clients)
        c.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    stop = true;
    if (slowThread.joinable()) slowThread.join();

    std::printf(
        "quarnel-load: %d clients from %s, %.1f s, %d slow connections from %s, %zu "
        "authorit%s\n",
        o.clients, o.from.c_str(), seconds, o.slow, o.slowFrom.c_str(), o.tas.size(),
        o.tas.size() == 1 ? "y" : "ies");
    std::printf("%-6s %8s %6s %6s %8s %8s %8s %8s %8s\n", "kind", "answered", "503", "failed",
                "req/s", "p50 ms", "p90 ms", "p99 ms", "max ms");
    Figures all;
    for (auto& [kind, f] : s.figures) {
        all.ms.insert(all.ms.end(), f.ms.begin(), f.ms.end());
        all.refused503 += f.refused503;
        all.failed += f.failed;
    }
    s.figures["all"] = all;
    for (auto& [kind, f] : s.figures) {
        std::printf("%-6s %8zu %6d %6d %8.1f %8.1f %8.1f %8.1f %8.1f\n", kind.c_str(), f.ms.size(),
                    f.refused503, f.failed, double(f.ms.size()) / seconds, Percentile(f.ms, 0.5),
                    Percentile(f.ms, 0.9), Percentile(f.ms, 0.99), Percentile(f.ms, 1.0));
    }
    if (o.slow > 0) {
        std::printf(
            "slow connections: %ld open or opening on average, %d refused 503, %d ended 408\n",
            slowSamples ? slowOpenSum / slowSamples : 0L, slow.refused503.load(),
            slow.timedOut408.load());
    }
    if (own.pid > 0) {
        std::printf("authority log: %d refusals 503, %d time limits 408; peak memory %s\n",
                    own.refusals.load(), own.timeouts.load(), own.PeakMemory().c_str());
    }
    int keys = 0;
    for (const auto& [pair, count] : s.keys)
        keys += count;
    std::printf("replies: %zu affiliation numbers, %d given twice; %d keys accepted\n",
                s.numbers.size(), s.duplicateNumbers, keys);
    int faults = s.duplicateNumbers + (all.ms.empty() ? 1 : 0);
    if (!o.store.empty()) faults += CheckStore(o.store, s);
    std::printf("%s\n", faults == 0 && all.failed == 0 ? "checks: passed" : "checks: FAILED");
    std::error_code ec;
    fs::remove_all(s.root, ec);
    return faults == 0 && all.failed == 0 ? 0 : 1;
}
