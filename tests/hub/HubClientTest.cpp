// The store's requests to a real nginx: what each answer becomes, and the bounds on each wait
// and size.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "HubClient.h"
#include "NginxServer.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void WriteServed(const NginxServer& nginx, const std::string& path, const std::string& bytes) {
    const std::filesystem::path file = nginx.Root() + "/" + path;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

hub::ClientOptions As(const char* user, const char* password) {
    hub::ClientOptions options;
    options.timeoutMs = 5000;
    options.credentials = hub::CredentialsOf(QByteArray(user) + ":" + password);
    return options;
}

TEST(HubClient, EachAnswerOfTheHubBecomesABodyAnUnchangedListAMissingOneOrAProblem) {
    using Kind = hub::Answer::Kind;
    struct Case {
        const char* name;
        std::function<void(NginxServer&)> before;  // after the list was served once
        hub::ClientOptions options;
        bool conditional;  // sends the ETag of the first answer
        const char* path;
        Kind kind;
        const char* problem;
    };
    const auto nothing = [](NginxServer&) {};
    const Case cases[] = {
        {"a list", nothing, As("s1", "pw1"), false, "lists/s1/all.plu", Kind::Body, ""},
        {"unchanged", nothing, As("s1", "pw1"), true, "lists/s1/all.plu", Kind::NotModified, ""},
        {"changed since",
         [](NginxServer& n) { WriteServed(n, "lists/s1/all.plu", "1\r\n***\r\n"); },
         As("s1", "pw1"), true, "lists/s1/all.plu", Kind::Body, ""},
        {"absent", nothing, As("s1", "pw1"), false, "lists/s1/COM2.plu", Kind::Missing, ""},
        {"wrong password", nothing, As("s1", "wrong"), false, "lists/s1/all.plu", Kind::Failed,
         "не принял учётные данные (HTTP 401)"},
        {"another store's list", nothing, As("s2", "pw2"), false, "lists/s1/all.plu", Kind::Failed,
         "HTTP 401"},
        {"a server error",
         [](NginxServer& n) {
             n.SetFailing(true);
             ASSERT_TRUE(n.Restart());
         },
         As("s1", "pw1"), false, "lists/s1/all.plu", Kind::Failed,
         "ошибкой на lists/s1/all.plu (HTTP 500)"},
        {"down", [](NginxServer& n) { n.Stop(); }, As("s1", "pw1"), false, "lists/s1/all.plu",
         Kind::Failed, "Хаб недоступен"},
    };
    for (const Case& c : cases) {
        NginxServer nginx;
        nginx.AddUser("s1", "pw1");
        nginx.AddUser("s2", "pw2");
        nginx.Grant("/lists/s1/", {"s1"}, {});
        WriteServed(nginx, "lists/s1/all.plu",
                    "1\r\nA\r\n\r\n100\r\n5\r\n0\r\n1001\r\n1\r\n0\r\n***\r\n");
        ASSERT_TRUE(nginx.Start()) << nginx.LastError();
        hub::HubClient client(QUrl(QString::fromStdString(nginx.Url() + "/")), c.options);
        const hub::Answer first =
            hub::HubClient(QUrl(QString::fromStdString(nginx.Url())), As("s1", "pw1"))
                .Get("lists/s1/all.plu");
        ASSERT_EQ(first.kind, Kind::Body) << first.problem;
        ASSERT_FALSE(first.etag.isEmpty());
        // nginx's ETag holds the file's time in seconds: a change within the second needs a
        // time of its own.
        std::filesystem::last_write_time(
            nginx.Root() + "/lists/s1/all.plu",
            std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
        const hub::Answer before = client.Get(c.path, c.conditional ? first.etag : QString());
        c.before(nginx);
        const hub::Answer answer = client.Get(c.path, c.conditional ? before.etag : QString());
        EXPECT_EQ(answer.kind, c.kind) << c.name << ": " << answer.problem;
        EXPECT_TRUE(Has(answer.problem, c.problem)) << c.name << ": " << answer.problem;
        if (c.kind == Kind::Body) {
            EXPECT_TRUE(answer.body.endsWith("***\r\n")) << c.name;
        }
    }
}

TEST(HubClient, APutIsReadBackAndAPutWhereOnlyReadingIsGrantedIsAProblem) {
    NginxServer nginx;
    nginx.AddUser("s1", "pw1");
    nginx.AddUser("ho", "pw0");
    nginx.Grant("/receipts/s1/", {"ho"}, {"s1"});
    nginx.Grant("/lists/s1/", {"s1"}, {"ho"});
    ASSERT_TRUE(nginx.Start()) << nginx.LastError();
    const QUrl url(QString::fromStdString(nginx.Url()));
    hub::HubClient store(url, As("s1", "pw1"));
    const hub::Answer put =
        store.Put("receipts/s1/COM2.plu.json", "{\"outcome\":\"done\"}", "application/json");
    EXPECT_TRUE(put.Ok()) << put.problem;
    EXPECT_EQ(hub::HubClient(url, As("ho", "pw0")).Get("receipts/s1/COM2.plu.json").body,
              "{\"outcome\":\"done\"}");
    const hub::Answer refused = store.Put("lists/s1/all.plu", "1\r\n***\r\n", "text/plain");
    EXPECT_FALSE(refused.Ok());
    EXPECT_EQ(refused.status, 401);
}

TEST(HubClient, AListOverTheLimitIsRefusedAndASilentHubEndsWithinItsBound) {
    NginxServer nginx;
    WriteServed(nginx, "lists/s1/big.plu", std::string(4000, 'x'));
    ASSERT_TRUE(nginx.Start()) << nginx.LastError();
    hub::ClientOptions small;
    small.sizeLimit = 1000;
    hub::HubClient client(QUrl(QString::fromStdString(nginx.Url())), small);
    const hub::Answer big = client.Get("lists/s1/big.plu");
    EXPECT_EQ(big.kind, hub::Answer::Kind::Failed);
    EXPECT_TRUE(Has(big.problem, "больше")) << big.problem;
    EXPECT_TRUE(big.body.isEmpty());

    // A hub that takes the connection and never answers.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    hub::ClientOptions quick;
    quick.timeoutMs = 300;
    hub::HubClient stuck(QUrl("http://127.0.0.1:" + QString::number(silent.serverPort())), quick);
    QElapsedTimer clock;
    clock.start();
    const hub::Answer none = stuck.Get("lists/s1/all.plu");
    EXPECT_EQ(none.kind, hub::Answer::Kind::Failed);
    EXPECT_TRUE(Has(none.problem, "не ответил за 0,3 с")) << none.problem;
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(HubClient, ARedirectIsNotFollowedAndAnAuthorityFileWithoutCertificatesIsNamed) {
    NginxServer nginx;
    std::filesystem::create_directories(nginx.Root() + "/lists/s1");
    ASSERT_TRUE(nginx.Start()) << nginx.LastError();
    // nginx sends a folder asked without its slash elsewhere.
    const hub::Answer moved =
        hub::HubClient(QUrl(QString::fromStdString(nginx.Url())), {}).Get("lists/s1");
    EXPECT_EQ(moved.kind, hub::Answer::Kind::Failed);
    EXPECT_TRUE(Has(moved.problem, "перенаправления не выполняются")) << moved.problem;

    hub::ClientOptions withCa;
    withCa.caFile = QString::fromStdString(nginx.Root() + "/none.pem");
    EXPECT_TRUE(Has(hub::HubClient(QUrl("https://hub.example.ru"), withCa).SetupProblem(),
                    "нет ни одного сертификата"));
}

// A hub on HTTPS with a certificate of its own, answering every request with "ok".
class TlsHub {
  public:
    TlsHub() {
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.setLocalCertificate(QSslCertificate::fromPath(Data("localhost-cert.pem")).value(0));
        QFile key(Data("localhost-key.pem"));
        key.open(QIODevice::ReadOnly);
        ssl.setPrivateKey(QSslKey(&key, QSsl::Rsa));
        server_.setSslConfiguration(ssl);
        QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [socket] {
                if (!socket->readAll().contains("\r\n\r\n")) return;
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
                socket->disconnectFromHost();
            });
        });
        server_.listen(QHostAddress::LocalHost);
    }
    QUrl Url() const { return QUrl("https://127.0.0.1:" + QString::number(server_.serverPort())); }
    static QString Data(const char* name) {
        return QString::fromLocal8Bit(qgetenv("QVSCALE_TEST_DATA")) + "/hub/" + name;
    }

  private:
    QSslServer server_;
};

