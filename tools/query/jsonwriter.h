#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Compact JSON written straight into bytes, byte for byte what QJsonDocument
// prints for the same values: a tool run lists hundreds of servers, and
// building a QJsonObject for each cost more than the rest of the output.
// Keys are written in the order given; callers give them sorted, as
// QJsonObject keeps them.
class JsonWriter
{
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // A key of the object being written: plain ASCII that needs no escaping.
    void key(const char *name);
    void value(const QString &text);
    void value(qint64 number);
    void null();
    // A key and its value; an empty optional is null.
    void field(const char *name, const QString &text) {
        key(name);
        value(text);
    }
    void field(const char *name, qint64 number) {
        key(name);
        value(number);
    }
    void field(const char *name, std::optional<qint64> number);

    const QByteArray &bytes() const { return out; }

private:
    void beforeValue();

    QByteArray out;
    std::vector<bool> firstInLevel;
    bool afterKey = false;
};

// `text` as a JSON string with its quotes, escaped as QJsonDocument does.
void appendJsonString(QByteArray &out, QStringView text);
