#include "fuzzsupport.h"

#include <QCoreApplication>

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "vantor-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            return true;
    }
    return false;
}