TEST(HubClient, ACertificateNoAuthorityVouchesForIsRefusedAndTheChainsOwnAuthorityIsTaken) {
    TlsHub tls;
    struct Case {
        const char* name;
        QString ca;
        hub::Answer::Kind kind;
        const char* problem;
    };
    const Case cases[] = {
        {"the system's authorities only",
         {},
         hub::Answer::Kind::Failed,
         "Сертификат хаба не прошёл проверку: его выдал неизвестный удостоверяющий центр"},
        {"with --ca", TlsHub::Data("localhost-cert.pem"), hub::Answer::Kind::Body, ""},
    };
    for (const Case& c : cases) {
        hub::ClientOptions options;
        options.timeoutMs = 5000;
        options.caFile = c.ca;
        hub::HubClient client(tls.Url(), options);
        ASSERT_EQ(client.SetupProblem(), "") << c.name;
        const hub::Answer answer = client.Get("lists/s1/all.plu");
        EXPECT_EQ(answer.kind, c.kind) << c.name << ": " << answer.problem;
        EXPECT_TRUE(Has(answer.problem, c.problem)) << c.name << ": " << answer.problem;
        if (c.kind == hub::Answer::Kind::Body) {
            EXPECT_EQ(answer.body, "ok") << c.name;
        }
    }
}

}  // namespace
