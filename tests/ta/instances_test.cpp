// Several quarnel-ta instances on one store: concurrent requests across them,
// an instance killed while it works, a folder of the first schema, and the
// copy of an SQLite authority into PostgreSQL. With QUARNEL_TA_DB_DIR the
// instances share a PostgreSQL database, otherwise one SQLite folder.

#include <gtest/gtest.h>

#include <unistd.h>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QTimer>

#include <set>

#include "holder_fixture.h"
#include "ta/service/storage.h"
#include "ta_server.h"

namespace quarnel::test {
namespace {

struct Posted {
    int status = 0;  ///< 0: no reply (connection refused or cut)
    std::string body;
};

// Posts every request at once, each to its port, and waits for every reply;
// `onReply` is told as the first bytes of each reply arrive.
std::vector<Posted> PostAll(const std::vector<std::pair<quint16, std::string>>& requests,
                            const std::function<void(std::size_t)>& onReply = {}) {
    std::vector<Posted> out(requests.size());
    std::vector<QByteArray> received(requests.size());
    std::vector<bool> finished(requests.size());
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        sockets.push_back(std::make_unique<QTcpSocket>());
        QTcpSocket* s = sockets.back().get();
        const std::string data = requests[i].second;
        QObject::connect(s, &QTcpSocket::connected, [s, data] {
            s->write(QByteArray::fromStdString("POST /QuarnelSys/ HTTP/1.0\r\nContent-Length: " +
                                               std::to_string(data.size()) + "\r\n\r\n" + data));
        });
        QObject::connect(s, &QTcpSocket::readyRead, [s, &received, &onReply, i] {
            const bool first = received[i].isEmpty();
            received[i] += s->readAll();
            if (first && onReply) onReply(i);
        });
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
            if (kind == Kind::Affiliation) h.programState = ProgramState::NotAffiliated;
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
    QSqlDatabase OpenStore() {
        QSqlDatabase db;
        if (ta_.database().empty()) {
            db = QSqlDatabase::addDatabase("QSQLITE", "blocker");
            db.setDatabaseName(
                QString::fromStdString((ta_.dir() / ta::kDatabaseFileName).string()));
        } else {
            const QUrl u(QString::fromStdString(ta_.database()));
            db = QSqlDatabase::addDatabase("QPSQL", "blocker");
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
    std::unique_ptr<ta::AuthorityService> Open(const std::string& database = "") {
        ta::ServiceOptions options;
        options.dir = dir_.path();
        options.databaseUrl = database;
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
        if (kind == Kind::Affiliation) h.programState = ProgramState::NotAffiliated;
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
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("DROP TABLE schema_version") && q.exec("DROP TABLE number_counters"));
        db.close();
    }
    QSqlDatabase::removeDatabase("first-schema");
    auto service = Open();
    ASSERT_TRUE(service);
    ExpectNumbersGoOn(*service);
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
