// TZVConnections: URL schemes, opening and closing Qt SQL connections by alias.
#include "platform/ZVConnections.h"

#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <cctype>

namespace zorvel {

namespace {

[[noreturn]] void invalidUrl(const QString& scheme)
{
    throw EZvError(QLatin1String(kErrorInvalidUrl) + scheme);
}

TZVConnectionSettings parseSqlite(const QString& url)
{
    QString path = url.section(u':', 1); // after "sqlite:"
    if (path.startsWith(u"//"))
        path.remove(0, 2);
    QString mode = QStringLiteral("rw");
    const qsizetype query = path.lastIndexOf(u'?');
    if (query >= 0) {
        const QString option = path.mid(query + 1);
        path.truncate(query);
        if (!option.startsWith(u"mode="))
            invalidUrl(QStringLiteral("sqlite"));
        mode = option.mid(5);
    }
    if (path.isEmpty() || (mode != u"rw" && mode != u"ro" && mode != u"rwc"))
        invalidUrl(QStringLiteral("sqlite"));
    TZVConnectionSettings settings;
    settings.Driver = QStringLiteral("QSQLITE");
    settings.DatabaseName = path;
    settings.MustExist = mode != u"rwc" && path != u":memory:";
    if (mode == u"ro")
        settings.ConnectOptions = QStringLiteral("QSQLITE_OPEN_READONLY");
    return settings;
}

TZVUrlParser serverParser(const QString& driver, const QString& timeoutOption)
{
    return [driver, timeoutOption](const QString& text) {
        const QUrl url(text, QUrl::StrictMode);
        const QString scheme = text.section(u':', 0, 0);
        if (!url.isValid() || url.host().isEmpty())
            invalidUrl(scheme);
        TZVConnectionSettings settings;
        settings.Driver = driver;
        settings.HostName = url.host();
        settings.Port = url.port(-1);
        settings.UserName = url.userName(QUrl::FullyDecoded);
        settings.Password = url.password(QUrl::FullyDecoded);
        settings.DatabaseName = url.path(QUrl::FullyDecoded).mid(1);
        if (settings.DatabaseName.isEmpty())
            invalidUrl(scheme);
        QStringList options;
        bool hasTimeout = false;
        for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
            options.append(key + u'=' + value);
            hasTimeout = hasTimeout || key == timeoutOption;
        }
        // Without a timeout an unreachable host holds the caller for minutes.
        if (!hasTimeout && !timeoutOption.isEmpty())
            options.append(timeoutOption + QStringLiteral("=10"));
        settings.ConnectOptions = options.join(u';');
        return settings;
    };
}

[[noreturn]] void invalidPostgresUrl(const QString& scheme, const QString& reason)
{
    throw EZvError(QLatin1String(kErrorInvalidUrl) + scheme + QStringLiteral(" : ") + reason);
}

// Percent escapes as the client library reads them: '+' stays '+', and a NUL byte is refused.
bool percentDecode(const QString& text, QString& decoded)
{
    QByteArray bytes;
    const QByteArray raw = text.toUtf8();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != '%') {
            bytes.append(raw[i]);
            continue;
        }
        if (i + 2 >= raw.size() || !isxdigit(static_cast<unsigned char>(raw[i + 1])) ||
            !isxdigit(static_cast<unsigned char>(raw[i + 2])))
            return false;
        const char byte = static_cast<char>(raw.mid(i + 1, 2).toInt(nullptr, 16));
        if (byte == '\0')
            return false;
        bytes.append(byte);
        i += 2;
    }
    decoded = QString::fromUtf8(bytes);
    return true;
}

// The client library's connection keywords; all but those with a field of their own are passed on.
const QStringList& postgresKeywords()
{
    static const QStringList keywords = {
        QStringLiteral("application_name"), QStringLiteral("channel_binding"),
        QStringLiteral("client_encoding"), QStringLiteral("connect_timeout"),
        QStringLiteral("fallback_application_name"), QStringLiteral("gssencmode"),
        QStringLiteral("gsslib"), QStringLiteral("hostaddr"),
        QStringLiteral("keepalives"), QStringLiteral("keepalives_count"),
        QStringLiteral("keepalives_idle"), QStringLiteral("keepalives_interval"),
        QStringLiteral("krbsrvname"), QStringLiteral("options"),
        QStringLiteral("passfile"), QStringLiteral("replication"),
        QStringLiteral("requirepeer"), QStringLiteral("requiressl"),
        QStringLiteral("service"), QStringLiteral("ssl_max_protocol_version"),
        QStringLiteral("ssl_min_protocol_version"), QStringLiteral("sslcert"),
        QStringLiteral("sslcompression"), QStringLiteral("sslcrl"),
        QStringLiteral("sslcrldir"), QStringLiteral("sslkey"),
        QStringLiteral("sslmode"), QStringLiteral("sslpassword"),
        QStringLiteral("sslrootcert"), QStringLiteral("sslsni"),
        QStringLiteral("target_session_attrs"), QStringLiteral("tcp_user_timeout"),
    };
    return keywords;
}

