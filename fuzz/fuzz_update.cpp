// The update record fetched over HTTP, on any bytes.
//
// Checks: a record is taken only from a reply of at most 1024 bytes that starts
// with "!@", and its download address is always a web address.
#include "fuzzsupport.h"

#include "update/updaterecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply = bytesOf(data, size);
    if (const auto record = parseUpdateRecord(reply)) {
        FUZZ_CHECK(reply.size() <= UpdateRecord::MaxSize && reply.startsWith("!@"));
        FUZZ_CHECK(isWebAddress(record->address));
        FUZZ_CHECK(!record->address.contains(QChar(0)));
    }
    isWebAddress(QString::fromUtf8(reply));
    return 0;
}
