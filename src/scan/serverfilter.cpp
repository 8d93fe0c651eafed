#include "scan/serverfilter.h"

#include "scan/serverlistmodel.h"

bool filterAccepts(const ServerFilter &filter, const ServerRow &row)
{
    if (filter.hideEmpty && row.players == 0)
        return false;
    if (filter.hideFull && row.players >= row.maxPlayers)
        return false;
    if (filter.hidePassword && row.password == 1)
        return false;
    const QString &text = filter.text;
    if (text.isEmpty())
        return true;
    if (row.name.contains(text, Qt::CaseInsensitive) || row.map.contains(text, Qt::CaseInsensitive)
        || row.address.contains(text, Qt::CaseInsensitive))
        return true;
    return text.contains(u':')
        && (row.address + u':' + row.portText).contains(text, Qt::CaseInsensitive);
}