// keyword=value as the client library reads it; the driver turns every ';' into a space first.
QString postgresOption(const QString& key, const QString& value)
{
    static const QRegularExpression plain(QStringLiteral("^[^\\s'\\\\]+$"));
    if (plain.match(value).hasMatch())
        return key + u'=' + value;
    QString quoted = value;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return key + QStringLiteral("='") + quoted + u'\'';
}

// postgresql://[user[:password]@][host][:port][/dbname][?keyword=value&...], the client library's
// own URI form: an empty host means its default socket, a host starting with '/' a socket folder.
TZVConnectionSettings parsePostgres(const QString& text)
{
    const QString scheme = text.section(u':', 0, 0);
    QString rest = text.mid(scheme.size() + 1);
    if (!rest.startsWith(u"//"))
        invalidPostgresUrl(scheme, QStringLiteral("NO //"));
    rest.remove(0, 2);
    const auto decode = [&scheme](const QString& part, const QString& what) {
        QString decoded;
        if (!percentDecode(part, decoded))
            invalidPostgresUrl(scheme, QStringLiteral("BAD PERCENT ESCAPE IN ") + what);
        return decoded;
    };
    const auto readPort = [](const QString& port, const std::function<void(const QString&)>& invalid) {
        bool ok = false;
        const int value = port.toInt(&ok);
        if (!ok || value < 1 || value > 65535 || port.startsWith(u'+'))
            invalid(port);
        return value;
    };
    const auto invalidQueryPort = [&scheme](const QString& port) {
        invalidPostgresUrl(scheme, QStringLiteral("INVALID PORT ") + port);
    };

    // The user information ends at the last '@' before the path, so that a password may hold
    // '@', ':' and '?' as they are; a '/' in it must be written %2F, as for the client library.
    TZVConnectionSettings settings;
    settings.Driver = QStringLiteral("QPSQL");
    const qsizetype authorityEnd = rest.indexOf(u'/');
    qsizetype at = authorityEnd == 0 ? -1 : rest.lastIndexOf(u'@', authorityEnd < 0 ? -1 : authorityEnd - 1);
    // Without a path, an '@' after "?keyword=" belongs to the query.
    const qsizetype firstQuestion = rest.indexOf(u'?');
    const qsizetype firstEquals = firstQuestion < 0 ? -1 : rest.indexOf(u'=', firstQuestion);
    if (authorityEnd < 0 && firstQuestion >= 0 && firstEquals >= 0 && firstEquals < at)
        at = firstQuestion == 0 ? -1 : rest.lastIndexOf(u'@', firstQuestion - 1);
    const bool hasUserInfo = at >= 0;
    if (hasUserInfo) {
        const QString userInfo = rest.left(at);
        rest.remove(0, at + 1);
        const qsizetype colon = userInfo.indexOf(u':');
        settings.UserName = decode(userInfo.left(colon), QStringLiteral("USER"));
        if (colon >= 0)
            settings.Password = decode(userInfo.mid(colon + 1), QStringLiteral("PASSWORD"));
    }
    QString query;
    const qsizetype question = rest.indexOf(u'?');
    if (question >= 0) {
        query = rest.mid(question + 1);
        rest.truncate(question);
    }
    QString path;
    const qsizetype slash = rest.indexOf(u'/');
    if (slash >= 0) {
        path = rest.mid(slash + 1);
        rest.truncate(slash);
    }
    // What follows a raw '/' in a password would otherwise be read as the database name.
    if (path.contains(u'@'))
        invalidPostgresUrl(scheme, QStringLiteral("'@' AFTER THE HOST : WRITE '/' IN A PASSWORD AS %2F"));
    // Without user information "name:secret" may be a password whose '@host' was left out: the
    // port is named only when it cannot be one.
    static const QRegularExpression portDigits(QStringLiteral("^[0-9]{1,5}$"));
    const auto invalidPort = [&scheme, hasUserInfo](const QString& port) {
        const bool shown = hasUserInfo || portDigits.match(port).hasMatch();
        invalidPostgresUrl(scheme, QStringLiteral("INVALID PORT") + (shown ? u' ' + port : QString()));
    };
    QString host = rest;
    QString port;
    if (rest.startsWith(u'[')) {
        const qsizetype close = rest.indexOf(u']');
        if (close < 0)
            invalidPostgresUrl(scheme, QStringLiteral("UNCLOSED [ IN HOST"));
        host = rest.mid(1, close - 1);
        const QString after = rest.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(u':'))
            invalidPostgresUrl(scheme, QStringLiteral("UNEXPECTED TEXT AFTER HOST"));
        port = after.mid(1);
        if (after.startsWith(u':') && port.isEmpty())
            invalidPostgresUrl(scheme, QStringLiteral("INVALID PORT "));
    } else {
        const qsizetype colon = rest.lastIndexOf(u':');
        if (colon >= 0) {
            host = rest.left(colon);
            port = rest.mid(colon + 1);
            if (port.isEmpty())
                invalidPostgresUrl(scheme, QStringLiteral("INVALID PORT "));
        }
        host = decode(host, QStringLiteral("HOST"));
    }
    // One server: the driver takes a single port number.
    if (host.contains(u',') || port.contains(u','))
        invalidPostgresUrl(scheme, QStringLiteral("MORE THAN ONE HOST"));
    settings.HostName = host;
    if (!port.isEmpty())
        settings.Port = readPort(port, invalidPort);
    settings.DatabaseName = decode(path, QStringLiteral("DATABASE NAME"));

    QStringList options;
    bool hasTimeout = false;
    // A raw '&' in a password cuts it; the rest of it must not be shown as a parameter's name.
    bool afterPassword = false;
    const auto badParameter = [&scheme, &afterPassword](const QString& what, const QString& name) {
        invalidPostgresUrl(scheme, afterPassword ? what + QStringLiteral("AFTER password : WRITE '&' IN A PASSWORD AS %26")
                                                 : what + name.left(40));
    };
    for (const QString& item : query.split(u'&', Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals == 0)
            invalidPostgresUrl(scheme, QStringLiteral("PARAMETER WITHOUT NAME"));
        if (equals < 0)
            badParameter(QStringLiteral("PARAMETER WITHOUT VALUE "), item);
        QString key = decode(item.left(equals), QStringLiteral("PARAMETER NAME"));
        QString value = decode(item.mid(equals + 1), QStringLiteral("PARAMETER ") + key);
        // As the client library reads URIs: ssl=true asks for an encrypted connection.
        if (key == u"ssl" && value == u"true") {
            key = QStringLiteral("sslmode");
            value = QStringLiteral("require");
        }
        if (key == u"host") {
            if (value.contains(u','))
                invalidPostgresUrl(scheme, QStringLiteral("MORE THAN ONE HOST"));
            settings.HostName = value;
        } else if (key == u"port") {
            settings.Port = readPort(value, invalidQueryPort);
        } else if (key == u"dbname") {
            settings.DatabaseName = value;
        } else if (key == u"user") {
            settings.UserName = value;
        } else if (key == u"password") {
            settings.Password = value;
        } else if (postgresKeywords().contains(key)) {
            if (value.contains(u';'))
                invalidPostgresUrl(scheme, QStringLiteral("';' IN PARAMETER ") + key);
            options.append(postgresOption(key, value));
            hasTimeout = hasTimeout || key == u"connect_timeout";
        } else {
            badParameter(QStringLiteral("UNKNOWN PARAMETER "), key);
        }
        afterPassword = key == u"password";
    }
    // Without a timeout an unreachable host holds the caller for minutes.
    if (!hasTimeout)
        options.append(QStringLiteral("connect_timeout=10"));
    settings.ConnectOptions = options.join(u';');
    return settings;
}

