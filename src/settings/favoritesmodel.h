#pragma once

#include "settings/settingsmodel.h"

#include "settings/sortedtablemodel.h"

// The favourites as a two-column table (host text, port text) over the
// settings model's list, which stays their one store: the sweep and the
// auto-scan read that list directly.
class FavoritesModel : public SortedTableModel
{
    Q_OBJECT

public:
    enum Column { ColumnHost, ColumnPort, ColumnCount };
    // A host text shorter than this is no address.
    static constexpr int MinHostLength = 4;

    explicit FavoritesModel(QVector<FavoriteRow> &favorites, QObject *parent = nullptr);

    // Appends host:port typed by the user. Returns the refusal ("Bad address"
    // for a host under four characters or an empty port, "This address is
    // already exist" for a listed pair), or an empty text when it was added.
    QString add(const QString &host, const QString &port);
    // The same for a row of the server list, whose address needs no check.
    QString addListed(const QString &host, const QString &port);
    // Same host and same port text, compared exactly.
    bool contains(const QString &host, const QString &port) const;
    // Removes a row; false when there is no such row.
    bool remove(int row);

    // Remembers the column as the sort column and sorts the rows by its text
    // once, ascending, ignoring letter case.
    void sortByColumn(int column);

    // The list was replaced underneath (the configuration was loaded).
    void reload();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString append(const QString &host, const QString &port);
    static QString columnText(const FavoriteRow &row, int column);

    QVector<FavoriteRow> &m_favorites;
};
