// SPDX-License-Identifier: GPL-3.0-or-later
// The authority under load: holders affiliate (requests 00 and 01) and ask
// keys (10) over HTTP with the program's own request building and reply
// processing, while slow connections are held open alongside; then the
// figures, and the check that no affiliation number was lost or given twice
// and that each accepted key reply is exactly one key issue in the store (its
// SQLite file, or its PostgreSQL database with the password in
// QUARNEL_TA_DB_PASSWORD).
//
// So that the driver cannot cap the figures, the program's logic runs outside
// the clock: every request of a phase is built before it starts, the phase
// only sends them (`--clients` connections at once), and the replies are
// processed after it. Three timed phases: affiliations (00), their
// acknowledgements (01), then key requests (10) among the holders made, for
// `--seconds`. Each phase reports the CPU time (seconds) of the authority (its
// own, or the `--ta-pid` processes), of the database (`--db-pid`) and of the
// driver, and the load average.
//
//   quarnel-load [--clients N] [--seconds S] [--affiliations N] [--slow M]
//                [--ta HOST:PORT]... [--ta-pid PID]... [--db-pid PID]... [--params FILE]
//                [--store FILE|postgresql://USER@HOST:PORT/DB]
//                [--from ADDRESS] [--slow-from ADDRESS] [--work DIR]
//
// Without --ta it starts its own quarnel-ta in a temporary folder.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
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
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>

#include "authority/authority_state.h"
#include "authority/connection.h"
#include "authority/replies.h"
#include "authority/requests.h"
#include "crypto/generator.h"
#include "crypto/random.h"
#include "holder/holder_context.h"
#include "holder/program_state.h"
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
    int clients = 16;
    int seconds = 30;
    int affiliations = 1000;
    int slow = 500;
    std::vector<Endpoint> tas;
    std::vector<pid_t> taPids;  ///< instances whose CPU time is reported
    std::vector<pid_t> dbPids;  ///< database server processes, likewise
    fs::path params;
    std::string store;  ///< a SQLite file or a postgresql:// address
    std::string from = "127.0.0.2";
    std::string slowFrom = "127.0.0.1";
    fs::path work;  ///< where the holders' folders go
};

// Limits on what the command line may ask.
constexpr int kMaxClients = 1000;
constexpr int kMaxSeconds = 24 * 3600;
constexpr int kMaxAffiliations = 100000;
constexpr int kMaxSlow = 10000;
// Key requests built for each second of the key phase: more than one
// authority is expected to answer, so that the phase runs its whole time
// (when they are all sent sooner, it ends then).
constexpr int kKeysPerSecond = 5000;
// At most so many key requests are built: their replies stay in memory until
// the phase ends, about a kilobyte each.
constexpr int kMaxKeys = 300000;

[[noreturn]] void Usage(const std::string& why) {
    std::cerr
        << "quarnel-load: " << why
        << "\nusage: quarnel-load [--clients N] [--seconds S] [--affiliations N] "
           "[--slow M] [--ta HOST:PORT]... [--ta-pid PID]... [--db-pid PID]... [--params FILE] "
           "[--store FILE|postgresql://USER@HOST:PORT/DB] [--from ADDRESS] "
           "[--slow-from ADDRESS] [--work DIR]\n";
    std::exit(2);
}

