#pragma once

#include "ui/columnfit.h"

#include <QObject>
#include <vector>

class QTableView;

// The columns of the server list: the ping shown beside the players, the
// Game, OS and Ping columns as wide as their texts need in the list's font
// (the Game column wider for a long game folder when there is room), and the
// list's width shared among the columns whenever it changes.
class ServerColumns : public QObject
{
    Q_OBJECT

public:
    // The list shows a ServerListModel (or a proxy of one). The list must
    // outlive this: its destruction sends its viewport events that would
    // reach a list half gone, so this goes first and takes its filters along.
    explicit ServerColumns(QTableView &list);
    ~ServerColumns() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void measure();
    void captionsAdded(int first, int last);
    bool takeCaption(const QString &caption);
    void fitGame();
    void refitGame();
    void fit();
    int cellWidth(const QString &text, bool withIcon) const;

    QTableView &list;
    std::vector<ColumnSpan> columnSpans;
    // The widest game code the classification gives, and the widest code or
    // folder listed, with their text widths in the list's font.
    QString knownCaption;
    int knownAdvance = -1;
    int knownGameWidth = 0;
    QString widestCaption;
    int widestAdvance = -1;
};
