// SPDX-License-Identifier: GPL-3.0-or-later
// Several quarnel-ta instances on one store: concurrent requests across them,
// an instance killed while it works, the framing they refuse and the requests
// sent to them again, a folder of the first schema, and the copy of an SQLite
// authority into PostgreSQL. With QUARNEL_TA_DB_DIR the instances share a
// PostgreSQL database, otherwise one SQLite folder.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QTimer>

#include <map>
#include <set>

#include "holder_fixture.h"
#include "protocol/identity.h"
#include "ta/service/storage.h"
#include "ta_server.h"

namespace quarnel::test {
namespace {

struct Posted {
    int status = 0;  ///< 0: no reply (connection refused or cut)
    std::string body;
};

// The HTTP request that posts `data`, with `headers` and the length of `data`.
std::string Http(const std::string& data, const std::string& headers = "") {
    return "POST /QuarnelSys/ HTTP/1.0\r\n" + headers +
           "Content-Length: " + std::to_string(data.size()) + "\r\n\r\n" + data;
}

// Posts every request at once, each to its port, and waits for every reply.
// `raw`: the requests are whole HTTP requests, not request data.
std::vector<Posted> PostAll(const std::vector<std::pair<quint16, std::string>>& requests,
                            bool raw = false) {
    std::vector<Posted> out(requests.size());
    std::vector<QByteArray> received(requests.size());
    std::vector<bool> finished(requests.size());
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        sockets.push_back(std::make_unique<QTcpSocket>());
        QTcpSocket* s = sockets.back().get();
        const std::string bytes = raw ? requests[i].second : Http(requests[i].second);
        QObject::connect(s, &QTcpSocket::connected,
                         [s, bytes] { s->write(QByteArray::fromStdString(bytes)); });
        QObject::connect(s, &QTcpSocket::readyRead,
                         [s, &received, i] { received[i] += s->readAll(); });
        const auto end = [&finished, &received, s, i] {
            if (finished[i]) return;
            received[i] += s->readAll();
            finished[i] = true;
        };
        QObject::connect(s, &QTcpSocket::disconnected, end);
        QObject::connect(s, &QTcpSocket::errorOccurred, end);
        s->connectToHost(QHostAddress::LocalHost, requests[i].first);
    }
    EXPECT_TRUE(
        RunUntil([&] { return std::count(finished.begin(), finished.end(), false) == 0; }, 120000));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::string r = received[i].toStdString();
        const auto head = r.find("\r\n\r\n");
        const auto length = r.find("Content-Length: ");
        if (r.rfind("HTTP/1.", 0) != 0 || head == std::string::npos || length > head) continue;
        out[i].body = r.substr(head + 4);
        // A reply cut short by a dying server was never given.
        if (out[i].body.size() == std::stoul(r.substr(length + 16))) {
            out[i].status = std::stoi(r.substr(9, 3));
        }
    }
    return out;
}