int Number(const std::string& v, int max, const std::string& name) {
    if (v.empty() || v.size() > 7 || !std::all_of(v.begin(), v.end(), ::isdigit) ||
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
        } else if (a == "--affiliations") {
            o.affiliations = std::max(2, Number(v, kMaxAffiliations, a));
        } else if (a == "--slow") {
            o.slow = Number(v, kMaxSlow, a);
        } else if (a == "--ta") {
            const auto colon = v.rfind(':');
            if (colon == std::string::npos) Usage("not HOST:PORT: " + v);
            o.tas.push_back({v.substr(0, colon), Number(v.substr(colon + 1), 65535, a)});
        } else if (a == "--ta-pid") {
            o.taPids.push_back(pid_t(Number(v, 4194304, a)));
        } else if (a == "--db-pid") {
            o.dbPids.push_back(pid_t(Number(v, 4194304, a)));
        } else if (a == "--params") {
            o.params = v;
        } else if (a == "--store") {
            o.store = v;
        } else if (a == "--from") {
            o.from = v;
        } else if (a == "--slow-from") {
            o.slowFrom = v;
        } else if (a == "--work") {
            o.work = v;
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
    // The port is chosen at connect, among the pairs of addresses: bound
    // first, thousands of connections a second would search the port range
    // on every bind.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &one, sizeof one);
    const sockaddr_in local = Address(from, 0), remote = Address(to.host, to.port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        (::connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0 &&
         errno != EINPROGRESS)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

struct Holder : HolderContext {
    AuthorityState authority;
    MessageState messages;
};

/// One request, built before its phase, and what came back.
struct Request {
    Holder* holder = nullptr;
    std::size_t ta = 0;   ///< which authority
    std::string bytes;    ///< the whole HTTP request
    std::string subject;  ///< kind 10: the number asked for
    bool sent = false;
    int status = 0;  ///< 0: no reply
    std::string body;
    double ms = 0;
};

/// Sends `r` and reads the reply with the program's reply reader.
void Post(const std::string& from, const Endpoint& ta, Request& r) {
    const auto t0 = Clock::now();
    const int fd = Connect(from, ta);
    if (fd >= 0) {
        timeval limit{60, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        if (::send(fd, r.bytes.data(), r.bytes.size(), MSG_NOSIGNAL) == ssize_t(r.bytes.size())) {
            HttpReplyReader reader;
            char buf[16384];
            for (ssize_t n; reader.state() == HttpReplyReader::State::Reading &&
                            (n = ::recv(fd, buf, sizeof buf, 0)) > 0;)
                (void)reader.Feed({buf, std::size_t(n)});
            if (reader.reply().headerComplete) {
                r.status = reader.reply().status;
                r.body = std::string(reader.Body());
            }
            // The authority closes first: the connection's wait after the
            // close (TIME_WAIT) stays on its side, not on the driver's ports.
            while (::recv(fd, buf, sizeof buf, 0) > 0) {
            }
        }
        ::close(fd);
    }
    r.ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    r.sent = true;
    std::string().swap(r.bytes);  // only the reply is needed from now on
}

/// CPU seconds (user and system) of this process, all threads.
double OwnCpu() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           1e-6 * double(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

/// CPU seconds of another process, from /proc; 0 when it cannot be read.
double CpuOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(stat.substr(close + 2));
    std::string f;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i)
        if (i >= 14) ticks += std::atof(f.c_str());  // utime, stime
    return ticks / double(::sysconf(_SC_CLK_TCK));
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

struct Shared {
    Options options;
    TaParameters ta;
    fs::path root;
    std::vector<pid_t> taPids;
    std::vector<std::unique_ptr<Holder>> holders;
    std::vector<std::string> numbers;  // affiliation numbers received
    int duplicateNumbers = 0;
    std::map<std::pair<std::string, std::string>, int> keys;  // accepted (holder, subject)
    std::uint32_t seed = 1;
    bool failed = false;  // a request not answered or not accepted
};

/// A new holder (private person) in state 0, key set-up done.
std::unique_ptr<Holder> NewHolder(Shared& s, int id) {
    auto h = std::make_unique<Holder>();
    h->dataFolder = h->programFolder = s.root / ("h" + std::to_string(id));
    std::error_code ec;
    fs::create_directories(h->dataFolder, ec);
    SetDefaultFolders(*h);
    if (ec || CreateFolders(h->settings)) return nullptr;
    Settings& st = h->settings;
    st.category = 'A';
    st.taAddress = s.options.tas[0].host;
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

/// The body of `kind` as the request sequences build it, ready to send.
bool Build(Shared& s, Holder& h, Kind kind, Request& r, std::size_t index) {
    h.authority.requestKind = kind;
    if (!BuildOutgoingBody(h, h.authority, h.messages).ok) return false;
    r.holder = &h;
    r.ta = index % s.options.tas.size();
    const Endpoint& ta = s.options.tas[r.ta];
    r.bytes = HttpRequestBytes(HttpTarget{ta.host, ta.port}, false,
                               RequestData(h.authority.outgoingBody));
    return true;
}

/// The reply of `r` processed by its holder, as the TA connection window
/// does when the holder accepts it.
bool Accepted(const Request& r) {
    const Lines lines = SplitLines(r.body);
    return r.status == 200 && ReplyCanBeAccepted(lines) &&
           ProcessTaReplyLines(*r.holder, r.holder->authority, lines).accepted;
}

/// Figures of one timed phase.
struct Phase {
    std::string kind;
    std::size_t built = 0;
    std::size_t sent = 0;
    std::vector<double> ms;  // answered with 200 and accepted
    int refused503 = 0;
    int failed = 0;  // no reply, another status, or a reply not accepted
    double seconds = 0;
    double taCpu = 0;
    double dbCpu = 0;
    double driverCpu = 0;
    std::string loadBefore, loadAfter;
};

/// Sends the requests, `clients` connections at once, until all are sent or
/// `limit` has passed: the only work under the clock.
void Fire(Shared& s, std::vector<Request>& requests, double limit, Phase& phase) {
    const auto cpuOf = [](const std::vector<pid_t>& pids) {
        double t = 0;
        for (const pid_t pid : pids)
            t += CpuOf(pid);
        return t;
    };
    phase.built = requests.size();
    phase.loadBefore = LoadAverage();
    const double ta0 = cpuOf(s.taPids), db0 = cpuOf(s.options.dbPids), own0 = OwnCpu();
    const auto t0 = Clock::now();
    const auto end =
        t0 + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(limit));
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < s.options.clients; ++c) {
        clients.emplace_back([&] {
            for (;;) {
                const std::size_t i = next++;
                if (i >= requests.size() || Clock::now() >= end) return;
                Post(s.options.from, s.options.tas[requests[i].ta], requests[i]);
            }
        });
    }
    for (auto& c : clients)
        c.join();
    phase.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    phase.taCpu = cpuOf(s.taPids) - ta0;
    phase.dbCpu = cpuOf(s.options.dbPids) - db0;
    phase.driverCpu = OwnCpu() - own0;
    phase.loadAfter = LoadAverage();
    phase.sent = std::size_t(
        std::count_if(requests.begin(), requests.end(), [](const Request& r) { return r.sent; }));
}

/// Counts a request of the phase; true when its reply was accepted.
bool Count(Shared& s, Phase& phase, const Request& r) {
    if (!r.sent) return false;
    if (Accepted(r)) {
        phase.ms.push_back(r.ms);
        return true;
    }
    if (r.status == 503) {
        ++phase.refused503;
    } else {
        ++phase.failed;
        s.failed = true;
    }
    return false;
}

/// Affiliations: `count` new holders, request 00 timed, then the
/// acknowledgements 01 timed; the holders that went through stay in s.holders.
void Affiliate(Shared& s, int count, Phase& affiliations, Phase& acknowledgements) {
    std::vector<std::unique_ptr<Holder>> made;
    std::vector<Request> requests;
    requests.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        auto h = NewHolder(s, i);
        Request r;
        // As RunFirstAffiliation: request 00, state 1, key store and settings saved.
        if (!h || !Build(s, *h, Kind::Affiliation, r, std::size_t(i))) {
            std::cerr << "quarnel-load: cannot build an affiliation request\n";
            std::exit(1);
        }
        state::AffiliationRequested(*h);
        (void)h->SaveKeyStore();
        (void)SaveSettings(*h, SettingsPath(*h));
        requests.push_back(std::move(r));
        made.push_back(std::move(h));
    }
    affiliations.kind = "00";
    Fire(s, requests, 1e9, affiliations);

    std::vector<Request> acks;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (!Count(s, affiliations, requests[i])) continue;
        Holder& h = *requests[i].holder;
        if (std::find(s.numbers.begin(), s.numbers.end(), h.ownNumber) != s.numbers.end())
            ++s.duplicateNumbers;
        s.numbers.push_back(h.ownNumber);
        h.authority.firstAffiliation = true;
        Request r;
        if (Build(s, h, Kind::Update, r, i)) acks.push_back(std::move(r));
    }
    acknowledgements.kind = "01";
    Fire(s, acks, 1e9, acknowledgements);
    std::set<Holder*> ready;
    for (const Request& r : acks)
        if (Count(s, acknowledgements, r)) ready.insert(r.holder);
    for (auto& h : made)
        if (ready.count(h.get())) s.holders.push_back(std::move(h));
}

/// Key requests among the affiliated holders for `seconds`.
void AskKeys(Shared& s, Phase& phase) {
    std::mt19937 random(7);
    const std::size_t n = s.holders.size();
    const int total = std::min(kMaxKeys, kKeysPerSecond * s.options.seconds);
    std::vector<Request> requests;
    requests.reserve(std::size_t(total));
    for (int i = 0; requests.size() < std::size_t(total) && n >= 2; ++i) {
        Holder& h = *s.holders[random() % n];
        const std::string other = s.holders[random() % n]->ownNumber;
        if (other == h.ownNumber) continue;
        h.authority.correspondentNumber = other;
        Request r;
        if (!Build(s, h, Kind::Key, r, std::size_t(i))) continue;
        r.subject = other;
        requests.push_back(std::move(r));
    }
    phase.kind = "10";
    Fire(s, requests, double(s.options.seconds), phase);
    for (const Request& r : requests) {
        Holder& h = *r.holder;
        if (Count(s, phase, r) && FindCorrespondent(h.correspondents, 'A', r.subject) >= 0)
            ++s.keys[{h.ownNumber, r.subject}];
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

void PrintPhase(Phase& p) {
    std::printf(
        "%-5s %7zu %7zu %8zu %5d %6d %7.1f %8.1f %7.1f %7.1f %7.1f %7.1f %7.2f %7.2f %7.2f  %s -> "
        "%s\n",
        p.kind.c_str(), p.built, p.sent, p.ms.size(), p.refused503, p.failed, p.seconds,
        double(p.ms.size()) / p.seconds, Percentile(p.ms, 0.5), Percentile(p.ms, 0.9),
        Percentile(p.ms, 0.99), Percentile(p.ms, 1.0), p.taCpu, p.dbCpu, p.driverCpu,
        p.loadBefore.c_str(), p.loadAfter.c_str());
}

/// A folder for the holders: memory (/dev/shm) when there is one, so that
/// their saves never wait on a disk.
fs::path WorkFolder(const Options& o) {
    if (!o.work.empty()) return o.work;
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path(ec);
}

}  // namespace

int main(int argc, char** argv) {
    Shared s;
    s.options = Parse(argc, argv);
    Options& o = s.options;
    const QCoreApplication app(argc, argv);  // Qt SQL loads its drivers through it
    ::signal(SIGPIPE, SIG_IGN);
    std::string tmpl = (WorkFolder(o) / "quarnel-load-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) {
        std::cerr << "quarnel-load: cannot make a folder in " << WorkFolder(o) << "\n";
        return 1;
    }
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
        s.taPids.push_back(own.pid);
    }
    s.taPids.insert(s.taPids.end(), o.taPids.begin(), o.taPids.end());
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
    Phase affiliations, acknowledgements, keys;
    Affiliate(s, o.affiliations, affiliations, acknowledgements);
    AskKeys(s, keys);
    stop = true;
    if (slowThread.joinable()) slowThread.join();

    std::printf(
        "quarnel-load: %d connections at once from %s, %d slow connections from %s, %zu "
        "authorit%s, %u cores\n",
        o.clients, o.from.c_str(), o.slow, o.slowFrom.c_str(), o.tas.size(),
        o.tas.size() == 1 ? "y" : "ies", std::thread::hardware_concurrency());
    std::printf("%-5s %7s %7s %8s %5s %6s %7s %8s %7s %7s %7s %7s %7s %7s %7s  %s\n", "kind",
                "built", "sent", "answered", "503", "failed", "s", "req/s", "p50 ms", "p90 ms",
                "p99 ms", "max ms", "ta cpu", "db cpu", "drv cpu", "load average before -> after");
    for (Phase* p : {&affiliations, &acknowledgements, &keys})
        PrintPhase(*p);
    if (o.slow > 0) {
        std::printf("slow connections: %d open at the end, %d refused 503, %d ended 408\n",
                    slow.open.load(), slow.refused503.load(), slow.timedOut408.load());
    }
    if (own.pid > 0) {
        std::printf("authority log: %d refusals 503, %d time limits 408; peak memory %s\n",
                    own.refusals.load(), own.timeouts.load(), own.PeakMemory().c_str());
    }
    int accepted = 0;
    for (const auto& [pair, count] : s.keys)
        accepted += count;
    std::printf("replies: %zu affiliation numbers, %d given twice; %d keys accepted\n",
                s.numbers.size(), s.duplicateNumbers, accepted);
    int faults = s.duplicateNumbers + (keys.ms.empty() ? 1 : 0);
    if (!o.store.empty()) faults += CheckStore(o.store, s);
    const bool passed = faults == 0 && !s.failed;
    std::printf("%s\n", passed ? "checks: passed" : "checks: FAILED");
    s.holders.clear();
    std::error_code ec;
    fs::remove_all(s.root, ec);
    return passed ? 0 : 1;
}