QString errorText(const QSqlError& error)
{
    return error.text().simplified();
}

} // namespace

TZVConnections::TZVConnections()
{
    RegisterScheme(QStringLiteral("sqlite"), parseSqlite);
    RegisterScheme(QStringLiteral("postgresql"), parsePostgres);
    RegisterScheme(QStringLiteral("postgres"), parsePostgres);
    const TZVUrlParser mysql = serverParser(QStringLiteral("QMYSQL"), QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT"));
    RegisterScheme(QStringLiteral("mysql"), mysql);
    RegisterScheme(QStringLiteral("mariadb"), mysql);
}

TZVConnections::~TZVConnections()
{
    for (const TAlias& alias : m_aliases)
        closeConnection(alias.Connection);
}

TZVConnections& TZVConnections::Default()
{
    // Never destroyed: Qt's connection list may be gone by the time static objects die.
    static TZVConnections* connections = new TZVConnections;
    return *connections;
}

void TZVConnections::RegisterScheme(const QString& scheme, TZVUrlParser parser)
{
    for (TScheme& s : m_schemes) {
        if (s.Name.compare(scheme, Qt::CaseInsensitive) == 0) {
            s.Parser = std::move(parser);
            return;
        }
    }
    m_schemes.push_back({scheme, std::move(parser)});
}

QStringList TZVConnections::Schemes() const
{
    QStringList names;
    for (const TScheme& s : m_schemes)
        names.append(s.Name);
    return names;
}

TZVConnectionSettings TZVConnections::ParseUrl(const QString& url) const
{
    // Two letters at least, so that a drive letter is not taken for a scheme.
    static const QRegularExpression schemePattern(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    const QRegularExpressionMatch match = schemePattern.match(url);
    if (match.hasMatch()) {
        const QString scheme = match.captured(1);
        for (const TScheme& s : m_schemes)
            if (s.Name.compare(scheme, Qt::CaseInsensitive) == 0)
                return s.Parser(url);
        // The rest of the URL may hold a password: name only the scheme.
        throw EZvError(QLatin1String(kErrorUnknownDriver) + scheme);
    }
    static const QRegularExpression sqliteFile(QStringLiteral("\\.(db|sqlite|sqlite3)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (sqliteFile.match(url).hasMatch())
        return parseSqlite(QStringLiteral("sqlite:") + url);
    // A file path is shown whole; anything with credentials only up to where they may start.
    const bool credentials = url.contains(u'@') || url.contains(QStringLiteral("//"));
    throw EZvError(QLatin1String(kErrorUnknownDriver) + (credentials ? url.section(u':', 0, 0).section(u'@', 0, 0) : url));
}

const TZVConnections::TAlias* TZVConnections::find(const QString& alias) const
{
    for (const TAlias& a : m_aliases)
        if (a.Name.compare(alias, Qt::CaseInsensitive) == 0)
            return &a;
    return nullptr;
}

void TZVConnections::closeConnection(const QString& connection)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

void TZVConnections::Add(const QString& alias, const QString& url)
{
    const TZVConnectionSettings settings = ParseUrl(url);
    const auto fail = [&alias](const QString& reason) {
        throw EZvError(QLatin1String(kErrorCantOpenDataSet) + QStringLiteral(" : ") + alias + QStringLiteral(" : ") +
                       reason);
    };
    if (alias.isEmpty())
        fail(QStringLiteral("NO ALIAS NAME"));
    if (!QSqlDatabase::isDriverAvailable(settings.Driver))
        fail(QStringLiteral("DRIVER %1 NOT AVAILABLE").arg(settings.Driver));
    if (settings.MustExist && !QFileInfo(settings.DatabaseName).isFile())
        fail(QStringLiteral("NO FILE ") + settings.DatabaseName);

    const QString connection =
        QStringLiteral("zorvel:%1:%2").arg(reinterpret_cast<quintptr>(this), 0, 16).arg(++m_opened);
    bool opened = false;
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(settings.Driver, connection);
        db.setDatabaseName(settings.DatabaseName);
        db.setHostName(settings.HostName);
        db.setPort(settings.Port);
        db.setUserName(settings.UserName);
        db.setPassword(settings.Password);
        db.setConnectOptions(settings.ConnectOptions);
        opened = db.open();
        if (!opened)
            failure = errorText(db.lastError());
    }
    if (!opened) {
        QSqlDatabase::removeDatabase(connection);
        fail(failure.isEmpty() ? QStringLiteral("UNKNOWN ERROR") : failure);
    }
    Remove(alias);
    m_aliases.push_back({alias, connection, QThread::currentThread()});
}

void TZVConnections::Remove(const QString& alias)
{
    const TAlias* found = find(alias);
    if (!found)
        return;
    const QString connection = found->Connection;
    std::erase_if(m_aliases, [&connection](const TAlias& a) { return a.Connection == connection; });
    closeConnection(connection);
}

bool TZVConnections::Contains(const QString& alias) const
{
    return find(alias) != nullptr;
}

QStringList TZVConnections::AliasNames() const
{
    QStringList names;
    for (const TAlias& a : m_aliases)
        names.append(a.Name);
    return names;
}

QStringList TZVConnections::TableNames(const QString& alias) const
{
    const QSqlDatabase db = Database(alias);
    QStringList names = db.tables(QSql::Tables) + db.tables(QSql::Views);
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

QSqlDatabase TZVConnections::Database(const QString& alias) const
{
    const TAlias* found = find(alias);
    if (!found)
        throw EZvError(QLatin1String(kErrorUnknownAlias) + alias);
    // Qt would hand out an invalid connection, which then fails as "Driver not loaded".
    if (found->Thread != QThread::currentThread())
        throw EZvError(QLatin1String(kErrorOtherThread) + alias);
    return QSqlDatabase::database(found->Connection, false);
}

} // namespace zorvel