class Instances : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ta_.ok());
        ports_ = {quint16(50000 + HexToWord(ta_.code()))};
        for (int i = 0; i < 2; ++i) {
            ports_.push_back(ta_.AddInstance());
            ASSERT_NE(ports_.back(), 0);
        }
    }

    /// `n` new holders of the authority, each with its request of `kind` built.
    std::vector<std::unique_ptr<ProgramData>> NewHolders(int n, std::uint32_t seed) {
        std::vector<std::unique_ptr<ProgramData>> holders;
        for (int i = 0; i < n; ++i) {
            holders.push_back(NewHolder(root_.path() / std::to_string(seed + i), "FAD"[i % 3],
                                        "NOM" + std::to_string(i), seed + i, ta_.ParameterFile()));
        }
        return holders;
    }
    std::vector<std::pair<quint16, std::string>> Requests(
        std::vector<std::unique_ptr<ProgramData>>& holders, Kind kind, quint16 onlyPort = 0) {
        std::vector<std::pair<quint16, std::string>> r;
        for (std::size_t i = 0; i < holders.size(); ++i) {
            ProgramData& h = *holders[i];
            h.authority.requestKind = kind;
            h.authority.correspondentNumber = holders[(i + 1) % holders.size()]->ownNumber;
            EXPECT_TRUE(BuildOutgoingBody(h, h.authority, h.messages).ok);
            if (kind == Kind::Affiliation) state::AffiliationRequested(h);
            r.emplace_back(onlyPort ? onlyPort : ports_[i % ports_.size()],
                           RequestData(h.authority.outgoingBody));
        }
        return r;
    }
    /// Applies the replies; the numbers of the holders whose request was answered.
    static std::set<std::string> Accept(std::vector<std::unique_ptr<ProgramData>>& holders,
                                        const std::vector<Posted>& replies) {
        std::set<std::string> numbers;
        for (std::size_t i = 0; i < holders.size(); ++i) {
            if (replies[i].status != 200) continue;
            ProgramData& h = *holders[i];
            EXPECT_TRUE(ProcessTaReply(h, h.authority, replies[i].body).accepted) << i;
            EXPECT_TRUE(numbers.insert(h.ownNumber).second) << "twice: " << h.ownNumber;
        }
        return numbers;
    }

    /// Another connection to the instances' store.
    QSqlDatabase OpenStore(const QString& name = "blocker") {
        QSqlDatabase db;
        if (ta_.database().empty()) {
            db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(
                QString::fromStdString((ta_.dir() / ta::kDatabaseFileName).string()));
        } else {
            const QUrl u(QString::fromStdString(ta_.database()));
            db = QSqlDatabase::addDatabase("QPSQL", name);
            db.setHostName(u.host());
            db.setPort(u.port());
            db.setDatabaseName(u.path().mid(1));
            db.setUserName(u.userName());
            db.setPassword(QString::fromStdString(TestCluster().password));
        }
        db.open();
        return db;
    }

    TempDir root_;
    TaServer ta_;
    std::vector<quint16> ports_;
};

TEST_F(Instances, ConcurrentAffiliationsAndKeyRequestsGetDistinctNumbersAndAllAnswers) {
    auto holders = NewHolders(24, 100);
    const auto affiliated = PostAll(Requests(holders, Kind::Affiliation));
    for (const Posted& p : affiliated)
        ASSERT_EQ(p.status, 200) << p.body;
    EXPECT_EQ(Accept(holders, affiliated).size(), holders.size());
    // Each asks the next one's key, and the last the first's: pairs drawn by
    // two instances at once.
    const auto keys = PostAll(Requests(holders, Kind::Key));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ASSERT_EQ(keys[i].status, 200) << keys[i].body;
        ProgramData& h = *holders[i];
        EXPECT_TRUE(ProcessTaReply(h, h.authority, keys[i].body).accepted) << i;
    }
}

TEST_F(Instances, AnInstanceKilledInTheMiddleOfRequestsLosesNothingItAcknowledged) {
    auto holders = NewHolders(24, 200);
    auto requests = Requests(holders, Kind::Affiliation, ports_[1]);
    const std::size_t late = 4;
    auto replies = PostAll({requests.begin(), requests.end() - late});
    {
        // The last requests find the store held by another writer and wait
        // inside their transaction (PostgreSQL) or for it (SQLite) when the
        // instance is killed.
        QSqlDatabase blocker = OpenStore();
        ASSERT_TRUE(blocker.isOpen()) << blocker.lastError().text().toStdString();
        QSqlQuery q(blocker);
        ASSERT_TRUE(ta_.database().empty()
                        ? q.exec("BEGIN IMMEDIATE")
                        : q.exec("BEGIN") &&
                              q.exec("LOCK TABLE number_counters IN EXCLUSIVE MODE"));
        QTimer::singleShot(1500, [this] { ta_.KillInstance(0); });
        for (const Posted& p : PostAll({requests.end() - late, requests.end()}))
            EXPECT_EQ(p.status, 0);
        ASSERT_TRUE(q.exec("ROLLBACK"));
        q = QSqlQuery();
        blocker.close();
    }
    QSqlDatabase::removeDatabase("blocker");
    replies.resize(holders.size());
    const auto acknowledged = Accept(holders, replies);
    ASSERT_EQ(acknowledged.size(), holders.size() - late);
    // Every acknowledged affiliate is known to the instances left: a key for
    // it is delivered, and a newcomer draws a number of its own.
    auto asker = NewHolders(1, 300);
    const auto newcomer = Accept(asker, PostAll(Requests(asker, Kind::Affiliation, ports_[2])));
    ASSERT_EQ(newcomer.size(), 1u);
    EXPECT_EQ(acknowledged.count(*newcomer.begin()), 0u);
    std::vector<std::pair<quint16, std::string>> asks;
    ProgramData& h = *asker[0];
    for (const std::string& number : acknowledged) {
        h.authority.requestKind = Kind::Key;
        h.authority.correspondentNumber = number;
        ASSERT_TRUE(BuildOutgoingBody(h, h.authority, h.messages).ok);
        asks.emplace_back(ports_[0], RequestData(h.authority.outgoingBody));
    }
    for (const Posted& p : PostAll(asks))
        EXPECT_EQ(p.status, 200) << p.body;
}

