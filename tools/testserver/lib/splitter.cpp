#include "splitter.h"

#include <QtEndian>

namespace {

QByteArray littleEndian(quint32 value, int size)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes.left(size);
}

} // namespace

int maxSplitParts(SplitLayout layout)
{
    // The GoldSrc header keeps number and total in the two halves of one byte.
    return layout == SplitLayout::GoldSrc ? 15 : 255;
}

QList<QByteArray> splitReply(const QByteArray &reply, const SplitConfig &split, quint32 id)
{
    if (reply.size() <= split.fragmentSize)
        return {reply};
    const int total = int((reply.size() + split.fragmentSize - 1) / split.fragmentSize);
    QList<QByteArray> parts;
    for (int number = 0; number < total; ++number) {
        QByteArray part = QByteArray("\xFE\xFF\xFF\xFF", 4) + littleEndian(id, 4);
        if (split.layout == SplitLayout::GoldSrc) {
            part += char((number << 4) | total);
        } else {
            part += char(total);
            part += char(number);
            part += littleEndian(quint32(split.fragmentSize), 2);
        }
        parts.append(part + reply.mid(qsizetype(number) * split.fragmentSize, split.fragmentSize));
    }
    return parts;
}
