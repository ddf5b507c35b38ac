// TZVConnections: URL schemes, opening and closing Qt SQL connections by alias.
#include "platform/ZVConnections.h"

#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

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

QString errorText(const QSqlError& error)
{
    return error.text().simplified();
}

} // namespace

TZVConnections::TZVConnections()
{
    RegisterScheme(QStringLiteral("sqlite"), parseSqlite);
    const TZVUrlParser postgres = serverParser(QStringLiteral("QPSQL"), QStringLiteral("connect_timeout"));
    RegisterScheme(QStringLiteral("postgresql"), postgres);
    RegisterScheme(QStringLiteral("postgres"), postgres);
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
    throw EZvError(QLatin1String(kErrorUnknownDriver) + url);
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
    m_aliases.push_back({alias, connection});
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
    return QSqlDatabase::database(found->Connection, false);
}

} // namespace zorvel