// Requests each instance refuses for their framing (a proxy in front might
// frame them otherwise) or for an identity longer than the forms allow, and
// requests sent again: replayed, or resent honestly after a lost reply, to
// any instance, at once or after newer ones. Each gets the very reply it got
// before and changes nothing.
TEST_F(Instances, BadFramingIsRefusedAndARequestSentAgainGetsTheSameReply) {
    auto holders = NewHolders(2, 400);
    ProgramData& h = *holders[0];  // category F
    const auto build = [&h](Kind kind) {
        h.authority.requestKind = kind;
        EXPECT_TRUE(BuildOutgoingBody(h, h.authority, h.messages).ok);
        return RequestData(h.authority.outgoingBody);
    };
    const auto at = [this](std::size_t instance, const std::string& bytes) {
        return std::pair{ports_[instance % ports_.size()], bytes};
    };
    std::map<std::string, std::string> replies;  // by step
    struct Step {
        std::string name;
        std::function<std::vector<std::pair<quint16, std::string>>()> send;  // whole HTTP
        int status;
        std::string sameAs;  // the step whose reply each reply must repeat
        bool accept;         // the holder takes the reply
        bool held = false;   // the store is held by another writer for a moment
    };
    std::string affiliation, update1, update2, certification;
    const std::string pad(70 * 1024, 'p');
    const std::vector<Step> steps{
        {"affiliation",
         [&] {
             affiliation = build(Kind::Affiliation);
             state::AffiliationRequested(h);
             return std::vector{at(0, Http(affiliation))};
         },
         200, "", true},
        {"affiliation again", [&] { return std::vector{at(1, Http(affiliation))}; }, 200,
         "affiliation", false},
        {"acknowledgement",
         [&] {
             h.authority.firstAffiliation = true;
             return std::vector{at(2, Http(build(Kind::Update)))};
         },
         200, "", true},
        {"update to Lille",
         [&] {
             h.authority.firstAffiliation = false;
             h.settings.identity[6] = "LILLE";
             update1 = build(Kind::Update);
             return std::vector{at(0, Http(update1))};
         },
         200, "", true},
        // The reply to Nice is lost on the way: the holder resends the same
        // request to another instance.
        {"update to Nice, reply lost",
         [&] {
             h.settings.identity[6] = "NICE";
             update2 = build(Kind::Update);
             return std::vector{at(1, Http(update2))};
         },
         200, "", false},
        {"update to Nice resent", [&] { return std::vector{at(2, Http(update2))}; }, 200,
         "update to Nice, reply lost", true},
        {"update to Lille replayed", [&] { return std::vector{at(0, Http(update1))}; }, 200,
         "update to Lille", false},
        // Three copies at once, each instance reading the replies kept
        // before any of them has committed its own.
        {"certification three times at once",
         [&] {
             h.messages.certificationData = std::string(32, '2') + "\r" + std::string(32, 'A') +
                                            "\r" + std::string(32, 'B') + "\r05/12/2026 14:03:07";
             certification = build(Kind::Certification);
             return std::vector{at(0, Http(certification)), at(1, Http(certification)),
                                at(2, Http(certification))};
         },
         200, "", true, true},
        {"certification again", [&] { return std::vector{at(1, Http(certification))}; }, 200,
         "certification three times at once", false},
        {"two lengths", [&] { return std::vector{at(1, Http(update1, "Content-Length: 3\r\n"))}; },
         400, "", false},
        {"a length and chunks",
         [&] { return std::vector{at(2, Http(update1, "Transfer-Encoding: chunked\r\n"))}; }, 400,
         "", false},
        {"a 70 KiB header line in one piece",
         [&] { return std::vector{at(0, Http(update1, "X-Pad: " + pad + "\r\n"))}; }, 431, "",
         false},
        {"a name longer than the form takes",
         [&] {
             ProgramData& o = *holders[1];  // category D
             o.settings.identity[2] = std::string(kIdentityLineMax[2] + 1, 'N');
             o.authority.requestKind = Kind::Affiliation;
             EXPECT_TRUE(BuildOutgoingBody(o, o.authority, o.messages).ok);
             return std::vector{at(1, Http(RequestData(o.authority.outgoingBody)))};
         },
         400, "", false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const auto requests = step.send();
        QSqlDatabase blocker;
        QSqlQuery hold;
        if (step.held) {
            blocker = OpenStore();
            hold = QSqlQuery(blocker);
            ASSERT_TRUE(ta_.database().empty()
                            ? hold.exec("BEGIN IMMEDIATE")
                            : hold.exec("BEGIN") &&
                                  hold.exec("LOCK TABLE certificates IN EXCLUSIVE MODE"));
            QTimer::singleShot(1000, [&hold] { hold.exec("ROLLBACK"); });
        }
        const auto posted = PostAll(requests, true);
        if (step.held) {
            hold = QSqlQuery();
            blocker.close();
            blocker = QSqlDatabase();
            QSqlDatabase::removeDatabase("blocker");
        }
        for (const Posted& p : posted) {
            ASSERT_EQ(p.status, step.status) << p.body;
            EXPECT_EQ(p.body, posted[0].body);
            if (!step.sameAs.empty()) {
                EXPECT_EQ(p.body, replies.at(step.sameAs));
            }
        }
        replies[step.name] = posted[0].body;
        if (step.accept) {
            EXPECT_TRUE(ProcessTaReply(h, h.authority, posted[0].body).accepted);
        }
    }
    EXPECT_EQ(h.State(), ProgramState::Affiliated);
    // One affiliate, one certificate, the identity last sent.
    QSqlDatabase store = OpenStore("reader");
    QSqlQuery q(store);
    const auto single = [&q](const QString& sql) {
        EXPECT_TRUE(q.exec(sql) && q.next()) << q.lastError().text().toStdString();
        return q.value(0).toByteArray().toStdString();
    };
    EXPECT_EQ(single("SELECT COUNT(*) FROM affiliates"), "1");
    EXPECT_EQ(single("SELECT COUNT(*) FROM certificates"), "1");
    EXPECT_NE(single("SELECT identity FROM affiliates").find("\rNICE\r"), std::string::npos);
    q = QSqlQuery();
    store.close();
    store = QSqlDatabase();
    QSqlDatabase::removeDatabase("reader");
}

// An authority in this process on SQLite in its folder, with three affiliates
// of category F, the first of whom holds a key for the second.
class InProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(ta::InitialiseAuthority(dir_.path(), "0A1", error)) << error;
        auto service = Open();
        for (int i = 0; i < 3; ++i) {
            holders_.push_back(NewHolder(dir_.path() / std::to_string(i), 'F', "NOM", 10 + i,
                                         dir_.path() / "QuarnelTaPr.0A1"));
            ASSERT_TRUE(Ask(*service, *holders_.back(), Kind::Affiliation));
        }
        ASSERT_TRUE(Ask(*service, *holders_[0], Kind::Key, holders_[1]->ownNumber));
    }
    std::unique_ptr<ta::AuthorityService> Open(const std::string& database = "",
                                               long long answeredKept = ta::kAnsweredKept) {
        ta::ServiceOptions options;
        options.dir = dir_.path();
        options.databaseUrl = database;
        options.answeredKept = answeredKept;
        options.databasePassword = TestCluster().password;
        std::string error;
        auto service = ta::AuthorityService::Open(options, error);
        EXPECT_TRUE(service) << error;
        return service;
    }
    static bool Ask(ta::AuthorityService& service, ProgramData& h, Kind kind,
                    const std::string& other = "") {
        h.authority.requestKind = kind;
        h.authority.correspondentNumber = other;
        const BuildResult b = BuildOutgoingBody(h, h.authority, h.messages);
        EXPECT_TRUE(b.ok) << b.problem;
        if (!b.ok) return false;
        if (kind == Kind::Affiliation) state::AffiliationRequested(h);
        const ta::Reply r = service.Handle(RequestData(h.authority.outgoingBody));
        EXPECT_EQ(r.status, 200) << r.reason;
        const ReplyOutcome outcome = ProcessTaReply(h, h.authority, r.body);
        EXPECT_TRUE(outcome.accepted) << int(outcome.refusal);
        return r.status == 200 && outcome.accepted;
    }
    /// A newcomer's number follows the last one, and the first affiliate is known.
    void ExpectNumbersGoOn(ta::AuthorityService& service) {
        auto h = NewHolder(dir_.path() / "new", 'F', "NOM", 20, dir_.path() / "QuarnelTaPr.0A1");
        ASSERT_TRUE(Ask(service, *h, Kind::Affiliation));
        EXPECT_EQ(HexToWord(h->ownNumber.substr(3)),
                  HexToWord(holders_[2]->ownNumber.substr(3)) + 1);
        EXPECT_TRUE(Ask(service, *h, Kind::Key, holders_[0]->ownNumber));
    }

    TempDir dir_;
    std::vector<std::unique_ptr<ProgramData>> holders_;
};

