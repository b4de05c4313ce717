#include "HubClient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

namespace hub {

namespace {

std::string Seconds(int ms) {
    const int tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + (tenths % 10 ? "," + std::to_string(tenths % 10) : "") +
           " с";
}

// What became of a request besides its reply's own error.
struct Watch {
    bool timedOut = false;
    bool tooLarge = false;
    QStringList sslErrors;
};

// The causes a store meets, in its words; any other in Qt's.
QString CertificateProblem(const QSslError& e) {
    switch (e.error()) {
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
            return QStringLiteral("его выдал неизвестный удостоверяющий центр");
        case QSslError::CertificateExpired:
            return QStringLiteral("срок действия сертификата истёк");
        case QSslError::CertificateNotYetValid:
            return QStringLiteral("срок действия сертификата ещё не начался");
        case QSslError::HostNameMismatch:
            return QStringLiteral("сертификат выдан другому адресу");
        default:
            return e.errorString();
    }
}

// An ETag goes back in a header: one that could end the header or is out of reason is not kept.
QString TakenEtag(const QByteArray& etag) {
    if (etag.size() > 256) return {};
    for (const char c : etag)
        if (c < 0x20 || c > 0x7e) return {};
    return QString::fromLatin1(etag);
}

std::string HttpProblem(int status, const QString& path, const QNetworkReply& reply) {
    const std::string code = "HTTP " + std::to_string(status);
    const std::string where = path.toStdString();
    if (status == 401)
        return "Хаб не принял учётные данные (" + code + "): проверьте файл --credentials";
    if (status == 403) return "Хаб отказал в доступе к " + where + " (" + code + ")";
    if (status >= 300 && status < 400)
        return "Хаб перенаправляет " + where + " (" + code + ") на " +
               reply.rawHeader("Location").toStdString() +
               ": перенаправления не выполняются, задайте --hub с новым адресом";
    if (status == 413) return "Хаб не принял " + where + ": слишком большой (" + code + ")";
    return "Хаб ответил ошибкой на " + where + " (" + code + ")";
}

std::string NetworkProblem(const QNetworkReply& reply, const Watch& watch, const ClientOptions& o) {
    if (watch.timedOut) return "Хаб не ответил за " + Seconds(o.timeoutMs);
    if (watch.tooLarge)
        return "Ответ хаба больше " + std::to_string(o.sizeLimit / (1024 * 1024)) +
               " МБ: не принят";
    if (reply.error() == QNetworkReply::SslHandshakeFailedError || !watch.sslErrors.isEmpty()) {
        const QString why = watch.sslErrors.isEmpty() ? reply.errorString()
                                                      : watch.sslErrors.join(QStringLiteral("; "));
        return "Сертификат хаба не прошёл проверку: " + why.toStdString() +
               ". Соединение не установлено; свой удостоверяющий центр сети задаётся --ca ФАЙЛ";
    }
    return "Хаб недоступен: " + reply.errorString().toStdString();
}

}  // namespace

HubClient::HubClient(const QUrl& base, ClientOptions options)
    : base_(base), options_(std::move(options)), manager_(new QNetworkAccessManager) {
    manager_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    manager_->setAutoDeleteReplies(false);
    ssl_ = QSslConfiguration::defaultConfiguration();
    if (!options_.caFile.isEmpty()) {
        const QList<QSslCertificate> authorities =
            QSslCertificate::fromPath(options_.caFile, QSsl::Pem);
        if (authorities.isEmpty())
            setupProblem_ = "В файле --ca " + options_.caFile.toStdString() +
                            " нет ни одного сертификата (нужен PEM)";
        ssl_.addCaCertificates(authorities);
    }
}

HubClient::~HubClient() = default;

QUrl HubClient::UrlOf(const QString& path) const {
    QUrl url = base_;
    QString prefix = url.path();
    if (!prefix.endsWith('/')) prefix += '/';
    url.setPath(prefix + path);
    return url;
}

Answer HubClient::Get(const QString& path, const QString& etag) {
    return Send(path, etag, nullptr, {});
}

Answer HubClient::Put(const QString& path, const QByteArray& body, const QString& contentType) {
    return Send(path, {}, &body, contentType);
}

Answer HubClient::Send(const QString& path, const QString& etag, const QByteArray* body,
                       const QString& contentType) {
    QNetworkRequest request(UrlOf(path));
    request.setSslConfiguration(ssl_);
    request.setHeader(QNetworkRequest::UserAgentHeader, "qvscale-cli/" QVSCALE_VERSION);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    if (options_.credentials)
        request.setRawHeader("Authorization", options_.credentials->authorization);
    if (!etag.isEmpty()) request.setRawHeader("If-None-Match", etag.toUtf8());
    if (body) request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    std::unique_ptr<QNetworkReply> reply(body ? manager_->put(request, *body)
                                              : manager_->get(request));

    Watch watch;
    QByteArray received;
    QEventLoop loop;
    QTimer quiet;  // no byte either way for timeoutMs
    quiet.setSingleShot(true);
    const auto giveUp = [&](bool& flag) {
        flag = true;
        reply->abort();
    };
    QObject::connect(&quiet, &QTimer::timeout, [&] { giveUp(watch.timedOut); });
    const auto moved = [&] { quiet.start(options_.timeoutMs); };
    QObject::connect(reply.get(), &QNetworkReply::uploadProgress, moved);
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, [&] {
        moved();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > options_.sizeLimit) giveUp(watch.tooLarge);
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, [&] {
        moved();
        received += reply->read(options_.sizeLimit + 1 - received.size());
        if (received.size() > options_.sizeLimit) giveUp(watch.tooLarge);
    });
    QObject::connect(reply.get(), &QNetworkReply::sslErrors, [&](const QList<QSslError>& errors) {
        for (const QSslError& e : errors)
            if (!watch.sslErrors.contains(CertificateProblem(e)))
                watch.sslErrors << CertificateProblem(e);
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    moved();
    // The whole request's bound; it goes with the loop when the reply is in.
    QTimer::singleShot(options_.wholeMs, &loop, [&] { giveUp(watch.timedOut); });
    if (!reply->isFinished()) loop.exec();
    if (!watch.tooLarge && !watch.timedOut)
        received += reply->read(options_.sizeLimit + 1 - received.size());
    if (received.size() > options_.sizeLimit) watch.tooLarge = true;

    Answer answer;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (watch.timedOut || watch.tooLarge || !status.isValid()) {
        answer.problem = NetworkProblem(*reply, watch, options_);
        return answer;
    }
    answer.status = status.toInt();
    answer.etag = TakenEtag(reply->rawHeader("ETag"));
    if (answer.status == 304 && !etag.isEmpty()) {
        answer.kind = Answer::Kind::NotModified;
    } else if (answer.status == 404 && !body) {
        answer.kind = Answer::Kind::Missing;
    } else if (answer.status >= 200 && answer.status < 300) {
        answer.kind = Answer::Kind::Body;
        answer.body = received;
    } else {
        answer.problem = HttpProblem(answer.status, path, *reply);
    }
    return answer;
}

}  // namespace hub
