#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

constexpr int DefaultQueryPort = 27015;
constexpr int DefaultQueryTimeoutMs = 1000;

// One thing to ask: a single host, or every address of a From-To range.
struct QueryTarget
{
    QString host;    // host name or dotted address; the From address of a range
    QString rangeTo; // empty for a single host
    int port = DefaultQueryPort;

    bool isRange() const { return !rangeTo.isEmpty(); }
    bool operator==(const QueryTarget &o) const
    {
        return host == o.host && rangeTo == o.rangeTo && port == o.port;
    }
};

struct QueryOptions
{
    int port = DefaultQueryPort;
    bool old = false;
    bool players = false;
    bool rules = false;
    int timeoutMs = DefaultQueryTimeoutMs;
    bool json = false;
    // Also broadcast through every network card, as a scan does.
    bool lan = false;
    QVector<QueryTarget> targets;
};

// Either the options, a request for the help or the version text, or the
// one-line reason why the arguments were refused.
struct ParsedQueryArgs
{
    enum Request { Query, Help, Version };

    Request request = Query;
    QueryOptions options;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// The arguments after the program name. A target without its own port gets
// the --port value, wherever --port stands. --help and --version answer
// whatever else is given, unless an error comes before them.
ParsedQueryArgs parseQueryArgs(const QStringList &args);

// The text of --help, as the manual page has it.
QString queryHelpText();