TEST_F(InProcess, AFolderOfTheFirstSchemaIsBroughtUpToDateAndKeepsItsNumbers) {
    {
        // What an authority of the first schema holds: the four tables only.
        auto db = QSqlDatabase::addDatabase("QSQLITE", "first-schema");
        db.setDatabaseName(QString::fromStdString((dir_.path() / ta::kDatabaseFileName).string()));
        ASSERT_TRUE(db.open());
        for (const char* table :
             {"schema_version", "number_counters", "answered_requests", "answered_affiliations"})
            ASSERT_TRUE(QSqlQuery(db).exec(QString("DROP TABLE ") + table));
        db.close();
    }
    QSqlDatabase::removeDatabase("first-schema");
    auto service = Open();
    ASSERT_TRUE(service);
    ExpectNumbersGoOn(*service);
}

TEST_F(InProcess, RepliesAreKeptForTheLastRequestsOfEachAffiliateAndKind) {
    auto service = Open("", 2);
    ASSERT_TRUE(service);
    ProgramData& h = *holders_[0];
    h.authority.requestKind = Kind::Update;
    std::vector<std::string> sent;
    for (const char* city : {"LILLE", "NICE", "BREST"}) {
        h.settings.identity[6] = city;
        ASSERT_TRUE(BuildOutgoingBody(h, h.authority, h.messages).ok);
        sent.push_back(RequestData(h.authority.outgoingBody));
        const ta::Reply r = service->Handle(sent.back());
        ASSERT_EQ(r.status, 200) << r.reason;
        EXPECT_FALSE(r.replayed);
    }
    for (std::size_t i = sent.size(); i-- > 0;)
        EXPECT_EQ(service->Handle(sent[i]).replayed, i > 0) << i;
}

