#pragma once
// GET and PUT against the chain's hub, each bounded: a time-out for connecting and for every
// wait on the answer, a size limit checked from Content-Length and again while reading. No
// redirect is followed and no certificate error is passed over. Runs on the calling thread's
// event loop (a QCoreApplication must exist).

#include <QByteArray>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <string>

#include "Credentials.h"

class QNetworkAccessManager;

namespace hub {

struct ClientOptions {
    int timeoutMs = 30'000;  // to connect, and for each wait on bytes of the answer
    int wholeMs = 600'000;   // for the whole request, so a trickle cannot hold a store
    qint64 sizeLimit = 64 * 1024 * 1024;
    QString caFile;  // extra authorities, besides the system's
    std::optional<Credentials> credentials;
};

struct Answer {
    enum class Kind {
        Body,         // 2xx: body and etag
        NotModified,  // 304 to a conditional GET
        Missing,      // 404
        Failed,       // anything else: problem says what, in the user's words
    };
    Kind kind = Kind::Failed;
    int status = 0;  // HTTP status, 0 when none came
    QByteArray body;
    QString etag;
    std::string problem;
    bool Ok() const { return kind != Kind::Failed; }
};

class HubClient {
  public:
    // base: the hub's URL; paths are taken relative to it.
    HubClient(const QUrl& base, ClientOptions options);
    ~HubClient();
    HubClient(const HubClient&) = delete;
    HubClient& operator=(const HubClient&) = delete;

    // Problem with --ca, found before any request; empty when none.
    const std::string& SetupProblem() const { return setupProblem_; }

    // etag: sent as If-None-Match when not empty.
    Answer Get(const QString& path, const QString& etag = {});
    Answer Put(const QString& path, const QByteArray& body, const QString& contentType);
    QUrl UrlOf(const QString& path) const;

  private:
    Answer Send(const QString& path, const QString& etag, const QByteArray* body,
                const QString& contentType);

    QUrl base_;
    ClientOptions options_;
    std::unique_ptr<QNetworkAccessManager> manager_;
    QSslConfiguration ssl_;
    std::string setupProblem_;
};

}  // namespace hub
