#pragma once

#include <QString>

struct ServerRow;

// The quick filter over the server list: a text that the name, map or address
// must hold, and three kinds of server to leave out. The default lets every
// row through.
struct ServerFilter
{
    QString text;
    bool hideEmpty = false;
    bool hideFull = false;
    bool hidePassword = false;

    bool operator==(const ServerFilter &o) const
    {
        return text == o.text && hideEmpty == o.hideEmpty && hideFull == o.hideFull && hidePassword == o.hidePassword;
    }
};

// Whether the row stays in view. The text is found anywhere in the name, the
// map or the address, in any letter case; a text with a colon is also looked
// for in "address:port", so a copied address finds its row. Empty means no
// players, full means no free place, password means the padlock.
bool filterAccepts(const ServerFilter &filter, const ServerRow &row);