TEST_F(InProcess, MigrateCopiesIntoPostgresqlOnceAndTheCopyServes) {
    const PgCluster cluster = TestCluster();
    if (cluster.url.empty()) GTEST_SKIP() << "no PostgreSQL cluster (QUARNEL_TA_DB_DIR)";
    const std::string database = NewDatabase(cluster, "migrate_" + std::to_string(::getpid()));
    ASSERT_FALSE(database.empty());
    const auto migrate = [&] {
        QProcess p;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("QUARNEL_TA_DB_PASSWORD", QString::fromStdString(cluster.password));
        p.setProcessEnvironment(env);
        p.start(QUARNEL_BIN_DIR "/quarnel-ta",
                {"migrate", "--from", QString::fromStdString(dir_.path().string()), "--db",
                 QString::fromStdString(database)});
        p.waitForFinished(60000);
        return std::make_pair(p.exitCode(),
                              (p.readAllStandardOutput() + p.readAllStandardError()).toStdString());
    };
    const auto [code, said] = migrate();
    ASSERT_EQ(code, 0) << said;
    EXPECT_NE(said.find("copied 3 affiliates, 1 pair_keys, 1 issued_keys, 0 certificates"),
              std::string::npos)
        << said;
    const auto [again, refusal] = migrate();
    EXPECT_EQ(again, 1);
    EXPECT_NE(refusal.find("already holds 3 affiliates"), std::string::npos) << refusal;
    auto service = Open(database);
    ASSERT_TRUE(service);
    ExpectNumbersGoOn(*service);
    // The pair key came along: the second affiliate gets the first one's.
    EXPECT_TRUE(Ask(*service, *holders_[1], Kind::Key, holders_[0]->ownNumber));
}

}  // namespace
}  // namespace quarnel::test
